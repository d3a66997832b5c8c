#pragma once
// The keyboard and controller focus of the menu screens.

#include <cstdint>
#include <vector>

#include "engine/VexelButton.h"
#include "engine/VexelGUI.h"
#include "engine/VexelGUIList.h"

namespace game {

/// The focus that up and down move over a menu screen's buttons and that enter presses. It
/// moves over the visible, enabled buttons of the screen's widget list in creation order,
/// wrapping at either end; while none is shown the first press takes the first button. The
/// focused button is the GUI's HighlightID, so it is drawn with its hover picture, and any
/// mouse move or click hides it.
class TMenuFocus {
 public:
  /// The focus of the menus drawn by this GUI.
  explicit TMenuFocus(vexel::TVexelGUI& gui) : GUI_(gui) {}

  /// The buttons the focus moves over: the visible, enabled buttons of the list, in order.
  static std::vector<vexel::TVexelButton*> Buttons(const vexel::TVexelGUIList* list);
  /// Where the shown focus is among Buttons(list), or -1 when none is shown (a focus whose
  /// button has been hidden, disabled or freed is hidden here).
  int32_t Index(const vexel::TVexelGUIList* list);
  /// The focused button, or none.
  vexel::TVexelButton* Focused(const vexel::TVexelGUIList* list);
  /// Focuses Buttons(list)[index]; an index out of range hides the focus.
  void FocusAt(const vexel::TVexelGUIList* list, int32_t index);
  /// Moves the focus one button on (step 1) or back (step -1), wrapping; with none shown it
  /// takes the first button. Returns whether a button is focused now.
  bool Move(const vexel::TVexelGUIList* list, int32_t step);
  /// Clicks the focused button; returns whether there was one. Its action may leave the
  /// screen and free the list.
  bool Press(const vexel::TVexelGUIList* list);
  /// Hides the focus.
  void Hide() { GUI_.HighlightID = 0; }

 private:
  vexel::TVexelGUI& GUI_;
};

}  // namespace game
