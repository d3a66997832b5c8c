#include "GroundPoint.h"

#include "RaceWorld.h"

namespace game {

TGroundPoint::TGroundPoint(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX,
                           double centreY, double probeAngle)
    : TRaceSprite(engine, world), ProbeAngle(probeAngle) {
  UseImage("groundpoint");
  SetName("groundpoint");
  Visible = false;
  SetZ(52);
  CenterX = CenterY = 0.5f;
  SetX(static_cast<float>(centreX - Width() / 2.0));
  SetY(static_cast<float>(centreY - Height() / 2.0));
}

void TGroundPoint::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  const TPoint2 point{X(), Y()};
  OnRoad = false;
  for (const vexel::TSprite* road : World.RoadSurfaces) {
    const double left = road->X();
    const double top = road->Y();
    const double right = left + road->Width();
    const double bottom = top + road->Height();
    if (PointInQuad(point, {{{left, top}, {left, bottom}, {right, bottom}, {right, top}}})) {
      OnRoad = true;
      return;
    }
  }
}

}  // namespace game
