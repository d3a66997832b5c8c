#pragma once
// Value types of the system-font layer: what a font is asked for, what fontconfig picked for it,
// and how big a text is.

#include <array>
#include <cstdint>
#include <string>

namespace platform {

/// Style of a system font: weight and decorations.
struct TFontStyle {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  bool operator==(const TFontStyle&) const = default;
};

/// What a system font is asked for: a face name, its em height in pixels and its style.
struct TFontRequest {
  std::string Face;
  int32_t PixelHeight = 16;
  TFontStyle Style;
  /// Greyscale edges (true) or plain black-and-white glyphs.
  bool Antialiased = true;
};

/// The font file fontconfig picked for a request, and the synthetic styling it asks for.
struct TFontMatch {
  std::string File;
  int32_t Index = 0;
  std::string Family;
  /// The file is lighter than the bold asked for: glyphs are emboldened.
  bool Embolden = false;
  /// The file is upright where italic was asked for: glyphs are slanted by Matrix.
  bool Slant = false;
  /// Transformation xx, xy, yx, yy applied to slanted glyphs.
  std::array<double, 4> Matrix{1, 0, 0, 1};
};

/// Width and height of a text in pixels.
struct TTextExtent {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TTextExtent&) const = default;
};

/// Number × numerator ÷ denominator in 64 bits, rounded half away from zero (0 when the
/// denominator is 0).
int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator);

/// A point size as pixels at the given resolution (96 dots per inch on this platform).
int32_t PointsToPixels(int32_t points, int32_t dotsPerInch = 96);

}  // namespace platform
