#include "VexelImageList.h"

#include "VexelScreen.h"

namespace vexel {

TVexelImageList::~TVexelImageList() {
  if (VexelScreen) VexelScreen->RemoveClient(this);
}

void TVexelImageList::SetVexelScreen(TVexelScreen* screen) {
  if (screen == VexelScreen) return;
  if (VexelScreen) VexelScreen->RemoveClient(this);
  VexelScreen = screen;
  if (VexelScreen) VexelScreen->AddClient(this);
}

void TVexelImageList::Prepare() {
  Renderer.Bind(VexelScreen);
  if (!VexelScreen || !VexelScreen->Device()) return;
  for (int32_t i = 0; i < ImageList.Count(); ++i) ImageList.Items(i)->Restore();
}

void TVexelImageList::Unprepare(bool releaseTextures) {
  for (int32_t i = 0; i < ImageList.Count(); ++i) {
    TImageListItem* item = ImageList.Items(i);
    item->Renderer = nullptr;
    item->Device = nullptr;
    if (releaseTextures) item->Texture.reset();
  }
}

void TVexelImageList::ReleaseTextures(const std::function<bool(const std::string& name)>& unused) {
  for (int32_t i = 0; i < ImageList.Count(); ++i) {
    TImageListItem* item = ImageList.Items(i);
    if (unused(item->Name)) item->ReleaseTexture();
  }
}

}  // namespace vexel
