#include "VexelFont.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "VexelScreen.h"

namespace vexel {
namespace {

// Splits text at line breaks: CR LF, a lone CR and a lone LF each end a line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

uint32_t PackArgb(int32_t alpha, int32_t red, int32_t green, int32_t blue) {
  return static_cast<uint32_t>(alpha & 0xFF) << 24 | static_cast<uint32_t>(red & 0xFF) << 16 |
         static_cast<uint32_t>(green & 0xFF) << 8 | static_cast<uint32_t>(blue & 0xFF);
}

}  // namespace

TVexelFont::TVexelFont(const platform::TFontSystem& fonts) : Fonts_(fonts) {}

TVexelFont::~TVexelFont() {
  if (VexelScreen_) VexelScreen_->RemoveClient(this);
}

void TVexelFont::SetVexelScreen(TVexelScreen* screen) {
  if (screen == VexelScreen_) return;
  if (VexelScreen_) VexelScreen_->RemoveClient(this);
  VexelScreen_ = screen;
  if (VexelScreen_) VexelScreen_->AddClient(this);
  DeviceRestore();
}

void TVexelFont::DeviceRestore() {
  Cache_.reset();
  if (Face_ && VexelScreen_ && VexelScreen_->Device()) {
    Cache_ = std::make_unique<platform::TFontGlyphCache>(*Face_, *VexelScreen_->Device());
  }
}

bool TVexelFont::SetFont(const std::string& faceName, int32_t size,
                         const platform::TFontStyle& style) {
  FontName_ = faceName;
  Size_ = size;
  Style_ = style;
  SetColor(0xFFFFFFFF);
  Cache_.reset();
  Face_ =
      Fonts_.Open(platform::TFontRequest{faceName, platform::PointsToPixels(size), style, true});
  DeviceRestore();
  return true;
}

void TVexelFont::SetColor(uint32_t argb) {
  Color = argb;
  Alpha = static_cast<uint8_t>(argb >> 24);
  Red = static_cast<uint8_t>(argb >> 16);
  Green = static_cast<uint8_t>(argb >> 8);
  Blue = static_cast<uint8_t>(argb);
}

void TVexelFont::TextOut(int32_t x, int32_t y, const std::string& text) {
  TextOut(x, y, text, Red, Green, Blue, Alpha);
}

void TVexelFont::TextOut(int32_t x, int32_t y, const std::string& text, int32_t red, int32_t green,
                         int32_t blue, int32_t alpha) {
  if (!Face_ || !Cache_ || !VexelScreen_ || !VexelScreen_->Device()) return;
  Cache_->Prepare(text);
  // Text always blends as normal alpha; the screen's mode is put back afterwards.
  const int32_t previousMode = VexelScreen_->CurrentBlendMode();
  VexelScreen_->SetBlendMode(0);
  VexelScreen_->SetDestBlend(TBlendFactor::InvSrcAlpha);
  const uint32_t color = PackArgb(alpha, red, green, blue);
  int32_t selectedPage = -1;
  int32_t lineTop = y;
  for (const std::string_view line : SplitLines(text)) {
    int32_t pen = x;
    for (const char c : line) {
      const auto byte = static_cast<uint8_t>(c);
      DrawGlyph(Cache_->Glyph(byte), pen, lineTop, color, selectedPage);
      pen += Face_->Advance(byte);
    }
    DrawBars(x, lineTop, pen - x, color, selectedPage);
    lineTop += Face_->LineHeight();
  }
  VexelScreen_->SetBlendMode(previousMode);
}

void TVexelFont::DrawGlyph(const platform::TCachedGlyph& glyph, int32_t penX, int32_t lineTop,
                           uint32_t color, int32_t& selectedPage) {
  if (glyph.Page < 0) return;
  if (glyph.Page != selectedPage) {
    VexelScreen_->SetTexture(Cache_->PageTexture(glyph.Page));
    selectedPage = glyph.Page;
  }
  // Pixel centres lie on whole coordinates: the quad's edges are half a pixel outside them, so
  // each texel lands on one pixel.
  const float left = static_cast<float>(penX + glyph.Left) - 0.5f;
  const float top = static_cast<float>(lineTop + glyph.Top) - 0.5f;
  const float right = left + static_cast<float>(glyph.Width);
  const float bottom = top + static_cast<float>(glyph.Height);
  TVertex quad[4] = {{left, top, 0, 1, color, glyph.U0, glyph.V0},
                     {right, top, 0, 1, color, glyph.U1, glyph.V0},
                     {right, bottom, 0, 1, color, glyph.U1, glyph.V1},
                     {left, bottom, 0, 1, color, glyph.U0, glyph.V1}};
  VexelScreen_->DrawVertices(quad, 4);
}

void TVexelFont::DrawBars(int32_t left, int32_t lineTop, int32_t width, uint32_t color,
                          int32_t& selectedPage) {
  if (width <= 0) return;
  if (Style_.Underline) {
    DrawGlyph(Cache_->SolidBar(0, Face_->UnderlineTop(), width, Face_->UnderlineThickness()), left,
              lineTop, color, selectedPage);
  }
  if (Style_.StrikeOut) {
    DrawGlyph(Cache_->SolidBar(0, Face_->StrikeOutTop(), width, Face_->StrikeOutThickness()), left,
              lineTop, color, selectedPage);
  }
}

int32_t TVexelFont::TextWidth(const std::string& text) const {
  if (!Face_) return 0;
  int32_t widest = 0;
  for (const std::string_view line : SplitLines(text)) {
    widest = std::max(widest, Face_->TextExtent(line).Width);
  }
  return widest;
}

int32_t TVexelFont::TextHeight(const std::string& text) const {
  if (!Face_) return 0;
  return static_cast<int32_t>(SplitLines(text).size()) * Face_->LineHeight();
}

}  // namespace vexel
