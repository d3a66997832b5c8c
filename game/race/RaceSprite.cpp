#include "RaceSprite.h"

#include <cmath>

#include "Player.h"
#include "RaceWorld.h"
#include "engine/VexelImageListItem.h"
#include "engine/VexelSprite.h"
#include "game/AnglesAndRandom.h"

namespace game {

TRaceSprite::TRaceSprite(vexel::TVexelSprite& engine, TRaceWorld& world)
    : TSprite(engine), World(world) {}

void TRaceSprite::MoveBy(double dx, double dy) {
  SetX(static_cast<float>(X() + dx));
  SetY(static_cast<float>(Y() + dy));
}

TPoint2 TRaceSprite::Centre() const {
  return {X() + Width() / 2.0, Y() + Height() / 2.0};
}

void TRaceSprite::DrawCentred(vexel::TImageListItem& image, int32_t pattern,
                              uint32_t colour) const {
  if (!Visible) return;
  // The sprite's own top-left on the screen, as TSprite::DoDraw places it.
  int32_t sx = vexel::RoundCoord(static_cast<long double>(X()) + OffsetX);
  int32_t sy = vexel::RoundCoord(static_cast<long double>(Y()) + OffsetY);
  if (!IgnoreCamera) {
    sx = vexel::RoundCoord(sx - static_cast<long double>(Engine().CameraX));
    sy = vexel::RoundCoord(sy - static_cast<long double>(Engine().CameraY));
  }
  const int32_t x = sx + static_cast<int32_t>(std::lround(static_cast<double>(Width()) * CenterX -
                                                          image.TileWidth * 0.5));
  const int32_t y = sy + static_cast<int32_t>(std::lround(static_cast<double>(Height()) * CenterY -
                                                          image.TileHeight * 0.5));
  if (!Engine().InDrawArea(x, y, image.TileWidth, image.TileHeight)) return;
  // A layer wholly off the screen, however it is turned, is not sent to the device at all.
  const int32_t reach = image.TileWidth + image.TileHeight;
  if (x + reach < 0 || y + reach < 0 || x - reach > kRaceViewWidth || y - reach > kRaceViewHeight) {
    return;
  }
  image.DrawSprite(x, y, Rotation, 0.5f, 0.5f, ScaleX, ScaleY, colour, colour, colour, colour,
                   MirrorY, MirrorX, pattern, BlendMode);
}

void TRaceSprite::UseImage(const std::string& key) {
  SetImage(World.Image(key));
}

void TRaceSprite::FollowWorld() {
  const TPlayer& player = *World.Player;
  // Two steps, each stored as a Single; only the second position needs the sprite's setters.
  const auto shiftedX = static_cast<float>(X() + player.ShiftX);
  const auto shiftedY = static_cast<float>(Y() + player.ShiftY);
  SetX(static_cast<float>(shiftedX + player.BounceX));
  SetY(static_cast<float>(shiftedY + player.BounceY));
}

TQuad TRaceSprite::RotatedQuad(double angle, const std::array<double, 4>& quadAngles) {
  if (angle != QuadAngle_ || Width() != QuadWidth_ || Height() != QuadHeight_) {
    const double halfW = Width() / 2.0;
    const double halfH = Height() / 2.0;
    const double r = std::sqrt(halfH * halfH + halfW * halfW);
    for (size_t k = 0; k < QuadOffsets_.size(); ++k) {
      QuadOffsets_[k] = {r * CosDeg(angle + quadAngles[k]), r * SinDeg(angle + quadAngles[k])};
    }
    QuadAngle_ = angle;
    QuadWidth_ = Width();
    QuadHeight_ = Height();
  }
  const TPoint2 c = Centre();
  TQuad quad;
  for (size_t k = 0; k < quad.size(); ++k) {
    quad[k] = {c.X + QuadOffsets_[k].X, c.Y + QuadOffsets_[k].Y};
  }
  return quad;
}

TQuad TRaceSprite::RectangleQuad() const {
  const double left = X();
  const double top = Y();
  const double right = left + Width();
  const double bottom = top + Height();
  return {{{left, top}, {left, bottom}, {right, bottom}, {right, top}}};
}

std::array<double, 4> TRaceSprite::RectangleQuadAngles() const {
  const double gamma = ArcTanDeg(static_cast<double>(Height()) / Width());
  return {180 - gamma, gamma - 180, -gamma, gamma};
}

}  // namespace game
