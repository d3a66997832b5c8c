#pragma once
// A smoke puff.

#include <cstdint>

#include "RaceSprite.h"

namespace game {

/// A puff of tyre or exhaust smoke: it follows the world, grows and fades every third frame and
/// removes itself at its 15th frame.
class TDim : public TRaceSprite {
 public:
  /// A puff centred near (CentreX, CentreY), up to 5 pixels off at random.
  TDim(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY);

  /// Follows the world, grows, fades and at last kills itself.
  void DoMove(float delta) override;

  int32_t Age = 1;
};

}  // namespace game
