#include "Car.h"

#include <cmath>

#include "Dim.h"
#include "GroundPoint.h"
#include "game/AnglesAndRandom.h"

namespace game {
namespace {

constexpr int32_t kLeanLeftmost = 4;
constexpr int32_t kLeanStraight = 2;
constexpr double kDriftFollowFactor = 0.5;
constexpr double kCoastDecel = 0.011;
constexpr double kReverseLimit = -2.0;
constexpr double kBrakeDecel = 0.025;
constexpr double kRollingDrag = 0.005;
constexpr double kSkidDrag = 0.008;
constexpr double kProbeDistance = 20;
constexpr double kProbeOffset = 10;

/// The gap of the travel direction behind the heading: follow by a full turn above 70 degrees,
/// by a part of one (and skid) above 25.
void DriftTravelDir(TCar& car, double gap, double sign) {
  if (gap > 70) {
    car.TravelDir += sign * car.TurnRate;
  } else if (gap > 25) {
    car.TravelDir += sign * car.TurnRate * car.DriftFollowFactor;
    car.Skidding = true;
  }
}

}  // namespace

TCar::TCar(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY,
           int32_t carType, const std::string& name, double heading)
    : TRaceSprite(engine, world), CarType(carType) {
  UseImage(CarImageKey(carType));
  const double halfW = Width() / 2.0;
  const double halfH = Height() / 2.0;
  SmokeRadius = 2.0 / 3.0 * std::sqrt(halfW * halfW + halfH * halfH);
  const double beta = ArcTanDeg(static_cast<double>(Height()) / Width());
  SmokeAngleA = 360 - beta - 10;
  SmokeAngleB = beta + 180 + 10;
  SetName(name);
  SetPatternIndex(0);
  SetX(static_cast<float>(centreX - halfW));
  SetY(static_cast<float>(centreY - halfH));
  const double left = X();
  const double top = Y();
  Corners = {{{left + 2, top + 2},
              {left + 2, top + Height() - 2},
              {left + Width() - 2, top + Height() - 2},
              {left + Width() - 2, top + 2}}};
  const double alpha = ArcTanDeg((halfH - 3) / (halfW - 3));
  CornerAngles = {180 - alpha, alpha - 180, -alpha, alpha};
  SetZ(50);
  ResetHandling();
  Skidding = false;
  CenterX = CenterY = 0.5f;
  Heading = TravelDir = heading;
  Rotation = static_cast<float>(Heading - 90);
  FrontGroundPoint = engine.Create<TGroundPoint>(world, centreX, centreY - kProbeOffset, 90.0);
  RearGroundPoint = engine.Create<TGroundPoint>(world, centreX, centreY + kProbeOffset, -90.0);
  LapArmed = true;
}

void TCar::ResetHandling() {
  const TCarInfo& info = World.Catalogue.CarInfo[static_cast<size_t>(CarType)];
  Speed = 0;
  CurrentAccel = 0;
  TurnRate = info.TurnRate;
  Grip = info.Grip;
  DriftFollowFactor = kDriftFollowFactor;
  CoastDecel = kCoastDecel;
  MaxSpeed = info.MaxSpeed;
  ReverseLimit = kReverseLimit;
  Acceleration = info.Acceleration;
  BrakeDecel = kBrakeDecel;
  RollingDrag = kRollingDrag;
  SkidDrag = kSkidDrag;
}

void TCar::Accelerate() {
  if (Speed < MaxSpeed) CurrentAccel = Acceleration;
  if (Speed > MaxSpeed) Speed = MaxSpeed;
}

void TCar::Brake() {
  if (Speed > ReverseLimit) CurrentAccel = -BrakeDecel;
  if (Speed < ReverseLimit) Speed = ReverseLimit;
}

void TCar::SteerLeft() {
  LeanTowards(+1);
  if (Speed >= 0) {
    Heading -= TurnRate;
  } else {
    Heading += TurnRate;
    DriftTravelDir(*this, TravelDir - Heading, +1);
  }
  DriftTravelDir(*this, TravelDir - Heading, -1);
}

void TCar::SteerRight() {
  LeanTowards(-1);
  if (Speed > 0) {
    Heading += TurnRate;
    DriftTravelDir(*this, Heading - TravelDir, +1);
  } else {
    Heading -= TurnRate;
  }
  DriftTravelDir(*this, Heading - TravelDir, -1);
}

void TCar::CentreSteering() {
  if (SteerAnimTick % 5 == 0) {
    if (PatternIndex() > kLeanStraight) SetPatternIndex(PatternIndex() - 1);
    if (PatternIndex() < kLeanStraight) SetPatternIndex(PatternIndex() + 1);
    SteerAnimTick = 0;
  }
  ++SteerAnimTick;
}

void TCar::LeanTowards(int32_t step) {
  if (SteerAnimTick % 5 == 0) {
    if (step > 0 && PatternIndex() < kLeanLeftmost) SetPatternIndex(PatternIndex() + 1);
    if (step < 0 && PatternIndex() > 0) SetPatternIndex(PatternIndex() - 1);
    SteerAnimTick = 0;
  }
  ++SteerAnimTick;
}

void TCar::MotionStep(double accelScale) {
  UpdateSpeedAndRotation(accelScale);
  SettleTravelDir();
}

void TCar::UpdateSpeedAndRotation(double accelScale) {
  Speed += CurrentAccel * accelScale;
  if (Speed != 0) {
    Speed -= Speed * RollingDrag;
    if (Skidding) {
      const double v = Speed - Speed * SkidDrag;
      Speed = v > 0 ? v : 0;
    }
  }
  Rotation = static_cast<float>(Heading - 90);
}

void TCar::SettleTravelDir() {
  if (!Skidding) {
    const double step = std::fabs(TravelDir - Heading) > 5 ? TurnRate * Grip : 1.1;
    if (TravelDir < Heading) {
      TravelDir += step;
    } else if (TravelDir > Heading) {
      TravelDir -= step;
    }
  }
  if (Speed < 0.1 || Speed > 0.1 || std::fabs(Heading - TravelDir) < 0.1) Skidding = false;
}

void TCar::UpdateCorners() {
  const TPoint2 c = Centre();
  const double halfW = Width() / 2.0 - 3;
  const double halfH = Height() / 2.0 - 3;
  const double r = std::sqrt(halfW * halfW + halfH * halfH);
  for (size_t k = 0; k < Corners.size(); ++k) {
    const double angle = Rotation + CornerAngles[k];
    Corners[k] = {c.X + r * CosDeg(angle), c.Y + r * SinDeg(angle)};
  }
  for (TGroundPoint* probe : {FrontGroundPoint, RearGroundPoint}) {
    const double angle = Rotation + probe->ProbeAngle;
    probe->SetX(static_cast<float>(c.X + kProbeDistance * CosDeg(angle)));
    probe->SetY(static_cast<float>(c.Y + kProbeDistance * SinDeg(angle)));
  }
}

void TCar::EmitSmoke() {
  if (SmokeTick % 5 == 0) {
    SmokeTick = 0;
    SmokePuff(SmokeAngleA);
    SmokePuff(SmokeAngleB);
  }
  ++SmokeTick;
}

void TCar::SmokePuff(double angle) {
  const TPoint2 c = Centre();
  const double a = angle + Rotation;
  Engine().Create<TDim>(World, c.X + SmokeRadius * CosDeg(a), c.Y + SmokeRadius * SinDeg(a));
}

double TCar::MeasurePathProgress() const {
  const TPoint2 c = Centre();
  const int32_t count = World.PathCount;
  if (count == 0) return 0;
  const TPathPoint* path = World.PathPoints.data();
  int32_t a = 1;
  double bestSquare = 0;
  double best = 0;
  for (int32_t i = 1; i <= count; ++i) {
    const double dx = path[i - 1].X - c.X;
    const double dy = path[i - 1].Y - c.Y;
    const double square = dx * dx + dy * dy;
    // The square root is monotonic: only a smaller square can give a strictly smaller distance.
    if (i == 1 || (square < bestSquare && std::sqrt(square) < best)) {
      a = i;
      bestSquare = square;
      best = std::sqrt(square);
    }
  }
  const TPathPoint& pa = path[a - 1];
  const TPathPoint& pb = path[a == count ? 0 : a];
  const auto between = [](double v, double e1, double e2) {
    return (v >= e1 && v <= e2) || (v >= e2 && v <= e1);
  };
  TPoint2 q;
  bool inside = false;
  if (std::fabs(pb.X - pa.X) < 0.01) {
    q = {pa.X, c.Y};
    inside = between(c.Y, pa.Y, pb.Y);
  } else if (std::fabs(pb.Y - pa.Y) < 0.01) {
    q = {c.X, pa.Y};
    inside = between(c.X, pa.X, pb.X);
  } else {
    const double u = (pb.Y - pa.Y) / (pb.X - pa.X);
    const double v = (pa.X - pb.X) / (pb.Y - pa.Y);
    q.X = (pa.Y + c.X * v - pa.X * u - c.Y) / (v - u);
    q.Y = pa.Y + (q.X - pa.X) * u;
    inside = between(q.X, pa.X, pb.X) && between(q.Y, pa.Y, pb.Y);
  }
  const double s = inside ? 1 : -1;
  return s * Distance(q, {pa.X, pa.Y}) / 10 + World.PathDistanceAt(a);
}

double TCar::GroundFactor() const {
  return FrontGroundPoint->OnRoad || RearGroundPoint->OnRoad ? 1.0 : 0.3;
}

void TCar::DoCollision(vexel::TSprite*, int32_t, int32_t) {}

TPoint2 TCar::TravelUnit() const {
  if (Speed == 0) return {0, 0};
  return {CosDeg(TravelDir), SinDeg(TravelDir)};
}

TPoint2 TCar::Velocity(double speed) const {
  return {CosDeg(TravelDir) * speed, SinDeg(TravelDir) * speed};
}

void TCar::TurnFromBump(const TPoint2& own, const TPoint2& other) {
  const double k = own.X * other.Y - own.Y * other.X;
  const double turn = k > 0 ? 1.5 : k < 0 ? -1.5 : 0.0;
  Heading += turn;
  TravelDir += turn;
}

}  // namespace game
