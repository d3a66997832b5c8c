#pragma once
// A light of the main-menu scenery.

#include <cstdint>
#include <random>

#include "engine/VexelImageList.h"
#include "engine/VexelSprite.h"

namespace game {

/// A glow of the menu scenery ("light1" or "light2" of the menu pictures) that stays dark for
/// its random wait, fades in over 255 frames and out over 255 frames, and repeats.
class TLight : public vexel::TSprite {
 public:
  /// A light of kind 0 or 1 with its top-left corner at (X, Y).
  TLight(vexel::TVexelSprite& engine, vexel::TVexelImageList& menuImages, std::mt19937& random,
         float x, float y, int32_t kind);

  /// Waits, then fades in and out.
  void DoMove(float delta) override;

  int32_t Tick = 1;
  int32_t Wait = 0;
  int32_t FadeDir = 1;
};

}  // namespace game
