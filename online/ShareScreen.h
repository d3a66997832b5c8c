#pragma once
// The promotion screen shown when the player quits: a full-screen picture, picture buttons
// that open files beside the game, and an exit button that works once a countdown has run.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "GoToLink.h"
#include "ShareButton.h"

namespace vexel {
class TVexelFont;
class TVexelImageList;
}  // namespace vexel

namespace online {

struct TShareLayout;

/// The promotion screen of the closing state. The form creates it at start-up and calls Load;
/// on entering the closing state it calls Begin and, when that says the screen is shown, runs
/// Frame once per frame inside its scene and hands left mouse presses to MouseDown; the window
/// may close only while CloseAllowed. Pictures go into the form's promotion image list and the
/// countdown is written with the given font.
class TShareScreen {
 public:
  /// An empty, valid screen drawing through the given list and font, opening files with links.
  TShareScreen(vexel::TVexelImageList& shareList, vexel::TVexelFont& font, const TGoToLink& links);

  /// Reads "wdata\config.ini" of the data folder, checks the files it names and loads the
  /// pictures and the countdown font; false when the layout file does not exist. Any fault
  /// clears Valid (Fault says why) and nothing is loaded.
  bool Load(const std::filesystem::path& dataDir);
  /// Entering the closing state: true when the screen is to be shown; otherwise the
  /// countdown is set to 0 so that the form may close at once.
  bool Begin();
  /// One frame of the closing state: the countdown step, the hover test at the pointer's
  /// back-buffer position and the drawing (inside the caller's scene).
  void Frame(int32_t mouseX, int32_t mouseY);
  /// Lowers the countdown by one frame (not below 0); at 0 the exit buttons become active.
  void CountdownStep();
  /// Sets every button's Hover from the pointer's back-buffer position.
  void UpdateHover(int32_t x, int32_t y);
  /// Draws the background, the buttons and, while it runs, the countdown number (nothing for a
  /// screen that is not Valid).
  void Draw();
  /// A left mouse press at a back-buffer position: clicks every button under the pointer (none
  /// on a screen that is not Valid).
  void MouseDown(int32_t x, int32_t y);
  /// Whether the countdown has run out, so that the window may close.
  bool CloseAllowed() const { return Countdown == 0; }
  /// The countdown number drawn now; 0 when none is drawn.
  int32_t CountdownNumber() const;
  /// The countdown in frames for a length of c seconds: c * 100 - 100, never below 0.
  static int32_t CountdownFrames(int32_t seconds);

  /// Called when the exit button asks the form to close (the form decides whether it may).
  std::function<void()> OnCloseRequest;

  bool Valid = true;
  /// Why the screen is not Valid; empty while it is.
  std::string Fault;
  int32_t ButtonTotal = 0;
  /// In file order; the last one is the exit button.
  std::vector<TButton> Buttons;
  std::string BackgroundFile;
  int32_t BackgroundIndex = -1;
  /// Frames left before the exit button works.
  int32_t Countdown = 0;
  bool FontSizeGiven = false;
  int32_t FontSize = 0;
  int32_t CountdownX = 0;
  int32_t CountdownY = 0;
  int32_t Color1 = 0;
  int32_t Color2 = 0;
  int32_t Color3 = 0;

 private:
  void Reset();
  void TakeLayout(const TShareLayout& layout);
  void Invalidate(const std::string& fault);
  void CheckFiles(const std::filesystem::path& dataDir);
  int32_t AddPicture(const std::filesystem::path& dataDir, const std::string& gamePath);
  void LoadPictures(const std::filesystem::path& dataDir);
  void SetCountdownFont();
  void ActivateExitButtons();
  void DrawPicture(int32_t index, int32_t x, int32_t y) const;
  void DrawCountdown();

  vexel::TVexelImageList& ShareList_;
  vexel::TVexelFont& Font_;
  const TGoToLink& Links_;
};

}  // namespace online
