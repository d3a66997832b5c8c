#pragma once
// The promotion screen the game shows before it closes.

#include "ScreenGroup.h"

namespace game {

/// State 24, the only way out of the game: the widgets stop listening, the system pointer
/// comes back, and the promotion screen runs its countdown until its exit button closes the
/// window. Without a valid promotion layout the window closes at once.
class TClosingScreen : public TScreenGroup {
 public:
  using TScreenGroup::TScreenGroup;
  /// State 24.
  bool Owns(uint8_t state) const override { return state == 24; }
  /// Shows the promotion screen, or asks the window to close when there is none.
  void Enter(uint8_t state) override;
  /// The closing state is never left.
  void Leave(uint8_t) override {}
  /// Counts down, then moves and draws the promotion screen and the pointer.
  void Frame(uint8_t state) override;
};

}  // namespace game
