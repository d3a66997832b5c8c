#pragma once
// The logo sequence and the main menu.

#include "ScreenGroup.h"

namespace game {

/// States 3 (the two logos fading in and out, then the first-name screen or the main menu;
/// any key, click or controller button skips them)
/// and 4 (the main menu with its sliding button column).
class TMainMenuScreens : public TScreenGroup {
 public:
  using TScreenGroup::TScreenGroup;
  /// States 3 and 4.
  bool Owns(uint8_t state) const override { return state == 3 || state == 4; }
  /// Builds the logo sequence or the main menu.
  void Enter(uint8_t state) override;
  /// Ends the logos (making the menu scenery) or frees the menu's widgets.
  void Leave(uint8_t state) override;
  /// One frame of the logos or the menu.
  void Frame(uint8_t state) override;

  /// Frames the logo sequence lasts.
  static constexpr int32_t LogoFrames = 485;

 private:
  void EnterLogo();
  void LogoFrame();
  void EnterMainMenu();
  void MainMenuFrame();
  void SlideButtons();
  void GoTo(uint8_t state, bool clearKeys);
  void OpenLink(const std::string& file);
};

}  // namespace game
