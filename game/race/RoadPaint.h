#pragma once
// Paint on the road.

#include <cstdint>

#include "RaceSprite.h"

namespace game {

/// A painted decoration placed by the track file, drawn rotated about its centre: a decal
/// (mode 0, "inplace"), the start line (mode 1) or flowers (modes 5 and 6, a random cell of
/// "romhor" or "romver"). Its unrotated rectangle counts as road. It follows the world.
class TRoadPaint : public TRaceSprite {
 public:
  /// Paint of the given mode centred on (CentreX, CentreY), turned by Angle degrees.
  TRoadPaint(vexel::TVexelSprite& engine, TRaceWorld& world, float centreX, float centreY,
             double angle, int32_t mode);

  /// Follows the world.
  void DoMove(float delta) override;
};

}  // namespace game
