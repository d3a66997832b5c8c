#pragma once
// A PNG picture read into memory for checking generated art.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace arttest {

/// One pixel with straight (not premultiplied) alpha, components 0..255.
struct Rgba {
  int R = 0;
  int G = 0;
  int B = 0;
  int A = 0;
};

/// A rectangle of pixels: left, top, width, height.
struct Area {
  int X = 0;
  int Y = 0;
  int W = 0;
  int H = 0;
};

/// A decoded PNG picture with the measurements the art checks use.
class PngImage {
 public:
  /// Reads the file; Valid() is false when it cannot be decoded.
  explicit PngImage(const std::filesystem::path& file);

  /// True when the file was decoded.
  bool Valid() const { return Width > 0; }
  /// The pixel at (x, y), which must lie inside the picture.
  Rgba At(int x, int y) const;
  /// Mean luminance 0..255 over the area, each pixel weighted by its alpha (so
  /// transparent pixels count as black).
  double MeanLuminance(const Area& area) const;
  /// Mean saturation 0..1 of the area's pixels that are at least half opaque.
  double MeanSaturation(const Area& area) const;
  /// Share 0..1 of the area's pixels whose alpha is at least minAlpha.
  double OpaqueShare(const Area& area, int minAlpha) const;

  int Width = 0;
  int Height = 0;

 private:
  std::vector<Rgba> Pixels_;
};

/// The area of cell index of a picture cut into cells of w x h, counted row by row.
Area CellArea(const PngImage& image, int w, int h, int index);

}  // namespace arttest
