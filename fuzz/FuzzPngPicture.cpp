// fuzz_png_picture: PNG bytes as the picture of an image-list entry, taken the way the game
// takes them: written into an image-list stream, read back, sized from the header and decoded
// into a texture.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzScreen.h"
#include "engine/ImageListFile.h"
#include "engine/VexelImageList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vexel::TImageListFileEntry entry;
  entry.Name = "picture";
  entry.Picture.Kind = vexel::TPicture::TKind::Png;
  entry.Picture.Data.assign(data, data + size);
  entry.Transparent = true;
  entry.TransparentColorName = "clFuchsia";
  const std::vector<uint8_t> stream = vexel::WriteImageListFile({entry});

  fuzz::TFuzzScreen& display = fuzz::TFuzzScreen::Instance();
  vexel::TVexelImageList images;
  images.SetVexelScreen(&display.Screen());
  std::string error;
  vexel::ReadImageListStream(stream, images.ImageList, error);
  images.Prepare();
  images.SetVexelScreen(nullptr);
  display.ForgetCalls();
  return 0;
}
