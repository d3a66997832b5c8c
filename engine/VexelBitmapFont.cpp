#include "VexelBitmapFont.h"

#include <algorithm>
#include <cmath>

#include "VexelImageList.h"
#include "VexelScreen.h"

namespace vexel {
namespace {

// The largest generated texture, whatever the device allows, and the largest side asked for.
constexpr int32_t kMaxGeneratedSide = 4096;
constexpr int64_t kMaxWantedSide = int64_t{1} << 30;
// Gap in pixels between generated cells.
constexpr int32_t kCellGap = 2;
constexpr uint8_t kCarriageReturn = 13;
constexpr uint8_t kSpace = 0x20;

// Rounds to the nearest whole number, halves to the even neighbour.
int32_t RoundHalfEven(double value) {
  return static_cast<int32_t>(std::nearbyint(value));
}

uint32_t PackArgb(int32_t alpha, int32_t red, int32_t green, int32_t blue) {
  return static_cast<uint32_t>(alpha & 0xFF) << 24 | static_cast<uint32_t>(red & 0xFF) << 16 |
         static_cast<uint32_t>(green & 0xFF) << 8 | static_cast<uint32_t>(blue & 0xFF);
}

// Side of a generated texture before the device's limit: from the cell area with fixed cells,
// from the point size otherwise.
int32_t GeneratedSide(size_t charCount, int32_t size, bool fixedCells) {
  if (!fixedCells) return size > 40 ? 1024 : size <= 20 ? 256 : 512;
  const double cell = static_cast<double>(size) + 1;
  const double area = static_cast<double>(charCount) * 2 * cell * cell;
  const double wanted = std::nearbyint(std::sqrt(area));
  int64_t side = 1;
  while (static_cast<double>(side) < wanted && side < kMaxWantedSide) side *= 2;
  return static_cast<int32_t>(side);
}

// White texels whose alpha is the top four bits of the coverage, widened to eight bits.
std::vector<uint32_t> FourBitTexels(const platform::TGrayBitmap& bitmap) {
  std::vector<uint32_t> texels(bitmap.Pixels.size());
  std::transform(bitmap.Pixels.begin(), bitmap.Pixels.end(), texels.begin(), [](uint8_t value) {
    const uint32_t alpha = value >> 4;
    return alpha == 0 ? 0u : (alpha * 17) << 24 | 0xFFFFFFu;
  });
  return texels;
}

std::string DefaultCharacterSet() {
  std::string set;
  for (int c = 0x20; c <= 0x40; ++c) set += static_cast<char>(c);
  set +=
      "\xDF\xD4\xC9\xD6\xDB\xD7\xD1\xC2\xD3\xCA\xC0\xCC\xC8\xCF\xC5\xCD\xD0\xD2\xDC\xCE\xC3"
      "\xD8\xCB\xC1\xDE\xC4\xD9\xC7\xC6\xA8\xDA\xD5\xDD";
  for (int c = 0x5B; c <= 0x60; ++c) set += static_cast<char>(c);
  set +=
      "\xE9\xF4\xFF\xF7\xFB\xF6\xF3\xE2\xF1\xEC\xE0\xEA\xE5\xEF\xE8\xF2\xF0\xED\xE3\xEE\xFC"
      "\xE1\xEB\xF8\xF9\xE4\xFE\xE6\xE7\xB8\xFA\xF5\xFD";
  for (int c = 0x7B; c <= 0x7E; ++c) set += static_cast<char>(c);
  // The Latin letters come last, so the cells above keep their numbers.
  for (int c = 'A'; c <= 'Z'; ++c) set += static_cast<char>(c);
  for (int c = 'a'; c <= 'z'; ++c) set += static_cast<char>(c);
  return set;
}

// Places the cells of the first chars.size() mod 256 bytes row by row in a texture of the
// given width, two pixels apart, calling place(byte, x, y, extent) for each.
template <class TPlace>
void LayOutCells(const platform::TFontFace& face, const std::string& chars, bool fixedCells,
                 bool italic, int32_t side, TPlace place) {
  const platform::TTextExtent cell = face.TextExtent(fixedCells ? "W" : "a");
  const bool slanted = italic && !fixedCells;
  int32_t x = 0;
  int32_t y = 0;
  const size_t count = chars.size() % 256;
  for (size_t k = 0; k < count; ++k) {
    platform::TTextExtent extent = fixedCells ? cell : face.TextExtent(chars.substr(k, 1));
    if (slanted) {
      extent.Width += 1;
      extent.Height += 2;
    }
    if (x + extent.Width + kCellGap > side) {
      y += extent.Height + kCellGap;
      x = 0;
    }
    place(static_cast<uint8_t>(chars[k]), x, y, extent);
    x += extent.Width + kCellGap;
  }
}

// Whether every cell lies inside a square texture of the given side.
bool CellsFit(const platform::TFontFace& face, const std::string& chars, bool fixedCells,
              bool italic, int32_t side) {
  bool fit = true;
  LayOutCells(face, chars, fixedCells, italic, side,
              [&](uint8_t, int32_t, int32_t y, const platform::TTextExtent& extent) {
                if (y + extent.Height + 1 > side) fit = false;
              });
  return fit;
}

}  // namespace

const std::string& DefaultCharacters() {
  static const std::string kSet = DefaultCharacterSet();
  return kSet;
}

TVexelBitmapFont::TVexelBitmapFont(const platform::TFontSystem& fonts) : Fonts_(fonts) {
  CharMap_.fill(-1);
}

TVexelBitmapFont::~TVexelBitmapFont() {
  if (VexelScreen_) VexelScreen_->RemoveClient(this);
}

void TVexelBitmapFont::SetVexelScreen(TVexelScreen* screen) {
  if (screen == VexelScreen_) return;
  if (VexelScreen_) VexelScreen_->RemoveClient(this);
  VexelScreen_ = screen;
  if (VexelScreen_) VexelScreen_->AddClient(this);
}

TDisplayDevice* TVexelBitmapFont::Device() const {
  return VexelScreen_ ? VexelScreen_->Device() : nullptr;
}

void TVexelBitmapFont::SetImageIndex(int32_t value) {
  if (value < 0) return;
  VexelImageIndex_ = value;
  if (!VexelImageList_ || value >= VexelImageList_->ImageList.Count()) return;
  TImageListItem& item = *VexelImageList_->ImageList.Items(value);
  Generated_ = false;
  FontName_ = item.Name;
  SizeScale_ = 1;
  GeneratedTexture_.reset();
  CellWidth_ = item.TileWidth;
  CellHeight_ = item.TileHeight;
  const auto textureWidth = static_cast<float>(item.GetTextureWidth());
  const auto textureHeight = static_cast<float>(item.GetTextureHeight());
  const int32_t columns = CellWidth_ > 0 ? item.ImageWidth / CellWidth_ : 0;
  const int32_t count = columns * (CellHeight_ > 0 ? item.ImageHeight / CellHeight_ : 0);
  for (int32_t i = 0; i < 256; ++i) {
    CharSize_[i] = TCharSize{CellWidth_, CellHeight_};
    const int32_t j = i > count ? count : i;
    const int32_t left = columns > 0 ? CellWidth_ * (j % columns) : 0;
    const int32_t top = columns > 0 ? CellHeight_ * (j / columns) : 0;
    CharUV_[i] =
        TCharUV{static_cast<float>(left) / textureWidth, static_cast<float>(top) / textureHeight,
                static_cast<float>(left + CellWidth_) / textureWidth,
                static_cast<float>(top + CellHeight_) / textureHeight};
  }
}

void TVexelBitmapFont::SetImageList(TVexelImageList* list) {
  if (list == VexelImageList_) return;
  VexelImageList_ = list;
  if (VexelImageList_) SetImageIndex(VexelImageIndex_);
}

void TVexelBitmapFont::SetCharacters(const std::string& value) {
  Characters_ = value.empty() ? DefaultCharacters() : value;
  CharMap_.fill(-1);
  // From the last byte to the first, so the first occurrence of a repeated byte wins.
  for (auto k = static_cast<int32_t>(Characters_.size()) - 1; k >= 0; --k) {
    CharMap_[static_cast<uint8_t>(Characters_[k])] = k;
  }
  if (CharMap_[kSpace] == -1) CharMap_[kSpace] = 0;
}

void TVexelBitmapFont::GenerateFont(const std::string& faceName, const std::string& wanted,
                                    int32_t flags, int32_t size) {
  TDisplayDevice* device = Device();
  if (!device) return;
  const std::string& chars = wanted.empty() ? DefaultCharacters() : wanted;
  GeneratedTexture_.reset();
  FontName_ = faceName;
  SizeScale_ = 1;
  const bool fixedCells = (flags & gfFixedCells) != 0;
  const bool italic = (flags & gfItalic) != 0;
  int32_t side = GeneratedSide(chars.size(), size, fixedCells);
  const int32_t largest = std::min(device->MaxTextureSize(), kMaxGeneratedSide);
  if (largest < side) {
    SizeScale_ = static_cast<float>(largest) / static_cast<float>(side);
    side = largest;
  }
  const platform::TFontRequest request{
      faceName, platform::MulDiv(size, static_cast<int32_t>(96 * SizeScale_), 72),
      platform::TFontStyle{(flags & gfBold) != 0, italic, (flags & gfUnderline) != 0,
                           (flags & gfStrikeOut) != 0},
      (flags & gfPlainQuality) == 0};
  auto face = Fonts_.Open(request);
  // A side too small for the cells (many characters at a small size) grows while it may.
  while (face && side * 2 <= largest && !CellsFit(*face, chars, fixedCells, italic, side)) {
    side *= 2;
  }
  GenTextureWidth_ = GenTextureHeight_ = side;
  auto bitmap = platform::TGrayBitmap::Blank(side, side);
  if (face) RenderCells(*face, chars, fixedCells, italic, bitmap);
  GeneratedTexture_ = device->CreateTexture(side, side, FourBitTexels(bitmap));
  // Without a system font the texture stays blank and the cell tables stay as they were.
  if (!face) return;
  Generated_ = true;
  SetCharacters(chars);
  for (int32_t i = 0; i < 256; ++i) CharMap_[i] = i;
}

void TVexelBitmapFont::RenderCells(const platform::TFontFace& face, const std::string& chars,
                                   bool fixedCells, bool italic, platform::TGrayBitmap& bitmap) {
  const platform::TTextExtent cell = face.TextExtent(fixedCells ? "W" : "a");
  CellWidth_ = cell.Width;
  CellHeight_ = cell.Height;
  const bool slanted = italic && !fixedCells;
  const auto side = static_cast<float>(bitmap.Width);
  LayOutCells(face, chars, fixedCells, italic, bitmap.Width,
              [&](uint8_t c, int32_t x, int32_t y, const platform::TTextExtent& extent) {
                face.DrawText(bitmap, x, y, std::string(1, static_cast<char>(c)), true);
                CharSize_[c] = TCharSize{extent.Width, extent.Height};
                const int32_t rightPad = slanted ? -1 : 1;
                CharUV_[c] = TCharUV{static_cast<float>(x) / side, static_cast<float>(y) / side,
                                     static_cast<float>(x + extent.Width + rightPad) / side,
                                     static_cast<float>(y + extent.Height + 1) / side};
              });
}

const TTexture* TVexelBitmapFont::CurrentTexture() const {
  if (Generated_) return GeneratedTexture_.get();
  if (!VexelImageList_ || VexelImageIndex_ >= VexelImageList_->ImageList.Count()) return nullptr;
  return VexelImageList_->ImageList.Items(VexelImageIndex_)->Texture.get();
}

void TVexelBitmapFont::TextOut(float x, float y, float rotation, float scaleX, float scaleY,
                               uint32_t color1, uint32_t color2, uint32_t color3, uint32_t color4,
                               const std::string& text, int32_t blendMode) {
  Renderer_.SetTexture(CurrentTexture());
  float penX = x;
  float penY = y;
  if (PositionMode == TBitmapFontPositionMode::pmCenter) {
    penX =
        x - static_cast<float>(RoundHalfEven(static_cast<double>(text.size()) * 0.5 * CellWidth_));
    penY = y - static_cast<float>(RoundHalfEven(CellHeight_ * 0.25));
  }
  if (blendMode != -1 && VexelScreen_) VexelScreen_->SetBlendMode(blendMode);
  const float pivotX = x + CenterX;
  const float pivotY = y + CenterY;
  for (const char c : text) {
    const auto byte = static_cast<uint8_t>(c);
    const int32_t index = CharMap_[byte];
    if (byte == kCarriageReturn) {
      penY += static_cast<float>(CellHeight_ + LineSpace);
      penX = x;
    }
    if (index == -1) continue;
    const auto w = static_cast<float>(CharSize_[index].Width);
    const auto h = static_cast<float>(CharSize_[index].Height);
    if (byte != kSpace) {
      const TCharUV& uv = CharUV_[index];
      Renderer_.SetPositions(penX, penY, penX + w, penY, penX + w, penY + h, penX, penY + h);
      Renderer_.SetColors(color1, color2, color3, color4);
      Renderer_.SetTexCoords(uv.U0, uv.V0, uv.U1, uv.V0, uv.U1, uv.V1, uv.U0, uv.V1);
      Renderer_.Rotate(penX + w * 0.5f, penY + h * 0.5f, CharRotation);
      Renderer_.RotateScale(pivotX, pivotY, rotation, scaleX * SizeScale_, scaleY * SizeScale_);
      Renderer_.Render();
    }
    penX += w + static_cast<float>(Spacing);
  }
}

void TVexelBitmapFont::TextOutColored(float x, float y, float rotation, float scaleX, float scaleY,
                                      uint32_t color, const std::string& text, int32_t blendMode) {
  TextOut(x, y, rotation, scaleX, scaleY, color, color, color, color, text, blendMode);
}

int32_t TVexelBitmapFont::TextWidth(const std::string& text) const {
  int32_t width = 0;
  for (const char c : text) {
    const int32_t index = CharMap_[static_cast<uint8_t>(c)];
    if (index == -1) continue;
    width += RoundHalfEven(static_cast<double>(CharSize_[index].Width) * ScaleX);
  }
  return width == 0 ? 1 : width;
}

int32_t TVexelBitmapFont::TextHeight() const {
  const int32_t height = RoundHalfEven(static_cast<double>(CellHeight_) * ScaleY);
  return height == 0 ? 1 : height;
}

void TVexelBitmapFont::Restore() {
  if (!VexelScreen_) return;
  Renderer_.Bind(VexelScreen_);
  if (!VexelScreen_->Device()) return;
  Generated_ = false;
  SetImageIndex(VexelImageIndex_);
  SetCharacters(Characters_);
  if (!VexelImageList_) GenerateFont("Arial", DefaultCharacters(), gfBold, 12);
}

void TVexelBitmapFont::SetTint(int32_t& channel, int32_t value) {
  if (channel == value) return;
  channel = value;
  Colors_.fill(PackArgb(Alpha_, Red_, Green_, Blue_));
}

void TVexelBitmapFont::SetRed(int32_t value) {
  SetTint(Red_, value);
}
void TVexelBitmapFont::SetGreen(int32_t value) {
  SetTint(Green_, value);
}
void TVexelBitmapFont::SetBlue(int32_t value) {
  SetTint(Blue_, value);
}
void TVexelBitmapFont::SetAlpha(int32_t value) {
  SetTint(Alpha_, value);
}

}  // namespace vexel
