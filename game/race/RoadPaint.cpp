#include "RoadPaint.h"

#include "RaceWorld.h"
#include "game/AnglesAndRandom.h"

namespace game {

TRoadPaint::TRoadPaint(vexel::TVexelSprite& engine, TRaceWorld& world, float centreX, float centreY,
                       double angle, int32_t mode)
    : TRaceSprite(engine, world) {
  switch (mode) {
    case 0:
      UseImage("inplace");
      SetName("inplace");
      SetPatternIndex(0);
      break;
    case 1:
      UseImage("startline");
      SetName("inplace");
      SetPatternIndex(0);
      break;
    default:
      UseImage(mode == 5 ? "romhor" : "romver");
      SetName("flower");
      SetPatternIndex(RandomBelow(world.Random, 5));
      break;
  }
  SetZ(29);
  Rotation = static_cast<float>(angle);
  CenterX = CenterY = 0.5f;
  SetX(static_cast<float>(centreX - Width() / 2.0));
  SetY(static_cast<float>(centreY - Height() / 2.0));
  world.WorldSprites.push_back(this);
  world.RoadSurfaces.push_back(this);
}

void TRoadPaint::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  FollowWorld();
}

}  // namespace game
