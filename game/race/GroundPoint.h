#pragma once
// A car's road probe.

#include "RaceSprite.h"

namespace game {

/// An invisible probe a car places 20 pixels ahead of or behind its centre; each frame it finds
/// whether its point lies on a road piece or road paint (their unrotated rectangles).
class TGroundPoint : public TRaceSprite {
 public:
  /// A probe centred on (CentreX, CentreY); ProbeAngle is +90 ahead of the car, -90 behind.
  TGroundPoint(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY,
               double probeAngle);

  /// Looks for road under the probe's point (X, Y).
  void DoMove(float delta) override;

  bool OnRoad = false;
  double ProbeAngle = 0;
};

}  // namespace game
