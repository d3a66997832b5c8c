#include "FontGlyphCache.h"

#include <algorithm>
#include <bit>

namespace platform {
namespace {

// Pixels left empty around each glyph so that filtered sampling never reaches a neighbour.
constexpr int32_t kPadding = 1;
// Side of the solid block at the top-left of page 0.
constexpr int32_t kSolidSide = 4;
// A page holds about this many lines of glyphs.
constexpr int32_t kLinesPerPage = 8;
constexpr int32_t kMinPageSide = 64;
constexpr int32_t kMaxPageSide = 2048;

std::vector<uint32_t> WhiteTexels(const TGrayBitmap& coverage) {
  std::vector<uint32_t> texels(coverage.Pixels.size());
  std::transform(coverage.Pixels.begin(), coverage.Pixels.end(), texels.begin(), [](uint8_t alpha) {
    return alpha == 0 ? 0u : static_cast<uint32_t>(alpha) << 24 | 0xFFFFFFu;
  });
  return texels;
}

}  // namespace

TFontGlyphCache::TFontGlyphCache(const TFontFace& face, vexel::TDisplayDevice& device)
    : Face_(face), Device_(device) {
  const auto wanted = static_cast<uint32_t>(std::max(face.LineHeight(), 1) * kLinesPerPage);
  const int32_t largest = std::clamp(device.MaxTextureSize(), kMinPageSide, kMaxPageSide);
  Side_ = std::clamp(static_cast<int32_t>(std::bit_ceil(wanted)), kMinPageSide, largest);
}

const vexel::TTexture* TFontGlyphCache::PageTexture(int32_t page) const {
  if (page < 0 || page >= static_cast<int32_t>(Pages_.size())) return nullptr;
  return Pages_[page].Texture.get();
}

void TFontGlyphCache::Prepare(const std::string& text) {
  for (const char c : text) {
    const auto byte = static_cast<uint8_t>(c);
    if (!Rasterised_[byte]) AddGlyph(byte);
  }
  Upload();
}

TCachedGlyph TFontGlyphCache::SolidBar(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (Pages_.empty()) NewPage();
  Upload();
  // Every corner samples the middle of the solid block, so the bar is evenly covered.
  const float centre = (kSolidSide / 2.0f) / static_cast<float>(Side_);
  return TCachedGlyph{0, left, top, width, height, centre, centre, centre, centre};
}

void TFontGlyphCache::AddGlyph(uint8_t byte) {
  Rasterised_[byte] = true;
  const TGlyphImage image = Face_.RenderGlyph(byte);
  const int32_t w = image.Bitmap.Width;
  const int32_t h = image.Bitmap.Height;
  if (w == 0 || h == 0 || w + 2 * kPadding > Side_ || h + 2 * kPadding > Side_) return;
  int32_t x = 0;
  int32_t y = 0;
  if (Pages_.empty() || !Place(Pages_.back(), w, h, x, y)) Place(NewPage(), w, h, x, y);
  TPage& page = Pages_.back();
  page.Coverage.BlendMax(image.Bitmap, x, y);
  page.Dirty = true;
  const auto side = static_cast<float>(Side_);
  Glyphs_[byte] = TCachedGlyph{static_cast<int32_t>(Pages_.size()) - 1,
                               image.Left,
                               image.Top,
                               w,
                               h,
                               static_cast<float>(x) / side,
                               static_cast<float>(y) / side,
                               static_cast<float>(x + w) / side,
                               static_cast<float>(y + h) / side};
}

bool TFontGlyphCache::Place(TPage& page, int32_t width, int32_t height, int32_t& x,
                            int32_t& y) const {
  // Glyphs go left to right on shelves; a glyph that does not fit opens the next shelf.
  if (page.ShelfX + width + kPadding > Side_) {
    page.ShelfY += page.ShelfHeight;
    page.ShelfX = kPadding;
    page.ShelfHeight = 0;
  }
  if (page.ShelfY + height + kPadding > Side_) return false;
  x = page.ShelfX;
  y = page.ShelfY;
  page.ShelfX += width + kPadding;
  page.ShelfHeight = std::max(page.ShelfHeight, height + kPadding);
  return true;
}

TFontGlyphCache::TPage& TFontGlyphCache::NewPage() {
  TPage page;
  page.Coverage = TGrayBitmap::Blank(Side_, Side_);
  page.ShelfX = kPadding;
  page.ShelfY = kPadding;
  if (Pages_.empty()) {
    page.Coverage.Fill(0, 0, kSolidSide, kSolidSide, 255);
    page.ShelfX = kSolidSide + kPadding;
    page.ShelfHeight = kSolidSide;
  }
  Pages_.push_back(std::move(page));
  return Pages_.back();
}

void TFontGlyphCache::Upload() {
  for (auto& page : Pages_) {
    if (!page.Dirty) continue;
    page.Texture = Device_.CreateTexture(Side_, Side_, WhiteTexels(page.Coverage));
    page.Dirty = false;
    ++TexturesMade_;
  }
}

}  // namespace platform
