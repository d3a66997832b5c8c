#pragma once
// The player's car.

#include <cstdint>
#include <string>

#include "Car.h"

namespace game {

class TEnemyCar;

/// The car the player drives with the keyboard, and the anchor of the race world: its sprite
/// stays at its screen point and it publishes each frame how far the world moves instead (the
/// shift along its travel and the bounce off opponents). It also measures its progress along the
/// opponents' path for the running order and pushes itself off the opponents it touches.
class TPlayer : public TCar {
 public:
  /// The player's car of the given type centred on (CentreX, CentreY), facing Heading.
  TPlayer(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY,
          int32_t carType, const std::string& name, double heading);

  /// One frame: the way back to the track, controls (or coasting), progress, position, world
  /// shift, motion, collisions, and the view following the car.
  void DoMove(float delta) override;
  /// Turns the held keys into throttle, brake, steering and handbrake, and consumes releases.
  void ApplyControls();
  /// Progress along the lap and the player's total progress in the race.
  void UpdatePathProgress();
  /// Place in the running order: 1 + the opponents strictly ahead.
  void UpdateRacePosition();
  /// Tests the quads of the opponents within 200 pixels and bumps off those touching.
  void CarCollisions();
  /// Pushes the world away from opponent Index and turns a little with the contact.
  void BumpOff(int32_t index);
  /// Tells the race that a bump with `enemy` began, as hard as their speeds differ.
  void ReportBump(const TEnemyCar& enemy);

  double BounceX = 0;
  double BounceY = 0;
  double ShiftX = 0;
  double ShiftY = 0;
  bool ControlsEnabled = false;
  int32_t NextCheckpoint = 0;
  /// The number of the checkpoint the player passed last, -1 before the first.
  int32_t LastCheckpoint = -1;
  double TargetX = 0;
  double TargetY = 0;
  TRaceTime LapClock;
  TRaceTime BestLap{NoBestTimeMinutes, 0, 0};
  bool LapTiming = false;
  bool PositionTracking = true;
  int32_t FinishPosition = 0;

 private:
  void Coast();
  void ApplyThrottle();
  void ApplySteering();
  void ApplyHandbrake();
  void ConsumeReleases();
};

}  // namespace game
