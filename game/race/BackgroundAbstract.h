#pragma once
// A tiled, scrolling background.

#include <cstdint>
#include <string>

#include "RaceSprite.h"

namespace game {

/// A background picture tiled over the whole screen: it scrolls with 0.7 of the world's
/// movement (parallax), wraps in both directions and draws enough copies to cover the screen.
class TBackgroundAbstract : public TRaceSprite {
 public:
  /// A background on the engine; Setup gives it its picture.
  TBackgroundAbstract(vexel::TVexelSprite& engine, TRaceWorld& world);

  /// Takes the whole race picture ImageKey as one tile, placed at (X, Y) or centred on the
  /// screen, at depth Z with the given alpha.
  void Setup(const std::string& imageKey, int32_t z, bool centred, int32_t alpha, float y, float x);
  /// Scrolls by 0.7 of the player's shift and bounce.
  void DoMove(float delta) override;
  /// Wraps the position and draws the tiles.
  void DoDraw() override;

  int32_t TilesX = 0;
  int32_t TilesY = 0;
};

}  // namespace game
