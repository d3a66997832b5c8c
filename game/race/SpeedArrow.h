#pragma once
// The speedometer needle.

#include "RaceSprite.h"

namespace game {

/// The needle of the speedometer, turning about its bottom middle: 585 degrees at rest, 190
/// degrees less at top speed forwards or at the reverse limit.
class TSpeedArrow : public TRaceSprite {
 public:
  /// A needle with its picture's top-left at (X, Y), scaled to the player's speed limits.
  TSpeedArrow(vexel::TVexelSprite& engine, TRaceWorld& world, float x, float y, double maxSpeed,
              double reverseLimit);

  /// Points at the player's speed.
  void DoMove(float delta) override;

  double MaxSpeed = 0;
  double ReverseLimit = 0;
  double NeedleAngle = 0;
};

}  // namespace game
