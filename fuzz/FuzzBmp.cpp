// fuzz_bmp: the BMP decoder on any bytes; a decoded picture must hold exactly its pixels.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/BmpDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> argb;
  std::string error;
  if (!vexel::DecodeBmp(data, size, width, height, argb, error)) return 0;
  if (width <= 0 || height <= 0 || argb.size() != static_cast<size_t>(width) * height) abort();
  return 0;
}
