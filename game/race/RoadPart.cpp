#include "RoadPart.h"

#include "RaceWorld.h"

namespace game {

TRoadPart::TRoadPart(vexel::TVexelSprite& engine, TRaceWorld& world, float x, float y, int32_t kind)
    : TRaceSprite(engine, world) {
  if (kind == 1 || kind == 2) {
    const char* key = kind == 1 ? "roadstr" : "roadstrvert";
    UseImage(key);
    SetName(key);
    SetPatternIndex(0);
  } else if (kind >= 11 && kind <= 14) {
    UseImage("roadroters");
    SetName("roadroters");
    SetPatternIndex(14 - kind);
  }
  SetX(x);
  SetY(y);
  SetZ(20);
  world.WorldSprites.push_back(this);
  world.RoadSurfaces.push_back(this);
}

void TRoadPart::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  FollowWorld();
}

}  // namespace game
