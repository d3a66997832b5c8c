#include "VexelSpriteBase.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "VexelImageListItem.h"
#include "VexelSprite.h"
#include "platform/MessageBox.h"

namespace vexel {
namespace {

// The cell grid of an image entry. An entry too small for one whole cell counts as one cell, and
// tile sizes below 1 as 1, so the arithmetic never divides by zero.
struct TCellGrid {
  int32_t TileWidth = 1;
  int32_t TileHeight = 1;
  int32_t Columns = 1;
  int32_t Count = 1;
};

TCellGrid CellGridOf(const TImageListItem& image) {
  TCellGrid grid;
  grid.TileWidth = std::max(1, image.TileWidth);
  grid.TileHeight = std::max(1, image.TileHeight);
  grid.Columns = std::max(1, image.ImageWidth / grid.TileWidth);
  grid.Count = grid.Columns * std::max(1, image.ImageHeight / grid.TileHeight);
  return grid;
}

// Where one sprite's texels are read during the pixel test: the texel under the intersection's
// top-left pixel and the direction the texel address moves per screen column and row.
struct TTexelWalk {
  const TTexture* Texture = nullptr;
  int64_t Column = 0;
  int64_t Row = 0;
  int64_t ColumnStep = 1;
  int64_t RowStep = 1;

  // The texel under the screen pixel (dx, dy) from the intersection's corner; 0 off the texture.
  uint32_t At(int32_t dx, int32_t dy) const {
    const int64_t column = Column + dx * ColumnStep;
    const int64_t row = Row + dy * RowStep;
    if (column < 0 || row < 0 || column >= Texture->Width() || row >= Texture->Height()) return 0;
    const auto index = static_cast<size_t>(row * Texture->Width() + column);
    const auto& texels = Texture->Texels();
    return index < texels.size() ? texels[index] : 0;
  }
};

TTexelWalk WalkOf(const TSprite& sprite, const TRect& area) {
  const TRect& b = sprite.Bounds();
  TTexelWalk walk;
  walk.Texture = sprite.Image()->Texture.get();
  const int64_t column = area.Left - b.Left;
  const int64_t row = area.Top - b.Top;
  walk.Column = sprite.MirrorX ? (b.Right - b.Left) - column - 1 : column;
  walk.ColumnStep = sprite.MirrorX ? -1 : 1;
  walk.Row = sprite.MirrorY ? (b.Bottom - b.Top) - row - 1 : row;
  walk.RowStep = sprite.MirrorY ? -1 : 1;
  walk.Column += sprite.PatternLeft();
  walk.Row += sprite.PatternTop();
  return walk;
}

bool HasTexture(const TSprite& sprite) {
  return sprite.Image() && sprite.Image()->Texture;
}

// The first screen pixel of the area, leaving out its last row and column, where both sprites
// have a non-zero texel.
std::optional<std::pair<int32_t, int32_t>> FirstSharedTexel(const TSprite& a, const TSprite& b,
                                                            const TRect& area) {
  if (!HasTexture(a) || !HasTexture(b)) return std::nullopt;
  const TTexelWalk first = WalkOf(a, area);
  const TTexelWalk second = WalkOf(b, area);
  for (int32_t dy = 0; dy < area.Bottom - area.Top - 1; ++dy) {
    for (int32_t dx = 0; dx < area.Right - area.Left - 1; ++dx) {
      if (first.At(dx, dy) != 0 && second.At(dx, dy) != 0) {
        return std::make_pair(area.Left + dx, area.Top + dy);
      }
    }
  }
  return std::nullopt;
}

TRect Intersection(const TRect& a, const TRect& b) {
  return TRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
               std::min(a.Bottom, b.Bottom)};
}

// The right or bottom edge of a sprite, saturating like RoundCoord for one far off the map.
int32_t FarEdge(int32_t near, int32_t size) {
  return static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(near) + size,
                                                  std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t RoundCoord(long double value) {
  // Far beyond any screen: keeps the scaled value inside 64 bits; the result saturates anyway.
  constexpr long double kLimit = 1e12L;
  const long double bounded = std::clamp(value, -kLimit, kLimit);
  const long double shifted = bounded >= 0 ? bounded + 0.5L : bounded - 0.5L;
  const long long scaled = std::llrint(shifted * 10000.0L);
  const long long whole = scaled / 10000;
  return static_cast<int32_t>(std::clamp<long long>(whole, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

uint32_t ARGBColor(int32_t red, int32_t green, int32_t blue, int32_t alpha) {
  const auto byte = [](int32_t v) { return static_cast<uint32_t>(v) & 0xFFu; };
  return byte(alpha) << 24 | byte(red) << 16 | byte(green) << 8 | byte(blue);
}

uint32_t ColorToARGB(uint32_t color) {
  if (color > 0xFFFFFFu) return color;
  return 0xFF000000u | (color & 0xFFu) << 16 | (color & 0xFF00u) | (color >> 16 & 0xFFu);
}

TSprite::TSprite(TVexelSprite& engine) : Engine_(engine) {
  Engine_.AddSprite(this);
}

TSprite::~TSprite() {
  Engine_.RemoveSprite(this);
  Engine_.RemoveDead(this);
}

void TSprite::GetPatternRect(TRect& rect) {
  rect = TRect{};
  if (!Image_) return;
  const TCellGrid grid = CellGridOf(*Image_);
  PatternIndex_ = std::clamp(PatternIndex_, 0, grid.Count - 1);
  const int32_t column = PatternIndex_ % grid.Columns;
  rect.Left = grid.TileWidth * column;
  rect.Right = grid.TileWidth * (column + 1);
  rect.Top = grid.TileHeight * (PatternIndex_ / grid.Columns);
  rect.Bottom = rect.Top + grid.TileHeight;
}

void TSprite::SetName(const std::string& value) {
  Name_ = value;
}

void TSprite::RebuildColors() {
  Color1 = Color2 = Color3 = Color4 = ARGBColor(Red_, Green_, Blue_, Alpha_);
}

void TSprite::SetRed(int32_t value) {
  Red_ = value;
  RebuildColors();
}

void TSprite::SetGreen(int32_t value) {
  Green_ = value;
  RebuildColors();
}

void TSprite::SetBlue(int32_t value) {
  Blue_ = value;
  RebuildColors();
}

void TSprite::SetAlpha(int32_t value) {
  Alpha_ = value;
  RebuildColors();
}

void TSprite::SetPatternIndex(int32_t value) {
  PatternIndex_ = value;
  if (!Image_) return;
  const TCellGrid grid = CellGridOf(*Image_);
  PatternIndex_ = std::min(value, grid.Count - 1);
  PatternLeft_ = (PatternIndex_ % grid.Columns) * grid.TileWidth;
  PatternTop_ = (PatternIndex_ / grid.Columns) * grid.TileHeight;
}

void TSprite::SetX(float value) {
  X_ = value;
  Corner1X_ = Corner2X_ = static_cast<float>(static_cast<double>(value) + Width_);
  Corner3X_ = value;
  Bounds_.Left = RoundCoord(value);
  Bounds_.Right = FarEdge(Bounds_.Left, Width_);
  MidX_ = static_cast<float>(Width_ / 2.0 + static_cast<double>(X_));
}

void TSprite::SetY(float value) {
  Y_ = value;
  Corner1Y_ = value;
  Corner2Y_ = Corner3Y_ = static_cast<float>(static_cast<double>(value) + Height_);
  Bounds_.Top = RoundCoord(value);
  Bounds_.Bottom = FarEdge(Bounds_.Top, Height_);
  MidY_ = static_cast<float>(Height_ / 2.0 + static_cast<double>(Y_));
}

void TSprite::SetZ(int32_t value) {
  if (value == Z_) return;
  Z_ = value;
  Engine_.RemoveSprite(this);
  Engine_.AddSprite(this);
}

void TSprite::SetImage(TImageListItem* value) {
  Image_ = value;
  if (value) {
    Width_ = value->TileWidth;
    Height_ = value->TileHeight;
    Bounds_.Right = FarEdge(Bounds_.Left, Width_);
    Bounds_.Bottom = FarEdge(Bounds_.Top, Height_);
  }
  SetX(X_);
  SetY(Y_);
}

void TSprite::SetWidth(int32_t value) {
  Width_ = value;
  Bounds_.Right = FarEdge(Bounds_.Left, value);
}

void TSprite::SetHeight(int32_t value) {
  Height_ = value;
  Bounds_.Bottom = FarEdge(Bounds_.Top, value);
}

void TSprite::Assign(const TSprite& source) {
  SetName(source.Name_);
  X_ = source.X_;
  Y_ = source.Y_;
  Corner1X_ = source.Corner1X_;
  Corner1Y_ = source.Corner1Y_;
  Corner2X_ = source.Corner2X_;
  Corner2Y_ = source.Corner2Y_;
  Corner3X_ = source.Corner3X_;
  Corner3Y_ = source.Corner3Y_;
  SetZ(source.Z_);
  SetRed(source.Red_);
  SetGreen(source.Green_);
  SetBlue(source.Blue_);
  SetAlpha(source.Alpha_);
  Color1 = source.Color1;
  Color2 = source.Color2;
  Color3 = source.Color3;
  Color4 = source.Color4;
  SetPatternIndex(source.PatternIndex_);
  Collidable = source.Collidable;
  PixelCheck = source.PixelCheck;
  PixelOnly = source.PixelOnly;
  Rotation = source.Rotation;
  SetImage(source.Image_);
  ScaleX = source.ScaleX;
  ScaleY = source.ScaleY;
  OffsetX = source.OffsetX;
  OffsetY = source.OffsetY;
  CenterX = source.CenterX;
  CenterY = source.CenterY;
  MirrorY = source.MirrorY;
  MirrorX = source.MirrorX;
  BlendMode = source.BlendMode;
  Visible = source.Visible;
  IgnoreCamera = source.IgnoreCamera;
}

void TSprite::Collision(TSprite* other) {
  if (!other || !Collidable || !other->Collidable || Dead_ || other->Dead_) return;
  const TRect area = Intersection(Bounds_, other->Bounds_);
  if (area.Right <= area.Left || area.Bottom <= area.Top) return;
  if (!(PixelCheck && other->PixelCheck) && !PixelOnly && !other->PixelOnly) {
    DoCollision(other, 0, 0);
    other->DoCollision(this, 0, 0);
    return;
  }
  // Pixels decide; a pair sent here by PixelOnly alone never hits, a sprite meets itself at its
  // top-left corner.
  if (!PixelCheck || !other->PixelCheck) return;
  const auto hit = other == this ? std::make_optional(std::make_pair(area.Left, area.Top))
                                 : FirstSharedTexel(*this, *other, area);
  if (!hit) return;
  DoCollision(other, hit->first - Bounds_.Left, hit->second - Bounds_.Top);
  other->DoCollision(this, hit->first - other->Bounds_.Left, hit->second - other->Bounds_.Top);
}

void TSprite::Kill() {
  if (Dead_) return;
  Dead_ = true;
  Engine_.AddDead(this);
}

void TSprite::DoCollision(TSprite* /*other*/, int32_t /*hitX*/, int32_t /*hitY*/) {}

void TSprite::DoMove(float /*delta*/) {}

void TSprite::DoDraw() {
  if (!Visible || !Image_) return;
  if (!Image_->Renderer) {
    // Shown once per entry: a modal box on every frame would leave the player nothing to do.
    if (!Image_->ProblemShown) {
      Image_->ProblemShown = true;
      platform::ShowMessageBox("Error", "No VexelImageList assigned to sprite!", {"OK", "Cancel"});
    }
    return;
  }
  int32_t sx = RoundCoord(static_cast<long double>(X_) + OffsetX);
  int32_t sy = RoundCoord(static_cast<long double>(Y_) + OffsetY);
  if (!IgnoreCamera) {
    sx = RoundCoord(sx - static_cast<long double>(Engine_.CameraX));
    sy = RoundCoord(sy - static_cast<long double>(Engine_.CameraY));
  }
  if (!Engine_.InDrawArea(sx, sy, Width_, Height_)) return;
  Image_->DrawSprite(sx, sy, Rotation, CenterX, CenterY, ScaleX, ScaleY, Color1, Color2, Color3,
                     Color4, MirrorY, MirrorX, PatternIndex_, BlendMode);
}

void TSprite::SetAdditive(bool value) {
  Additive_ = value;
  BlendMode = value ? 2 : 0;
}

}  // namespace vexel
