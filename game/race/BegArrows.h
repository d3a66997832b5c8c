#pragma once
// The start marker.

#include "RaceSprite.h"

namespace game {

/// The rotating ring of arrows around the player's car during the start lights; the shell fades
/// it out after the green light and removes it.
class TBegArrows : public TRaceSprite {
 public:
  /// A marker centred on (CentreX, CentreY).
  TBegArrows(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY);

  /// Turns one degree.
  void DoMove(float delta) override;
};

}  // namespace game
