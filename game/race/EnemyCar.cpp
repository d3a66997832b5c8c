#include "EnemyCar.h"

#include <cmath>
#include <cstdlib>

#include "Player.h"
#include "game/AnglesAndRandom.h"

namespace game {
namespace {

constexpr double kTargetBox = 160;
constexpr double kContactRange = 200;
constexpr double kGridRange = 100;
constexpr double kCreepAccel = 0.01;
constexpr double kOpponentAccelScale = 1.2;
constexpr double kOffScreenFactor = 0.5;

/// Whether nearest(T) equals nearest(c - 1), nearest(c) or nearest(c + 1).
bool AlmostAligned(double target, double c) {
  const int64_t t = NearestEven(target);
  return t == NearestEven(c) || t == NearestEven(c + 1) || t == NearestEven(c - 1);
}

/// Whether two headings (degrees, 0 .. 359 or -359 .. 0) are more than Limit apart every way
/// round.
bool LargeDifference(int64_t a, int64_t b, int64_t limit) {
  return std::llabs(b - a) > limit && std::llabs(b + 360 - a) > limit &&
         std::llabs(b - 360 - a) > limit;
}

}  // namespace

TEnemyCar::TEnemyCar(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY,
                     int32_t carType, const std::string& name, int32_t index, double heading)
    : TCar(engine, world, centreX, centreY, carType, name, heading), Index(index) {
  ++world.EnemyCount;
  const double halfH = Height() / 2.0;
  Feelers[0].Distance = halfH + 60;
  Feelers[0].Angle = 70;
  Feelers[1].Distance = halfH + 60;
  Feelers[1].Angle = 110;
  Feelers[2].Distance = halfH + 35;
  Feelers[2].Angle = 90;
  SectionPassed.fill(true);
  Paint_ = World.Image(CarImageKey(carType) + "paint");
  PaintColour = kOpponentColours[static_cast<size_t>(index) % kOpponentColours.size()];
}

void TEnemyCar::DoDraw() {
  TCar::DoDraw();
  if (Paint_) DrawCentred(*Paint_, PatternIndex(), PaintColour);
}

void TEnemyCar::DoMove(float delta) {
  TCar::DoMove(delta);
  FollowWorld();
  CheckCarAhead();
  if (Started) {
    Drive();
  } else {
    HoldOrCoast();
  }
  UpdatePathProgress();
  UpdateRacePosition();
  AccelFactor = World.OnRaceScreen ? GroundFactor() : kOffScreenFactor;
  MoveBy(CosDeg(TravelDir) * Speed, SinDeg(TravelDir) * Speed);
  UpdateSpeedAndRotation(kOpponentAccelScale * AccelFactor);
  if (Skidding && Speed > 2) EmitSmoke();
  SettleTravelDir();
  LastHeading = static_cast<float>(Heading);
  UpdateCorners();
  UpdateFeelers();
  CarContacts();
}

void TEnemyCar::HoldOrCoast() {
  SetPatternIndex(0);
  const TPathPoint& first = World.PathPoint(1);
  if (Distance({X(), Y()}, {first.X, first.Y}) > kGridRange) {
    const double half = CoastDecel / 2;
    if (Speed > half) {
      CurrentAccel = -half;
    } else if (Speed < -half) {
      CurrentAccel = half;
    }
  } else {
    CurrentAccel = kCreepAccel;
  }
}

void TEnemyCar::CheckCarAhead() {
  if (World.EnemyCount > 1) {
    for (int32_t i = 0; i < World.EnemyCount; ++i) {
      if (i != Index) AvoidIfAhead(World.Enemy(i), 15, false);
    }
  }
  AvoidIfAhead(*World.Player, 25, true);
}

void TEnemyCar::AvoidIfAhead(const TCar& other, double half, bool turnRightWhenLevel) {
  TFeeler& ahead = Feelers[2];
  if (!QuadsOverlap(SquareAround({ahead.X, ahead.Y}, half), other.Corners)) return;
  const TPoint2 v = UnitVector(Centre(), other.Centre());
  const double k = CosDeg(TravelDir) * v.Y - SinDeg(TravelDir) * v.X;
  if (k > 0) {
    ahead.AvoidLeft = true;
    ahead.AvoidRight = false;
  } else if (k < 0 || turnRightWhenLevel) {
    ahead.AvoidLeft = false;
    ahead.AvoidRight = true;
  }
}

void TEnemyCar::Drive() {
  TDecision decision;
  const TPoint2 c = Centre();
  const TPathPoint target = World.PathPoint(TargetPathIndex);
  DecideSteering(c, target, decision);
  AdvanceTarget(c, target);
  Bearing = static_cast<float>(ArcTan2Deg(target.Y - c.Y, target.X - c.X));
  DecideSpeed(decision);
  AvoidCarsAndObstacles(decision);
  Act(decision);
}

void TEnemyCar::DecideSteering(const TPoint2& c, const TPathPoint& target, TDecision& decision) {
  if (AlmostAligned(target.X, c.X) || AlmostAligned(target.Y, c.Y)) return;
  double h = static_cast<double>(NearestEven(Heading) % 360);
  if (h < 0) h = Heading + 360;
  const TPoint2 n = UnitVector({target.X, target.Y}, c);
  const double p = n.X * SinDeg(h) - CosDeg(h) * n.Y;
  if (p > 0.01) {
    decision.Right = true;
  } else if (p < -0.01) {
    decision.Left = true;
  } else {
    SetPatternIndex(0);
  }
}

void TEnemyCar::AdvanceTarget(const TPoint2& c, const TPathPoint& target) {
  if (std::fabs(target.X - c.X) >= kTargetBox || std::fabs(target.Y - c.Y) >= kTargetBox) return;
  TargetPathIndex = TargetPathIndex == World.PathCount ? 1 : TargetPathIndex + 1;
  const int32_t tag = World.PathPoint(TargetPathIndex).Tag;
  if (tag == 3) LapArmed = true;
  if (tag >= 2 && tag < World.TaggedPathCount) SectionPassed[static_cast<size_t>(tag)] = true;
}

void TEnemyCar::DecideSpeed(TDecision& decision) const {
  const int64_t a = NearestEven(LastHeading) % 360;
  const int64_t b = NearestEven(Bearing) % 360;
  if (LargeDifference(a, b, 30) && CosDeg(static_cast<double>(std::llabs(b - a))) * 1 + 2 < Speed) {
    decision.Brake = true;
  } else if (LargeDifference(a, b, 50) && Speed > 1) {
    decision.Brake = true;
  } else {
    decision.Accelerate = true;
  }
}

void TEnemyCar::AvoidCarsAndObstacles(TDecision& decision) {
  TFeeler& ahead = Feelers[2];
  if (ahead.AvoidRight) {
    decision.Right = true;
    decision.Left = false;
  }
  if (ahead.AvoidLeft) {
    decision.Left = true;
    decision.Right = false;
  }
  ahead.AvoidRight = ahead.AvoidLeft = false;
  for (size_t j = 0; j < 2; ++j) {
    TFeeler& feeler = Feelers[j];
    if (!feeler.Blocked) continue;
    decision.Right = j == 0;
    decision.Left = j == 1;
    feeler.Blocked = false;
    if (Speed > 6) {
      decision.Brake = true;
      decision.Accelerate = false;
    }
  }
}

void TEnemyCar::Act(const TDecision& decision) {
  if (decision.Accelerate) Accelerate();
  if (decision.Brake) Brake();
  if (decision.Left) SteerLeft();
  if (decision.Right) SteerRight();
  if (!decision.Left && !decision.Right) CentreSteering();
}

void TEnemyCar::UpdatePathProgress() {
  PathProgress = MeasurePathProgress();
  World.EnemyProgress[static_cast<size_t>(Index)] = (Lap + 1) * World.LapLength() + PathProgress;
}

void TEnemyCar::UpdateRacePosition() {
  const double own = World.EnemyProgress[static_cast<size_t>(Index)];
  int32_t ahead = 0;
  if (World.EnemyCount > 1) {
    for (int32_t i = 0; i < World.EnemyCount; ++i) {
      if (i != Index && World.EnemyProgress[static_cast<size_t>(i)] > own) ++ahead;
    }
  }
  if (World.PlayerProgress > own) ++ahead;
  RacePosition = 1 + ahead;
}

void TEnemyCar::UpdateFeelers() {
  const TPoint2 c = Centre();
  for (TFeeler& feeler : Feelers) {
    const double angle = Rotation + feeler.Angle;
    feeler.X = c.X + feeler.Distance * CosDeg(angle);
    feeler.Y = c.Y + feeler.Distance * SinDeg(angle);
  }
}

void TEnemyCar::CarContacts() {
  if (World.EnemyCount > 1) {
    const TPoint2 c = Centre();
    for (int32_t i = 0; i < World.EnemyCount; ++i) {
      const TEnemyCar& other = World.Enemy(i);
      if (i == Index || Distance(c, other.Centre()) >= kContactRange) continue;
      const bool touching = QuadsOverlap(Corners, other.Corners);
      // Both cars of a pair see the bump begin: the one of the lower index tells the race.
      if (touching && !CarContact[static_cast<size_t>(i)] && Index < i) ReportBump(other);
      CarContact[static_cast<size_t>(i)] = touching;
    }
    for (int32_t i = 0; i < World.EnemyCount; ++i) {
      if (CarContact[static_cast<size_t>(i)]) BumpOff(World.Enemy(i));
    }
  }
  PlayerContact = QuadsOverlap(Corners, World.Player->Corners);
  if (PlayerContact) BumpOff(*World.Player);
}

void TEnemyCar::BumpOff(const TCar& other) {
  const TPoint2 n = UnitVector(other.Centre(), Centre());
  const TPoint2 m = TravelUnit();
  MoveBy((std::fabs(m.X) / 2 + 0.5) * 2 * n.X, (std::fabs(m.Y) / 2 + 0.5) * 2 * n.Y);
  const TPoint2 p{m.X * Speed, m.Y * Speed};
  Speed = Speed * 0.95;
  const TPoint2 q = other.Velocity(other.Speed);
  TurnFromBump(p, q);
}

void TEnemyCar::ReportBump(const TCar& other) const {
  const TPoint2 a = Centre();
  const TPoint2 b = other.Centre();
  World.ReportImpact({(a.X + b.X) / 2, (a.Y + b.Y) / 2},
                     Distance(Velocity(Speed), other.Velocity(other.Speed)));
}

bool TEnemyCar::SectionsComplete() const {
  for (int32_t t = 2; t < World.TaggedPathCount; ++t) {
    if (!SectionPassed[static_cast<size_t>(t)]) return false;
  }
  return true;
}

void TEnemyCar::ClearSections() {
  for (int32_t t = 2; t < World.TaggedPathCount; ++t) SectionPassed[static_cast<size_t>(t)] = false;
}

}  // namespace game
