#pragma once
// The selection bar of the profile list.

#include <cstdint>
#include <random>

#include "engine/VexelImageList.h"
#include "engine/VexelSprite.h"

namespace game {

/// The pulsing bar that marks the chosen line of the profile list; it follows the shell's
/// profile cursor, one line every 15 pixels from y 352.
class TChooseLine : public vexel::TSprite {
 public:
  /// A bar at (X, Y) following the given profile cursor.
  TChooseLine(vexel::TVexelSprite& engine, vexel::TVexelImageList& menuImages, std::mt19937& random,
              float x, float y, const int32_t& profileCursor);

  /// Moves to the cursor's line and pulses between alpha 100 and 250.
  void DoMove(float delta) override;

  int32_t PulseStep = 5;

 private:
  const int32_t& ProfileCursor_;
};

}  // namespace game
