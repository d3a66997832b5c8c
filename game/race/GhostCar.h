#pragma once
// The ghost car of a time trial.

#include <cstdint>

#include "RaceSprite.h"
#include "game/race/GhostRun.h"

namespace game {

/// The record's car in a time trial: the recorded car type drawn at half alpha under the
/// player's car, put each frame where the recorded run had it. It is no car of the race: it
/// follows no world shift of its own, touches nothing, makes no sound and is not on the map.
class TGhostCar : public TRaceSprite {
 public:
  /// How opaque the ghost is drawn (half of 255).
  static constexpr int32_t kAlpha = 128;
  /// Below the player's ring (49) and the cars (50), above the road and its paint.
  static constexpr int32_t kDepth = 48;

  /// A ghost of the given car type, hidden until first placed.
  TGhostCar(vexel::TVexelSprite& engine, TRaceWorld& world, int32_t carType);
  /// Puts the ghost where a recorded frame has the car: its centre in the track's coordinates
  /// moved to where the track lies in the race world now, and its heading.
  void Place(const TGhostFrame& frame);
};

}  // namespace game
