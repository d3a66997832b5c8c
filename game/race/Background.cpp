#include "Background.h"

#include "RaceWorld.h"

namespace game {

TBackground::TBackground(vexel::TVexelSprite& engine, TRaceWorld& world)
    : TBackgroundAbstract(engine, world) {
  Setup("grass", 0, false, 255, 0, 0);
  Collidable = false;
  SetRed(255);
  SetGreen(255);
  SetBlue(255);
  ScaleX = ScaleY = 1;
  SetAdditive(false);
  world.WorldSprites.push_back(this);
}

}  // namespace game
