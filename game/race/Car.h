#pragma once
// The car every racer drives.

#include <array>
#include <cstdint>
#include <string>

#include "RaceSprite.h"
#include "RaceWorld.h"
#include "game/RaceTime.h"

namespace game {

class TGroundPoint;

/// A car of the race: the handling values of its car type, its motion state (speed, heading,
/// direction of travel, skid), the four driving primitives the keyboard and the opponent driver
/// share, the per-frame motion step, the rotated collision quad and the two road probes.
/// Speeds are pixels per frame and angles degrees (0 along +x, 90 along +y), never reduced
/// modulo 360. The player's car and the opponents derive from it and supply DoMove.
class TCar : public TRaceSprite {
 public:
  /// A car of the given type centred on (CentreX, CentreY), facing Heading.
  TCar(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY,
       int32_t carType, const std::string& name, double heading);

  /// Speed and acceleration to 0 and the handling values back to those of the car type.
  void ResetHandling();
  /// Throttle: accelerates below MaxSpeed and cuts a speed above it.
  void Accelerate();
  /// Brake, and past zero reverse: decelerates above ReverseLimit and cuts a speed below it.
  void Brake();
  /// Steers left: the picture leans, the heading turns and the travel direction may drift.
  void SteerLeft();
  /// Steers right (not a mirror image of SteerLeft).
  void SteerRight();
  /// Leans the picture back to the straight pose while no steering key is held.
  void CentreSteering();
  /// The motion step of one frame: speed, drag, rotation, travel direction and skid.
  void MotionStep(double accelScale);
  /// Recomputes the collision quad and places the two road probes ahead and behind.
  void UpdateCorners();
  /// Puffs smoke at the two rear corners every fifth call.
  void EmitSmoke();
  /// Progress of the car's centre along the lap, in units of 10 pixels (negative before the
  /// nearest path point when the centre does not project onto its segment).
  double MeasurePathProgress() const;
  /// AccelFactor on the road (1.0, when either probe found road last frame) or off it (0.3).
  double GroundFactor() const;
  /// Cars take no part in the engine's collisions.
  void DoCollision(vexel::TSprite* other, int32_t hitX, int32_t hitY) override;
  /// Unit vector of the travel direction, or (0, 0) while the car stands.
  TPoint2 TravelUnit() const;
  /// Velocity along the travel direction at the given speed.
  TPoint2 Velocity(double speed) const;
  /// After a bump: turns heading and travel direction 1.5 degrees by the sign of the cross
  /// product of this car's motion and the other car's (not at all when they are parallel).
  void TurnFromBump(const TPoint2& own, const TPoint2& other);

  int32_t SteerAnimTick = 0;
  double TurnRate = 0;
  double Grip = 0;
  double DriftFollowFactor = 0;
  double CoastDecel = 0;
  double Speed = 0;
  double MaxSpeed = 0;
  double ReverseLimit = 0;
  double Acceleration = 0;
  double BrakeDecel = 0;
  double CurrentAccel = 0;
  double Heading = 0;
  double TravelDir = 0;
  double RollingDrag = 0;
  double SkidDrag = 0;
  bool Skidding = false;
  int32_t SmokeTick = 0;
  /// The collision quad: the rectangle inset by 3 pixels, rotated with the sprite.
  TQuad Corners{};
  std::array<double, 4> CornerAngles{};
  /// Per opponent index: the quads overlapped when last tested.
  std::array<bool, MaxOpponents> CarContact{};
  TGroundPoint* FrontGroundPoint = nullptr;
  TGroundPoint* RearGroundPoint = nullptr;
  double AccelFactor = 0;
  int32_t Lap = 0;
  double PathProgress = 0;
  int32_t RacePosition = 0;
  /// Elapsed race time, advanced by the race clock.
  TRaceTime RaceTime;
  int32_t CarType = 0;
  bool LapArmed = true;
  double SmokeRadius = 0;
  double SmokeAngleA = 0;
  double SmokeAngleB = 0;

 protected:
  /// Steps 1 to 3 of the motion step: speed, drag and rotation.
  void UpdateSpeedAndRotation(double accelScale);
  /// Steps 4 and 5 of the motion step: the travel direction catches up and the skid ends.
  void SettleTravelDir();

 private:
  void LeanTowards(int32_t step);
  void SmokePuff(double angle);
};

}  // namespace game
