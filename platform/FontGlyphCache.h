#pragma once
// Glyphs of a system font kept in textures, so text is drawn as textured quads.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "FontBitmap.h"
#include "FontFace.h"
#include "engine/DisplayDevice.h"

namespace platform {

/// Where a cached glyph lies: its atlas page, its texture rectangle and its place relative to
/// the pen (Left right of the pen, Top below the top of the line). Page −1: nothing to draw.
struct TCachedGlyph {
  int32_t Page = -1;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  float U0 = 0;
  float V0 = 0;
  float U1 = 0;
  float V1 = 0;
};

/// The glyphs of one font for one graphics device: each character is rasterised once, the first
/// time a text needs it, into a square atlas page (white, coverage in alpha) whose texture is
/// made again only when glyphs were added. Page 0 also holds a small solid block for bars.
class TFontGlyphCache {
 public:
  /// An empty cache for the font on the device; both must outlive it.
  TFontGlyphCache(const TFontFace& face, vexel::TDisplayDevice& device);

  /// Makes sure every character of the text has its glyph in an uploaded page.
  void Prepare(const std::string& text);
  /// The glyph of a character (Page −1 until prepared, and for blanks).
  const TCachedGlyph& Glyph(uint8_t byte) const { return Glyphs_[byte]; }
  /// The texture of a page, or none.
  const vexel::TTexture* PageTexture(int32_t page) const;
  /// A solid rectangle of the given size placed relative to the pen, for underline and
  /// strike-out bars.
  TCachedGlyph SolidBar(int32_t left, int32_t top, int32_t width, int32_t height);
  /// Side of the square pages in texels.
  int32_t PageSide() const { return Side_; }
  /// How many textures the cache has made so far.
  int32_t TexturesMade() const { return TexturesMade_; }

 private:
  struct TPage {
    TGrayBitmap Coverage;
    int32_t ShelfX = 0;
    int32_t ShelfY = 0;
    int32_t ShelfHeight = 0;
    bool Dirty = true;
    std::shared_ptr<vexel::TTexture> Texture;
  };

  void AddGlyph(uint8_t byte);
  bool Place(TPage& page, int32_t width, int32_t height, int32_t& x, int32_t& y) const;
  TPage& NewPage();
  void Upload();

  const TFontFace& Face_;
  vexel::TDisplayDevice& Device_;
  int32_t Side_ = 0;
  std::array<TCachedGlyph, 256> Glyphs_{};
  std::array<bool, 256> Rasterised_{};
  std::vector<TPage> Pages_;
  int32_t TexturesMade_ = 0;
};

}  // namespace platform
