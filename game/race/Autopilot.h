#pragma once
// A driver for the player's car that uses the keyboard like a player.

#include <cstdint>

#include "game/race/RaceWorld.h"

namespace game {

/// Drives the player's car round the track through the key flags alone, as a player at the
/// keyboard would: it follows the opponents' driving path, aiming at a point ahead that moves
/// further out with speed, brakes early enough for the sharpest bend within its braking
/// distance, avoids the right-hand skid that leaves the travel direction behind, and backs out
/// when it has been stuck for a while.
class TAutopilot {
 public:
  /// A driver for the race's player car.
  explicit TAutopilot(game::TRaceWorld& world);

  /// Presses and releases the keys for the coming frame.
  void Drive();

 private:
  void Press(int32_t key);
  void Release(int32_t key);
  void ReleaseAll();
  int32_t NearestAround(int32_t index) const;
  int32_t Next(int32_t index) const;
  double SafeSpeed(int32_t from) const;
  void Steer(double error);
  void Throttle(double wanted);
  void BackOut(double error);

  game::TRaceWorld& World_;
  /// The path point the car is nearest to (counted from 1); 0 until the first frame.
  int32_t Nearest_ = 0;
  int32_t StalledFrames_ = 0;
  int32_t ReverseFrames_ = 0;
};

}  // namespace game
