#pragma once
// An 8-bit intensity image: what the system-font layer rasterises text into.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

/// A grey-level image, row by row from the top: 0 is background, 255 full text coverage.
struct TGrayBitmap {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Pixels;

  /// Makes a black image of the given size (negative sizes count as 0).
  static TGrayBitmap Blank(int32_t width, int32_t height);
  /// Whether (x, y) lies inside the image.
  bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  /// The intensity at (x, y), which must lie inside.
  uint8_t At(int32_t x, int32_t y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
  /// Sets the intensity of the pixels of a rectangle, clipped to the image.
  void Fill(int32_t left, int32_t top, int32_t width, int32_t height, uint8_t value);
  /// Draws another image at (x, y), keeping the brighter of the two at each pixel; clipped.
  void BlendMax(const TGrayBitmap& source, int32_t x, int32_t y);
};

}  // namespace platform
