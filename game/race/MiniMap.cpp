#include "MiniMap.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>

#include "CheckLine.h"
#include "EnemyCar.h"
#include "Player.h"
#include "RoadPart.h"
#include "engine/ImageListPicture.h"
#include "engine/VexelImageList.h"
#include "engine/VexelSprite.h"
#include "platform/ImageFile.h"

namespace game {
namespace {

/// The inside of the HUD deck (the console's middle panel) that the map covers.
constexpr int32_t kDeckLeft = 232;
constexpr int32_t kDeckTop = 528;
constexpr int32_t kDeckWidth = 428;
constexpr int32_t kDeckHeight = 58;
/// The largest map inside the deck, leaving room for the dots at its edges.
constexpr double kMapMaxWidth = 400;
constexpr double kMapMaxHeight = 54;
/// Above the console (480) and the checkpoint arrow (510), below the console's glass (520).
constexpr int32_t kMapDepth = 515;
/// Sub-samples per side of a map pixel: the road's cover is counted on a 3 x 3 grid.
constexpr int32_t kSamples = 3;
constexpr uint32_t kRoadRgb = 0x00A9BCE6;
constexpr uint32_t kRoadAlpha = 235;
constexpr uint32_t kDeckColour = 0xFF040716;
constexpr uint32_t kCheckpointRgb = 0x00FFC23D;
/// Cells of the "mapmarks" picture.
constexpr int32_t kDotCell = 0;
constexpr int32_t kRingCell = 1;
constexpr float kOpponentDotScale = 1.0f;
constexpr float kPlayerDotScale = 1.4f;
constexpr float kRingScale = 1.8f;
/// The deck's picture (backing and map) in the race image list, remade for each race.
constexpr const char* kMapKey = "minimap";

/// A road picture's pixels, decoded once per map.
struct TDecoded {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Argb;
  bool Ok = false;
};

const TDecoded& DecodedPicture(std::map<const vexel::TImageListItem*, TDecoded>& cache,
                               const vexel::TImageListItem& image) {
  auto [it, fresh] = cache.try_emplace(&image);
  if (fresh) {
    std::string error;
    it->second.Ok = vexel::DecodePicture(image.Picture, it->second.Width, it->second.Height,
                                         it->second.Argb, error);
  }
  return it->second;
}

/// Whether a point of a road piece's cell, relative to the piece's top-left, is road: an
/// opaque pixel of its picture, or anywhere in the piece when the picture cannot be read.
bool IsRoad(const TDecoded& picture, const vexel::TSprite& piece, double x, double y) {
  if (!picture.Ok) return true;
  const vexel::TImageListItem& image = *piece.Image();
  const int32_t columns = std::max(1, picture.Width / std::max(1, image.TileWidth));
  const int32_t cell = std::max(0, piece.PatternIndex());
  const auto px = static_cast<int32_t>(x) + (cell % columns) * image.TileWidth;
  const auto py = static_cast<int32_t>(y) + (cell / columns) * image.TileHeight;
  if (px < 0 || py < 0 || px >= picture.Width || py >= picture.Height) return false;
  return (picture.Argb[static_cast<size_t>(py) * static_cast<size_t>(picture.Width) +
                       static_cast<size_t>(px)] >>
          24) >= 128;
}

std::vector<const vexel::TSprite*> RoadPieces(const TRaceWorld& world) {
  std::vector<const vexel::TSprite*> pieces;
  for (const vexel::TSprite* sprite : world.RoadSurfaces) {
    if (dynamic_cast<const TRoadPart*>(sprite) && sprite->Image()) pieces.push_back(sprite);
  }
  return pieces;
}

}  // namespace

TMiniMap::TMiniMap(vexel::TVexelSprite& engine, TRaceWorld& world) : TRaceSprite(engine, world) {
  SetName("minimap");
  SetZ(kMapDepth);
  IgnoreCamera = true;
  Visible = true;
  Marks_ = World.Image("mapmarks");
  BuildMap();
  if (!HasMap()) return;
  FindCheckpoints();
  StoreMapPicture();
}

void TMiniMap::BuildMap() {
  const std::vector<const vexel::TSprite*> pieces = RoadPieces(World);
  if (pieces.empty()) return;
  double maxX = pieces.front()->X();
  double maxY = pieces.front()->Y();
  MinX_ = maxX;
  MinY_ = maxY;
  for (const vexel::TSprite* piece : pieces) {
    MinX_ = std::min(MinX_, static_cast<double>(piece->X()));
    MinY_ = std::min(MinY_, static_cast<double>(piece->Y()));
    maxX = std::max(maxX, static_cast<double>(piece->X()) + piece->Width());
    maxY = std::max(maxY, static_cast<double>(piece->Y()) + piece->Height());
  }
  Scale_ = std::min(kMapMaxWidth / std::max(maxX - MinX_, 1.0),
                    kMapMaxHeight / std::max(maxY - MinY_, 1.0));
  MapWidth_ = std::max(1, static_cast<int32_t>(std::ceil((maxX - MinX_) * Scale_)));
  MapHeight_ = std::max(1, static_cast<int32_t>(std::ceil((maxY - MinY_) * Scale_)));
  MapLeft_ = kDeckLeft + (kDeckWidth - MapWidth_) / 2;
  MapTop_ = kDeckTop + (kDeckHeight - MapHeight_) / 2;
  Anchor_ = pieces.front();
  AnchorX_ = Anchor_->X();
  AnchorY_ = Anchor_->Y();

  // One bit per sub-sample, so that overlapping pieces do not count a spot twice.
  std::vector<uint16_t> covered(static_cast<size_t>(MapWidth_) * static_cast<size_t>(MapHeight_));
  std::map<const vexel::TImageListItem*, TDecoded> decoded;
  for (const vexel::TSprite* piece : pieces) {
    const TDecoded& picture = DecodedPicture(decoded, *piece->Image());
    const double left = (piece->X() - MinX_) * Scale_;
    const double top = (piece->Y() - MinY_) * Scale_;
    const int32_t x0 = std::max(0, static_cast<int32_t>(std::floor(left)));
    const int32_t y0 = std::max(0, static_cast<int32_t>(std::floor(top)));
    const int32_t x1 =
        std::min(MapWidth_, static_cast<int32_t>(std::ceil(left + piece->Width() * Scale_)));
    const int32_t y1 =
        std::min(MapHeight_, static_cast<int32_t>(std::ceil(top + piece->Height() * Scale_)));
    for (int32_t my = y0; my < y1; ++my) {
      for (int32_t mx = x0; mx < x1; ++mx) {
        uint16_t& bits = covered[static_cast<size_t>(my) * static_cast<size_t>(MapWidth_) +
                                 static_cast<size_t>(mx)];
        for (int32_t s = 0; s < kSamples * kSamples; ++s) {
          const double x = (mx + (s % kSamples + 0.5) / kSamples) / Scale_ + MinX_ - piece->X();
          const double y = (my + (s / kSamples + 0.5) / kSamples) / Scale_ + MinY_ - piece->Y();
          if (x < 0 || y < 0 || x >= piece->Width() || y >= piece->Height()) continue;
          if (IsRoad(picture, *piece, x, y)) bits = static_cast<uint16_t>(bits | (1u << s));
        }
      }
    }
  }
  MapPixels_.resize(covered.size());
  for (size_t i = 0; i < covered.size(); ++i) {
    const auto alpha =
        kRoadAlpha * static_cast<uint32_t>(std::popcount(covered[i])) / (kSamples * kSamples);
    MapPixels_[i] = alpha == 0 ? 0 : (alpha << 24) | kRoadRgb;
  }
}

void TMiniMap::FindCheckpoints() {
  for (const vexel::TSprite* sprite : Engine().SpriteList()) {
    const auto* line = dynamic_cast<const TCheckLine*>(sprite);
    if (line && !line->Dead()) Checkpoints_.push_back({line->Number, MapPoint(line->Centre())});
  }
}

void TMiniMap::StoreMapPicture() {
  // The picture covers the whole deck: its backing with the road laid over it, so that a
  // frame draws the two as one quad.
  std::vector<uint32_t> deck(static_cast<size_t>(kDeckWidth) * kDeckHeight, kDeckColour);
  const uint32_t back[3] = {(kDeckColour >> 16) & 0xFF, (kDeckColour >> 8) & 0xFF,
                            kDeckColour & 0xFF};
  const uint32_t road[3] = {(kRoadRgb >> 16) & 0xFF, (kRoadRgb >> 8) & 0xFF, kRoadRgb & 0xFF};
  for (int32_t y = 0; y < MapHeight_; ++y) {
    for (int32_t x = 0; x < MapWidth_; ++x) {
      const uint32_t alpha = MapPixels_[static_cast<size_t>(y * MapWidth_ + x)] >> 24;
      uint32_t pixel = 0xFF000000;
      for (int k = 0; k < 3; ++k) {
        const uint32_t mixed = (road[k] * alpha + back[k] * (255 - alpha)) / 255;
        pixel |= mixed << (16 - 8 * k);
      }
      const int32_t dx = MapLeft_ - kDeckLeft + x;
      const int32_t dy = MapTop_ - kDeckTop + y;
      deck[static_cast<size_t>(dy * kDeckWidth + dx)] = pixel;
    }
  }
  vexel::TPicture picture;
  picture.Kind = vexel::TPicture::TKind::Png;
  if (!platform::EncodePng(kDeckWidth, kDeckHeight, deck, picture.Data)) return;
  vexel::TImageListCollection& list = World.Images.ImageList;
  MapImage_ = list.Find(kMapKey);
  if (!MapImage_) {
    MapImage_ = list.Add();
    MapImage_->Name = kMapKey;
  }
  // The previous race's map: its texture and sizes go, and the new picture's are made.
  MapImage_->Texture.reset();
  MapImage_->TextureWidth = 0;
  MapImage_->TextureHeight = 0;
  MapImage_->SetPicture(picture);
  MapImage_->Restore();
}

TPoint2 TMiniMap::MapPoint(const TPoint2& world) const {
  const double dx = Anchor_ ? Anchor_->X() - AnchorX_ : 0;
  const double dy = Anchor_ ? Anchor_->Y() - AnchorY_ : 0;
  return {MapLeft_ + (world.X - dx - MinX_) * Scale_, MapTop_ + (world.Y - dy - MinY_) * Scale_};
}

bool TMiniMap::NextCheckpointMark(TPoint2& at) const {
  if (!World.Player) return false;
  for (const TCheckpointMark& mark : Checkpoints_) {
    if (mark.Number == World.Player->NextCheckpoint) {
      at = mark.At;
      return true;
    }
  }
  return false;
}

void TMiniMap::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  ++PulseTick_;
}

void TMiniMap::DrawDot(vexel::TImageListItem& marks, const TPoint2& world, uint32_t colour,
                       float scale) const {
  const TPoint2 at = MapPoint(world);
  const double x =
      std::clamp(at.X, static_cast<double>(kDeckLeft), static_cast<double>(kDeckLeft + kDeckWidth));
  const double y =
      std::clamp(at.Y, static_cast<double>(kDeckTop), static_cast<double>(kDeckTop + kDeckHeight));
  marks.DrawSprite(static_cast<int32_t>(std::lround(x - marks.TileWidth / 2.0)),
                   static_cast<int32_t>(std::lround(y - marks.TileHeight / 2.0)), 0, 0.5f, 0.5f,
                   scale, scale, colour, colour, colour, colour, false, false, kDotCell, 0);
}

void TMiniMap::DoDraw() {
  if (!Visible || !HasMap() || !Marks_ || !World.Player) return;
  vexel::TImageListItem& marks = *Marks_;
  if (MapImage_) MapImage_->Draw(kDeckLeft, kDeckTop, 0);
  TPoint2 ring;
  if (NextCheckpointMark(ring)) {
    // A triangle wave between alpha 135 and 255, two pulses a second at 90 frames a second.
    const int32_t phase = PulseTick_ % 44;
    const auto alpha = static_cast<uint32_t>(255 - 120 * std::abs(phase - 22) / 22);
    const uint32_t colour = (alpha << 24) | kCheckpointRgb;
    marks.DrawSprite(static_cast<int32_t>(std::lround(ring.X - marks.TileWidth / 2.0)),
                     static_cast<int32_t>(std::lround(ring.Y - marks.TileHeight / 2.0)), 0, 0.5f,
                     0.5f, kRingScale, kRingScale, colour, colour, colour, colour, false, false,
                     kRingCell, 0);
  }
  for (int32_t i = 0; i < World.EnemyCount; ++i) {
    const TEnemyCar& enemy = World.Enemy(i);
    DrawDot(marks, enemy.Centre(), enemy.PaintColour, kOpponentDotScale);
  }
  DrawDot(marks, World.Player->Centre(), kPlayerColour, kPlayerDotScale);
}

}  // namespace game
