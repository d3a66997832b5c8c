#include "FontFace.h"

#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

#include "CodePage1251.h"

namespace platform {
namespace {

// Em heights are kept within what a texture atlas and the screen can sensibly hold.
constexpr int32_t kMinPixelHeight = 1;
constexpr int32_t kMaxPixelHeight = 512;

int32_t RoundPixels(FT_Pos value26) {
  return static_cast<int32_t>((value26 + 32) >> 6);
}

FT_Fixed ToFixed(double value) {
  return static_cast<FT_Fixed>(std::lround(value * 65536.0));
}

TGrayBitmap CopyCoverage(const FT_Bitmap& source) {
  TGrayBitmap bitmap =
      TGrayBitmap::Blank(static_cast<int32_t>(source.width), static_cast<int32_t>(source.rows));
  for (int32_t y = 0; y < bitmap.Height; ++y) {
    const unsigned char* row = source.buffer + static_cast<std::ptrdiff_t>(y) * source.pitch;
    for (int32_t x = 0; x < bitmap.Width; ++x) {
      const bool mono = source.pixel_mode == FT_PIXEL_MODE_MONO;
      const uint8_t value = mono ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0) : row[x];
      bitmap.Pixels[static_cast<std::size_t>(y) * bitmap.Width + x] = value;
    }
  }
  return bitmap;
}

}  // namespace

std::unique_ptr<TFontFace> TFontFace::Open(FT_Library library, const TFontMatch& match,
                                           const TFontRequest& request) {
  FT_Face face = nullptr;
  if (!library || match.File.empty() ||
      FT_New_Face(library, match.File.c_str(), match.Index, &face) != 0) {
    return nullptr;
  }
  const int32_t pixels = std::clamp(request.PixelHeight, kMinPixelHeight, kMaxPixelHeight);
  if (!FT_IS_SCALABLE(face) || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 ||
      FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  return std::unique_ptr<TFontFace>(new TFontFace(face, match, request));
}

TFontFace::TFontFace(FT_Face face, const TFontMatch& match, const TFontRequest& request)
    : Face_(face), Match_(match), Request_(request) {
  LoadFlags_ = FT_LOAD_NO_BITMAP | static_cast<int32_t>(request.Antialiased ? FT_LOAD_TARGET_NORMAL
                                                                            : FT_LOAD_TARGET_MONO);
  if (match.Slant) {
    FT_Matrix matrix{ToFixed(match.Matrix[0]), ToFixed(match.Matrix[1]), ToFixed(match.Matrix[2]),
                     ToFixed(match.Matrix[3])};
    FT_Set_Transform(Face_, &matrix, nullptr);
  }
  MeasureLines();
  MeasureAdvances();
}

TFontFace::~TFontFace() {
  FT_Done_Face(Face_);
}

void TFontFace::MeasureLines() {
  // Line metrics follow the Windows ascent and descent of the file when it has them, so that a
  // line is as tall as the system's own text measuring makes it.
  const FT_Size_Metrics& metrics = Face_->size->metrics;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(Face_, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    Ascent_ = RoundPixels(FT_MulFix(os2->usWinAscent, metrics.y_scale));
    Descent_ = RoundPixels(FT_MulFix(os2->usWinDescent, metrics.y_scale));
  } else {
    Ascent_ = static_cast<int32_t>((metrics.ascender + 63) >> 6);
    Descent_ = static_cast<int32_t>((-metrics.descender + 63) >> 6);
  }
  const int32_t em = static_cast<int32_t>(metrics.y_ppem);
  UnderlineThickness_ =
      std::max(1, RoundPixels(FT_MulFix(Face_->underline_thickness, metrics.y_scale)));
  const int32_t underlineCentre =
      Ascent_ - RoundPixels(FT_MulFix(Face_->underline_position, metrics.y_scale));
  UnderlineTop_ =
      std::min(underlineCentre - UnderlineThickness_ / 2, LineHeight() - UnderlineThickness_);
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    StrikeOutThickness_ = std::max(1, RoundPixels(FT_MulFix(os2->yStrikeoutSize, metrics.y_scale)));
    StrikeOutTop_ = Ascent_ - RoundPixels(FT_MulFix(os2->yStrikeoutPosition, metrics.y_scale));
  } else {
    StrikeOutThickness_ = UnderlineThickness_;
    StrikeOutTop_ = Ascent_ - (em * 3) / 10;
  }
}

void TFontFace::MeasureAdvances() {
  for (int byte = 0x20; byte < 256; ++byte) {
    const auto b = static_cast<uint8_t>(byte);
    Advances_[b] = LoadGlyph(b) ? RoundPixels(Face_->glyph->advance.x) : 0;
  }
}

bool TFontFace::LoadGlyph(uint8_t byte) const {
  const char32_t codePoint = UnicodeOf1251(byte);
  const FT_UInt index = codePoint != 0 ? FT_Get_Char_Index(Face_, codePoint) : 0;
  if (FT_Load_Glyph(Face_, index, LoadFlags_) != 0) return false;
  if (Match_.Embolden) FT_GlyphSlot_Embolden(Face_->glyph);
  return true;
}

bool TFontFace::HasGlyph(uint8_t byte) const {
  const char32_t codePoint = UnicodeOf1251(byte);
  return byte >= 0x20 && codePoint != 0 && FT_Get_Char_Index(Face_, codePoint) != 0;
}

TTextExtent TFontFace::TextExtent(std::string_view text) const {
  TTextExtent extent{0, LineHeight()};
  for (const char c : text) extent.Width += Advances_[static_cast<uint8_t>(c)];
  return extent;
}

TGlyphImage TFontFace::RenderGlyph(uint8_t byte) const {
  TGlyphImage glyph;
  if (byte < 0x20 || !LoadGlyph(byte)) return glyph;
  const auto mode = Request_.Antialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO;
  if (FT_Render_Glyph(Face_->glyph, mode) != 0) return glyph;
  glyph.Left = Face_->glyph->bitmap_left;
  glyph.Top = Ascent_ - Face_->glyph->bitmap_top;
  glyph.Bitmap = CopyCoverage(Face_->glyph->bitmap);
  return glyph;
}

void TFontFace::DrawText(TGrayBitmap& target, int32_t x, int32_t y, const std::string& text,
                         bool opaqueBackground) const {
  const TTextExtent extent = TextExtent(text);
  if (opaqueBackground) target.Fill(x, y, extent.Width, extent.Height, 0);
  int32_t pen = x;
  for (const char c : text) {
    const auto byte = static_cast<uint8_t>(c);
    const TGlyphImage glyph = RenderGlyph(byte);
    target.BlendMax(glyph.Bitmap, pen + glyph.Left, y + glyph.Top);
    pen += Advances_[byte];
  }
  if (Request_.Style.Underline) {
    target.Fill(x, y + UnderlineTop_, extent.Width, UnderlineThickness_, 255);
  }
  if (Request_.Style.StrikeOut) {
    target.Fill(x, y + StrikeOutTop_, extent.Width, StrikeOutThickness_, 255);
  }
}

}  // namespace platform
