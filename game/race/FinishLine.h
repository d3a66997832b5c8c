#pragma once
// The finish line.

#include <array>

#include "RaceSprite.h"

namespace game {

class TEnemyCar;

/// The invisible finish line: it counts the laps of the cars that touch it, and hands out the
/// finishing places when a car completes its last lap (opponents first, in index order, then the
/// player). The player's crossing counts only when armed and after every checkpoint; an
/// opponent's only when it reached every tagged section of the lap. It follows the world.
class TFinishLine : public TRaceSprite {
 public:
  /// A finish line with its left edge at X, centred on Y, turned by Angle about its centre.
  TFinishLine(vexel::TVexelSprite& engine, TRaceWorld& world, double x, double y, double angle);

  /// Follows the world and counts the crossings of this frame.
  void DoMove(float delta) override;

  double Angle = 0;
  /// The top-left corner the line had in the track file, before the world moved.
  TPoint2 TrackPosition{};
  TQuad Quad{};
  std::array<double, 4> QuadAngles{};

 private:
  void CountOpponent(TEnemyCar& enemy, int32_t index);
  void CountPlayer();
};

}  // namespace game
