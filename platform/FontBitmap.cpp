#include "FontBitmap.h"

#include <algorithm>

namespace platform {

TGrayBitmap TGrayBitmap::Blank(int32_t width, int32_t height) {
  TGrayBitmap bitmap;
  bitmap.Width = std::max(width, 0);
  bitmap.Height = std::max(height, 0);
  bitmap.Pixels.assign(static_cast<std::size_t>(bitmap.Width) * bitmap.Height, 0);
  return bitmap;
}

void TGrayBitmap::Fill(int32_t left, int32_t top, int32_t width, int32_t height, uint8_t value) {
  const int32_t x0 = std::max(left, 0);
  const int32_t y0 = std::max(top, 0);
  const int32_t x1 = std::min(left + width, Width);
  const int32_t y1 = std::min(top + height, Height);
  for (int32_t y = y0; y < y1; ++y) {
    std::fill_n(Pixels.begin() + static_cast<std::ptrdiff_t>(y) * Width + x0, std::max(x1 - x0, 0),
                value);
  }
}

void TGrayBitmap::BlendMax(const TGrayBitmap& source, int32_t x, int32_t y) {
  for (int32_t sy = 0; sy < source.Height; ++sy) {
    for (int32_t sx = 0; sx < source.Width; ++sx) {
      if (!Contains(x + sx, y + sy)) continue;
      uint8_t& target = Pixels[static_cast<std::size_t>(y + sy) * Width + (x + sx)];
      target = std::max(target, source.At(sx, sy));
    }
  }
}

}  // namespace platform
