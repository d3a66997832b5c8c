#include "GhostCar.h"

#include "RaceWorld.h"
#include "game/GameConstants.h"

namespace game {
namespace {

/// The car picture's cell with the wheels straight.
constexpr int32_t kStraightCell = 2;

}  // namespace

TGhostCar::TGhostCar(vexel::TVexelSprite& engine, TRaceWorld& world, int32_t carType)
    : TRaceSprite(engine, world) {
  UseImage(CarImageKey(carType));
  SetName("ghost");
  SetPatternIndex(kStraightCell);
  CenterX = CenterY = 0.5f;
  SetZ(kDepth);
  SetAlpha(kAlpha);
  Visible = false;
}

void TGhostCar::Place(const TGhostFrame& frame) {
  const TPoint2 origin = World.TrackOrigin();
  SetX(static_cast<float>(origin.X + frame.X - Width() / 2.0));
  SetY(static_cast<float>(origin.Y + frame.Y - Height() / 2.0));
  Rotation = frame.Angle;
  Visible = true;
}

}  // namespace game
