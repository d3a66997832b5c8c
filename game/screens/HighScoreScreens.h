#pragma once
// The local high-score table and its clearing confirmation.

#include "ScreenGroup.h"

namespace game {

/// States 8 (the ten best names and scores, links to the world scores and the records) and 9
/// (whether to keep the table: "b_yes" keeps it, "b_no" resets it; left, right, up, down and
/// enter work too).
class THighScoreScreens : public TScreenGroup {
 public:
  using TScreenGroup::TScreenGroup;
  /// States 8 and 9.
  bool Owns(uint8_t state) const override { return state == 8 || state == 9; }
  /// Builds the table screen or the confirmation.
  void Enter(uint8_t state) override;
  /// Frees the screen's widgets and panel.
  void Leave(uint8_t state) override;
  /// One frame of the screen.
  void Frame(uint8_t state) override;
  /// Draws the ten rows of the table.
  void DrawHighScores();

  /// Which confirmation button enter presses; kept between visits.
  int32_t HighScoreFocus = 0;

 private:
  void EnterTable();
  void TableFrame();
  void EnterConfirm();
  void ConfirmFrame();
  void FollowFocus(bool movedSideways);
  void KeepTable();
  void ResetTable();
  void BackToTable();

  /// The table's panel under the confirmation (above the menu scenery, below the question).
  TMenuScreen* TableBehind_ = nullptr;
};

}  // namespace game
