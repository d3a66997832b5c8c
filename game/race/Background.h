#pragma once
// The race background.

#include "BackgroundAbstract.h"

namespace game {

/// The grass under the whole race, tiled from the "grass" picture; the track loader makes it
/// first so that it lies beneath every road object. ShiftWorld moves it by the full amount.
class TBackground : public TBackgroundAbstract {
 public:
  /// The grass background at (0, 0), depth 0, opaque.
  TBackground(vexel::TVexelSprite& engine, TRaceWorld& world);
};

}  // namespace game
