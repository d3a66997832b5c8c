#include "RaceSprite.h"

#include <cmath>

#include "Player.h"
#include "RaceWorld.h"

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

void TRaceSprite::UseImage(const std::string& key) {
  SetImage(World.Image(key));
}

void TRaceSprite::FollowWorld() {
  const TPlayer& player = *World.Player;
  MoveBy(player.ShiftX, player.ShiftY);
  MoveBy(player.BounceX, player.BounceY);
}

TQuad TRaceSprite::RotatedQuad(double angle, const std::array<double, 4>& quadAngles) const {
  const TPoint2 c = Centre();
  const double halfW = Width() / 2.0;
  const double halfH = Height() / 2.0;
  const double r = std::sqrt(halfH * halfH + halfW * halfW);
  TQuad quad;
  for (size_t k = 0; k < quad.size(); ++k) {
    quad[k] = {c.X + r * CosDeg(angle + quadAngles[k]), c.Y + r * SinDeg(angle + quadAngles[k])};
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
