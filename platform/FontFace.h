#pragma once
// One system font at one pixel size: measures and rasterises code page 1251 text.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "FontBitmap.h"
#include "FontTypes.h"

namespace platform {

/// The glyph of one character, rasterised: its coverage and where it sits relative to the pen
/// (Left pixels right of the pen, Top pixels below the top of the line).
struct TGlyphImage {
  int32_t Left = 0;
  int32_t Top = 0;
  TGrayBitmap Bitmap;
};

/// A font file opened with FreeType at one em height, with the style it was asked for. Text is
/// 8-bit code page 1251; each byte is one character, placed at whole-pixel advances without
/// kerning. Control characters (below the space) have no glyph and no width; characters the
/// file lacks are drawn with its missing-glyph shape.
class TFontFace {
 public:
  /// Opens the matched file at the requested size; none when FreeType cannot use it.
  static std::unique_ptr<TFontFace> Open(FT_Library library, const TFontMatch& match,
                                         const TFontRequest& request);
  ~TFontFace();
  TFontFace(const TFontFace&) = delete;
  TFontFace& operator=(const TFontFace&) = delete;

  /// The file and face fontconfig picked.
  const TFontMatch& Match() const { return Match_; }
  /// The request the face was opened for.
  const TFontRequest& Request() const { return Request_; }
  /// Pixels from the top of a line to the baseline.
  int32_t Ascent() const { return Ascent_; }
  /// Pixels from the baseline to the bottom of a line.
  int32_t Descent() const { return Descent_; }
  /// Height of one line: ascent plus descent.
  int32_t LineHeight() const { return Ascent_ + Descent_; }
  /// Horizontal advance of one character in pixels.
  int32_t Advance(uint8_t byte) const { return Advances_[byte]; }
  /// Whether the file has a glyph of its own for the character.
  bool HasGlyph(uint8_t byte) const;
  /// Width (sum of advances) and height (line height) of one line of text.
  TTextExtent TextExtent(std::string_view text) const;
  /// Rasterises the glyph of one character (an empty bitmap for blanks and control characters).
  TGlyphImage RenderGlyph(uint8_t byte) const;
  /// Draws one line of text with its top-left corner at (x, y), with the underline and
  /// strike-out bars of the style; with an opaque background the text's extent is cleared
  /// first. Drawing is clipped to the bitmap.
  void DrawText(TGrayBitmap& target, int32_t x, int32_t y, const std::string& text,
                bool opaqueBackground) const;
  /// Offset of the underline bar below the top of the line.
  int32_t UnderlineTop() const { return UnderlineTop_; }
  /// Thickness of the underline bar.
  int32_t UnderlineThickness() const { return UnderlineThickness_; }
  /// Offset of the strike-out bar below the top of the line.
  int32_t StrikeOutTop() const { return StrikeOutTop_; }
  /// Thickness of the strike-out bar.
  int32_t StrikeOutThickness() const { return StrikeOutThickness_; }

 private:
  TFontFace(FT_Face face, const TFontMatch& match, const TFontRequest& request);
  bool LoadGlyph(uint8_t byte) const;
  void MeasureLines();
  void MeasureAdvances();

  FT_Face Face_;
  TFontMatch Match_;
  TFontRequest Request_;
  int32_t LoadFlags_ = 0;
  int32_t Ascent_ = 0;
  int32_t Descent_ = 0;
  int32_t UnderlineTop_ = 0;
  int32_t UnderlineThickness_ = 1;
  int32_t StrikeOutTop_ = 0;
  int32_t StrikeOutThickness_ = 1;
  std::array<int32_t, 256> Advances_{};
};

}  // namespace platform
