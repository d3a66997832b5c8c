#pragma once
// A screenshot the game wrote, read back for pixel checks.

#include <cstdint>
#include <string>
#include <vector>

namespace testgame {

/// The pixels (0xAARRGGBB, top row first) of a PNG screenshot.
struct TScreenshot {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;

  /// Reads a screenshot; a missing or damaged file fails the running test and gives no pixels.
  static TScreenshot Load(const std::string& path);
  /// The pixel at x, y.
  uint32_t At(int32_t x, int32_t y) const {
    return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
  }
  /// The red, green and blue channels of the pixel at x, y.
  int R(int32_t x, int32_t y) const { return static_cast<int>((At(x, y) >> 16) & 0xFF); }
  int G(int32_t x, int32_t y) const { return static_cast<int>((At(x, y) >> 8) & 0xFF); }
  int B(int32_t x, int32_t y) const { return static_cast<int>(At(x, y) & 0xFF); }
};

}  // namespace testgame
