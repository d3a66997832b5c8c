#include "MenuScreen.h"

namespace game {

TMenuScreen::TMenuScreen(vexel::TVexelSprite& engine, vexel::TVexelImageList& images, bool visible,
                         int32_t alpha, const std::string& name, const std::string& key, int32_t z,
                         float y, float x)
    : vexel::TSprite(engine), Images_(images) {
  SetX(x);
  SetY(y);
  SetZ(z);
  ShowImage(key);
  SetAlpha(alpha);
  Visible = visible;
  IgnoreCamera = true;  // a panel of the screen, also over a race whose view has moved
  SetName(name);
}

void TMenuScreen::ShowImage(const std::string& key) {
  vexel::TImageListItem* item = Images_.ImageList.Find(key);
  if (!item) return;
  SetImage(item);
  SetWidth(item->ImageWidth);
  SetHeight(item->ImageHeight);
  SetX(X());
  SetY(Y());
}

}  // namespace game
