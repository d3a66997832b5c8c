#include "RadarArrow.h"

#include "Player.h"
#include "game/AnglesAndRandom.h"

namespace game {
namespace {

/// Angle of (dx, dy) in degrees, by quadrant from the arc tangent of dy / dx.
double PointerAngle(double dx, double dy) {
  if (dx > 0) return ArcTanDeg(dy / dx);
  if (dx < 0) {
    if (dy > 0) return ArcTanDeg(dy / dx) - 180;
    if (dy < 0) return ArcTanDeg(dy / dx) + 180;
    return 180;
  }
  return dy > 0 ? 90 : -90;
}

}  // namespace

TRadarArrow::TRadarArrow(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX,
                         double centreY)
    : TRaceSprite(engine, world) {
  UseImage("radararrow");
  SetName("radararrow");
  SetPatternIndex(0);
  SetX(static_cast<float>(centreX - Width() / 2.0));
  SetY(static_cast<float>(centreY - Height() / 2.0));
  CenterX = CenterY = 0.5f;
  SetZ(510);
  IgnoreCamera = true;  // part of the HUD: it stays put when the view moves
  Visible = true;
  Rotation = 0;
}

void TRadarArrow::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  const TPlayer& player = *World.Player;
  const TPoint2 c = player.Centre();
  Rotation =
      static_cast<float>(PointerAngle(c.X - player.TargetX, c.Y - player.TargetY) + 90 + 180);
}

}  // namespace game
