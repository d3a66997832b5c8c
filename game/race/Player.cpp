#include "Player.h"

#include <cmath>

#include "EnemyCar.h"
#include "game/AnglesAndRandom.h"
#include "platform/VirtualKeys.h"

namespace game {

TPlayer::TPlayer(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY,
                 int32_t carType, const std::string& name, double heading)
    : TCar(engine, world, centreX, centreY, carType, name, heading) {
  Lap = 0;
}

void TPlayer::DoMove(float delta) {
  TCar::DoMove(delta);
  World.TrackReturn.Step();
  if (ControlsEnabled) {
    ApplyControls();
  } else {
    Coast();
  }
  UpdatePathProgress();
  if (PositionTracking) UpdateRacePosition();
  AccelFactor = GroundFactor();
  ShiftX = -CosDeg(TravelDir) * Speed;
  ShiftY = -SinDeg(TravelDir) * Speed;
  MotionStep(AccelFactor);
  UpdateCorners();
  BounceX = 0;
  BounceY = 0;
  CarCollisions();
  World.Camera.Follow(Velocity(Speed));
}

void TPlayer::Coast() {
  SetPatternIndex(2);
  CurrentAccel = 0;
  if (Speed > CoastDecel) {
    Speed -= CoastDecel;
  } else if (Speed < -CoastDecel) {
    Speed += CoastDecel;
  }
}

void TPlayer::ApplyControls() {
  ApplyThrottle();
  ApplySteering();
  ApplyHandbrake();
  ConsumeReleases();
}

void TPlayer::ApplyThrottle() {
  const TKeyTable& down = World.KeyDown;
  if (down[platform::VK_UP]) {
    if (Speed > 0.1) EmitSmoke();
    Accelerate();
  } else if (down[platform::VK_DOWN]) {
    Brake();
  }
}

void TPlayer::ApplySteering() {
  const TKeyTable& down = World.KeyDown;
  if (down[platform::VK_RIGHT]) {
    SteerRight();
  } else if (down[platform::VK_LEFT]) {
    SteerLeft();
  } else {
    CentreSteering();
  }
}

void TPlayer::ApplyHandbrake() {
  const TKeyTable& down = World.KeyDown;
  if (!down[platform::VK_SPACE] && !down[platform::VK_CONTROL]) return;
  Skidding = true;
  if (Speed > CoastDecel) {
    CurrentAccel = -CoastDecel;
  } else if (Speed < -CoastDecel) {
    CurrentAccel = CoastDecel;
  }
}

void TPlayer::ConsumeReleases() {
  TKeyTable& down = World.KeyDown;
  TKeyTable& released = World.KeyReleased;
  for (int32_t key : {platform::VK_UP, platform::VK_DOWN}) {
    if (released[key]) {
      released[key] = false;
      down[key] = false;
      CurrentAccel = 0;
    }
  }
  for (int32_t key :
       {platform::VK_RIGHT, platform::VK_LEFT, platform::VK_SPACE, platform::VK_CONTROL}) {
    if (released[key]) {
      released[key] = false;
      down[key] = false;
    }
  }
}

void TPlayer::UpdatePathProgress() {
  PathProgress = MeasurePathProgress();
  World.PlayerProgress = (Lap + 1) * World.LapLength() + PathProgress;
}

void TPlayer::UpdateRacePosition() {
  int32_t ahead = 0;
  for (int32_t i = 0; i < World.EnemyCount; ++i) {
    if (World.EnemyProgress[static_cast<size_t>(i)] > World.PlayerProgress) ++ahead;
  }
  RacePosition = 1 + ahead;
}

void TPlayer::CarCollisions() {
  const TPoint2 centre = Centre();
  for (int32_t i = 0; i < World.EnemyCount; ++i) {
    const TEnemyCar& enemy = World.Enemy(i);
    if (Distance(centre, enemy.Centre()) >= 200) continue;
    const bool touching = QuadsOverlap(Corners, enemy.Corners);
    if (touching && !CarContact[static_cast<size_t>(i)]) ReportBump(enemy);
    CarContact[static_cast<size_t>(i)] = touching;
  }
  for (int32_t i = 0; i < World.EnemyCount; ++i) {
    if (CarContact[static_cast<size_t>(i)]) BumpOff(i);
  }
}

void TPlayer::ReportBump(const TEnemyCar& enemy) {
  const TPoint2 a = Centre();
  const TPoint2 b = enemy.Centre();
  const TPoint2 p = Velocity(Speed);
  const TPoint2 q = enemy.Velocity(enemy.Speed);
  World.ReportImpact({(a.X + b.X) / 2, (a.Y + b.Y) / 2}, Distance(p, q));
}

void TPlayer::BumpOff(int32_t index) {
  const TEnemyCar& enemy = World.Enemy(index);
  const TPoint2 n = UnitVector(enemy.Centre(), Centre());
  const TPoint2 m = enemy.TravelUnit();
  BounceX -= (std::fabs(m.X) / 2 + 0.5) * 2 * n.X;
  BounceY -= (std::fabs(m.Y) / 2 + 0.5) * 2 * n.Y;
  Speed = Speed * 0.99;
  const TPoint2 p = Velocity(Speed);
  const TPoint2 q = enemy.Velocity(enemy.Speed);
  TurnFromBump(p, q);
}

}  // namespace game
