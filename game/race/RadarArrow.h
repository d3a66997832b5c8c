#pragma once
// The checkpoint pointer of the HUD.

#include "RaceSprite.h"

namespace game {

/// The arrow on the HUD that points from the player's car towards the next checkpoint line. It
/// stays on the HUD and does not follow the world.
class TRadarArrow : public TRaceSprite {
 public:
  /// An arrow centred on (CentreX, CentreY).
  TRadarArrow(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY);

  /// Turns towards the player's checkpoint target.
  void DoMove(float delta) override;
};

}  // namespace game
