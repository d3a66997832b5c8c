#pragma once
// The ring that marks the player's car.

#include "RaceSprite.h"

namespace game {

/// The ring under the player's car for the whole race, in the player's colour, with a chevron
/// at the car's nose. It has no place of its own: each frame it is drawn centred where the
/// player's car is drawn and turned with it, so it follows the car whatever moves the race's
/// sprites on the screen. Its depth puts it above the road and below the cars.
class TPlayerMark : public TRaceSprite {
 public:
  /// The ring of the world's player (set before the ring is made).
  TPlayerMark(vexel::TVexelSprite& engine, TRaceWorld& world);

  /// Draws the ring under the player's car.
  void DoDraw() override;
};

}  // namespace game
