#pragma once
// A bottom HUD panel.

#include <cstdint>

#include "RaceSprite.h"

namespace game {

/// One of the two bottom HUD panels: kind 0 ("speeder", the dial under the needle, which shows
/// its reverse cell while the player's car reverses) and kind 1 ("upspeeder", the glass above).
class TPanel : public TRaceSprite {
 public:
  /// A panel of the given kind with its top-left corner at (X, Y).
  TPanel(vexel::TVexelSprite& engine, TRaceWorld& world, float x, float y, int32_t kind);

  /// Kind 0 shows the forward or the reverse dial.
  void DoMove(float delta) override;

  int32_t PanelKind = 0;
};

}  // namespace game
