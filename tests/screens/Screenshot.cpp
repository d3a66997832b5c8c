#include "Screenshot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/ImageFile.h"

namespace testgame {

TScreenshot TScreenshot::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  TScreenshot shot;
  std::string error;
  EXPECT_TRUE(
      platform::DecodePng(bytes.data(), bytes.size(), shot.Width, shot.Height, shot.Pixels, error))
      << path << ": " << error;
  return shot;
}

}  // namespace testgame
