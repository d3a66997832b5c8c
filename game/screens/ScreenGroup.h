#pragma once
// What every group of screen states shares: building widgets and panels, and the menu frame.

#include <cstdint>
#include <functional>
#include <string>

#include "MenuScreen.h"
#include "engine/VexelButton.h"
#include "engine/VexelEdit.h"
#include "engine/VexelGUI.h"

namespace game {

class TForm1;

/// A group of related screen states kept in one file. The form calls Enter, Leave and Frame
/// with a state number the group owns; the helpers build the widgets and panels the way every
/// screen of the game does.
class TScreenGroup {
 public:
  /// A group working on the given form.
  explicit TScreenGroup(TForm1& form) : Form_(form) {}
  virtual ~TScreenGroup() = default;
  TScreenGroup(const TScreenGroup&) = delete;
  TScreenGroup& operator=(const TScreenGroup&) = delete;

  /// Whether the group runs this state.
  virtual bool Owns(uint8_t state) const = 0;
  /// Builds the state; the form has made it current (TForm1::ChangeState).
  virtual void Enter(uint8_t state) = 0;
  /// Tears the state down.
  virtual void Leave(uint8_t state) = 0;
  /// Runs one frame of the state.
  virtual void Frame(uint8_t state) = 0;
  /// The game ends while the state is shown: drops what the player has not confirmed on it
  /// (nothing, unless the state keeps such changes in the settings).
  virtual void Abandon(uint8_t) {}

 protected:
  /// Makes the screen's widget list "GUI2" (freeing the one before).
  void NewWidgetList();
  /// Frees the screen's widget list and forgets its buttons.
  void FreeWidgets();
  /// Up and down released move the focus over the screen's buttons, with "check2" when a
  /// button takes it.
  void MoveFocusByKeys();
  /// Whether a focus is shown on the screen's buttons.
  bool FocusShown();
  /// Presses the focused button, if a focus is shown. Returns whether it did; the button's
  /// action may have left the screen, so the frame ends there.
  bool PressFocused();
  /// For screens where enter means nothing else: takes a released enter and presses the
  /// focused button with it. Returns whether a button was pressed (then the frame ends).
  bool PressFocusByEnter();
  /// A button showing `key` (cell 0, cell 1 on hover) at (left, top) running `action`.
  vexel::TVexelButton* AddButton(const std::string& key, int32_t left, int32_t top,
                                 std::function<void()> action,
                                 vexel::TVexelImageList* images = nullptr);
  /// An edit box "key" of 12 characters at (left, top) after the widget font is made from the
  /// system font "MathSoftText" at `size` in grey `shade`; it becomes the screen's edit box.
  vexel::TVexelEdit& AddNameBox(const std::string& key, int32_t left, int32_t top, int32_t size,
                                int32_t shade);
  /// Shows another picture on a button (a switch's on and off), cell 1, no hover picture.
  void ShowSwitch(vexel::TVexelButton& button, const std::string& key);
  /// The screen's panel named `name` showing `key` at (x, y), depth z (menu pictures).
  TMenuScreen* MakePanel(const std::string& name, const std::string& key, float x, float y,
                         int32_t z, int32_t alpha = 255);
  /// Kills the screen's panel, if any.
  void KillPanel();
  /// Clears the back buffer, begins the scene and a batch of the menu pictures.
  void BeginFrame(vexel::TVexelImageList* images = nullptr);
  /// Draws "mainback" at the top-left corner.
  void DrawBackground(int32_t cell = 0);
  /// Ends the batch and the scene, which presents the frame.
  void EndFrame(vexel::TVexelImageList* images = nullptr);
  /// Moves the pointer and draws it above everything else.
  void DrawCursor(bool move = true);
  /// One frame of a table over the menu scenery: escape goes back to `backState` with
  /// "check2", the keys work the buttons, and `drawTable` draws the rows over the widgets.
  void TableScreenFrame(uint8_t backState, const std::function<void()>& drawTable);
  /// Draws the greeting ticker at the top of the menus.
  void DrawInfoLine();
  /// Draws the three menu lights once more, above the widgets.
  void DrawLightsAgain();
  /// Draws cell 2 of a picture: a disabled button.
  void DrawDisabled(const std::string& key, int32_t x, int32_t y);
  /// One step of the caret blink of an edit box.
  void BlinkCaret(vexel::TVexelEdit& edit);
  /// Moves a value towards its target by `step`, never past it.
  static int32_t SlideTowards(int32_t value, int32_t target, int32_t step);

  TForm1& Form_;
};

}  // namespace game
