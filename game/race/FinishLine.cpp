#include "FinishLine.h"

#include "EnemyCar.h"
#include "Player.h"

namespace game {

TFinishLine::TFinishLine(vexel::TVexelSprite& engine, TRaceWorld& world, double x, double y,
                         double angle)
    : TRaceSprite(engine, world), Angle(angle) {
  UseImage("fline");
  SetName("fline");
  SetPatternIndex(0);
  CenterX = CenterY = 0.5f;
  SetX(static_cast<float>(x));
  SetY(static_cast<float>(y - Height() / 2.0));
  SetZ(60);
  Rotation = static_cast<float>(Angle);
  Visible = false;
  Quad = RectangleQuad();
  QuadAngles = RectangleQuadAngles();
  TrackPosition = {X(), Y()};
  world.WorldSprites.push_back(this);
  if (!world.FinishLine) world.FinishLine = this;
}

void TFinishLine::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  FollowWorld();
  Quad = RotatedQuad(Rotation, QuadAngles);
  for (int32_t i = 0; i < World.EnemyCount; ++i) {
    TEnemyCar& enemy = World.Enemy(i);
    if (QuadsOverlap(enemy.Corners, Quad)) CountOpponent(enemy, i);
  }
  TPlayer& player = *World.Player;
  if (player.LapArmed && QuadsOverlap(player.Corners, Quad)) CountPlayer();
}

void TFinishLine::CountOpponent(TEnemyCar& enemy, int32_t index) {
  if (!enemy.LapArmed || !enemy.SectionsComplete()) return;
  if (enemy.Lap == World.RaceLaps) {
    World.TakeFinishPlace(index, enemy.RaceTime);
    ++enemy.Lap;
    enemy.Started = false;
  } else {
    ++enemy.Lap;
    enemy.ClearSections();
  }
}

void TFinishLine::CountPlayer() {
  TPlayer& player = *World.Player;
  player.LapArmed = false;
  if (player.NextCheckpoint != 0 && player.NextCheckpoint != 1) return;
  if (player.Lap != 0) {
    if (!BestTimeStands(player.LapClock, player.BestLap)) player.BestLap = player.LapClock;
    player.LapClock.Reset();
  } else {
    player.LapTiming = true;
  }
  if (player.Lap == World.RaceLaps) {
    player.FinishPosition = World.TakeFinishPlace(PlayerWho, player.RaceTime);
    player.ControlsEnabled = false;
    World.PlayerFinished = true;
    World.WaitTicks = 0;
    player.PositionTracking = false;
  } else {
    ++player.Lap;
  }
}

}  // namespace game
