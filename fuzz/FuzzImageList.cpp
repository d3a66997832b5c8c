// fuzz_image_list: image-list files (".oil") as the game loads its picture lists: the stream is
// read into a collection, then every entry's picture is decoded into a texture.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzScreen.h"
#include "engine/ImageListFile.h"
#include "engine/VexelImageList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::TFuzzScreen& display = fuzz::TFuzzScreen::Instance();
  vexel::TVexelImageList images;
  images.SetVexelScreen(&display.Screen());
  std::string error;
  vexel::ReadImageListStream(std::vector<uint8_t>(data, data + size), images.ImageList, error);
  images.Prepare();
  images.SetVexelScreen(nullptr);
  display.ForgetCalls();
  return 0;
}
