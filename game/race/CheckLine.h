#pragma once
// A checkpoint line.

#include <array>
#include <cstdint>

#include "RaceSprite.h"

namespace game {

/// A numbered checkpoint line the player must pass in order. Only the line to pass next is
/// drawn, pulsing; it tells the player's car where to point the checkpoint arrow. Touching
/// checkpoint 2 arms the player's next lap. It follows the world and is never rotated.
class TCheckLine : public TRaceSprite {
 public:
  /// Checkpoint Number centred on (CentreX, CentreY).
  TCheckLine(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY,
             int32_t number);

  /// Follows the world, shows itself when next, counts the player's passing and pulses.
  void DoMove(float delta) override;

  int32_t Number = 0;
  TQuad Quad{};
  std::array<double, 4> QuadAngles{};
  int32_t PulseDir = 1;

 private:
  void TestPassing();
  void Pulse();
};

}  // namespace game
