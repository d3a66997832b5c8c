#pragma once
// A road piece.

#include <cstdint>

#include "RaceSprite.h"

namespace game {

/// A piece of the drivable surface placed by the track file: a straight (kinds 1, 2), a corner
/// (kinds 11 .. 14, one cell of "roadroters" each) or an invisible 10 by 10 patch (kinds 3 .. 10).
/// Its whole unrotated rectangle counts as road for the ground probes. It follows the world.
class TRoadPart : public TRaceSprite {
 public:
  /// A road piece of the given kind with its top-left corner at (X, Y).
  TRoadPart(vexel::TVexelSprite& engine, TRaceWorld& world, float x, float y, int32_t kind);

  /// Follows the world.
  void DoMove(float delta) override;
};

}  // namespace game
