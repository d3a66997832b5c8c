#include "Dim.h"

#include "Player.h"
#include "RaceWorld.h"
#include "game/AnglesAndRandom.h"

namespace game {

TDim::TDim(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY)
    : TRaceSprite(engine, world) {
  UseImage("dim");
  SetName("arrow");
  Visible = true;
  SetPatternIndex(0);
  CenterX = CenterY = 0.5f;
  SetAlpha(200);
  Age = 1;
  const int32_t offsetX = RandomBelow(world.Random, 10);
  SetX(static_cast<float>(centreX - Width() / 2.0 + 5 - offsetX));
  const int32_t offsetY = RandomBelow(world.Random, 10);
  SetY(static_cast<float>(centreY - Height() / 2.0 + 5 - offsetY));
  SetZ(49);
  ScaleX = ScaleY = 0.3f;
}

void TDim::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  const TPlayer& player = *World.Player;
  MoveBy(player.ShiftX + player.BounceX, player.ShiftY + player.BounceY);
  if (Age % 3 == 0) {
    ScaleX = static_cast<float>(ScaleX + 0.05);
    ScaleY = static_cast<float>(ScaleY + 0.05);
    if (Alpha() <= 50) {
      Kill();
    } else {
      SetAlpha(Alpha() - 40);
    }
  }
  ++Age;
}

}  // namespace game
