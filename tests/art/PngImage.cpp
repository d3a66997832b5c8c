#include "PngImage.h"

#include <cairo.h>

#include <algorithm>

namespace arttest {

PngImage::PngImage(const std::filesystem::path& file) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(file.string().c_str());
  const cairo_format_t format = cairo_image_surface_get_format(s);
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS &&
      (format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24)) {
    const int w = cairo_image_surface_get_width(s);
    const int h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    Pixels_.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
      for (int x = 0; x < w; ++x) {
        const uint32_t p = row[x];
        const int a = format == CAIRO_FORMAT_RGB24 ? 255 : static_cast<int>(p >> 24);
        const auto straight = [a](uint32_t c) {
          return a == 0 ? 0 : std::min(255, static_cast<int>((c & 0xFF) * 255 + a / 2) / a);
        };
        Pixels_.push_back({straight(p >> 16), straight(p >> 8), straight(p), a});
      }
    }
    Width = w;
    Height = h;
  }
  cairo_surface_destroy(s);
}

Rgba PngImage::At(int x, int y) const {
  return Pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                 static_cast<std::size_t>(x)];
}

double PngImage::MeanLuminance(const Area& area) const {
  double sum = 0;
  for (int y = area.Y; y < area.Y + area.H; ++y) {
    for (int x = area.X; x < area.X + area.W; ++x) {
      const Rgba p = At(x, y);
      sum += (0.2126 * p.R + 0.7152 * p.G + 0.0722 * p.B) * p.A / 255.0;
    }
  }
  return sum / (static_cast<double>(area.W) * area.H);
}

double PngImage::MeanSaturation(const Area& area) const {
  double sum = 0;
  int count = 0;
  for (int y = area.Y; y < area.Y + area.H; ++y) {
    for (int x = area.X; x < area.X + area.W; ++x) {
      const Rgba p = At(x, y);
      if (p.A < 128) continue;
      const int hi = std::max({p.R, p.G, p.B});
      const int lo = std::min({p.R, p.G, p.B});
      sum += hi == 0 ? 0.0 : static_cast<double>(hi - lo) / hi;
      ++count;
    }
  }
  return count == 0 ? 0.0 : sum / count;
}

double PngImage::OpaqueShare(const Area& area, int minAlpha) const {
  int count = 0;
  for (int y = area.Y; y < area.Y + area.H; ++y) {
    for (int x = area.X; x < area.X + area.W; ++x) {
      if (At(x, y).A >= minAlpha) ++count;
    }
  }
  return static_cast<double>(count) / (static_cast<double>(area.W) * area.H);
}

Area CellArea(const PngImage& image, int w, int h, int index) {
  const int columns = image.Width / w;
  return {(index % columns) * w, (index / columns) * h, w, h};
}

}  // namespace arttest
