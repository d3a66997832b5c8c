#pragma once
// The help pages, the options screen and the exit confirmation.

#include <string>

#include "ScreenGroup.h"

namespace game {

/// States 6 (three help pages), 7 (options: full screen, music and sound switches and a free
/// text, applied or cancelled) and 10 (the exit confirmation, which saves and closes).
class THelpOptionsExit : public TScreenGroup {
 public:
  using TScreenGroup::TScreenGroup;
  /// States 6, 7 and 10.
  bool Owns(uint8_t state) const override { return state == 6 || state == 7 || state == 10; }
  /// Builds the screen and slides it in from the edge.
  void Enter(uint8_t state) override;
  /// Frees the screen (the options screen stores and writes its values first).
  void Leave(uint8_t state) override;
  /// One frame of the screen.
  void Frame(uint8_t state) override;
  /// The options screen's unapplied changes are dropped, as cancel drops them.
  void Abandon(uint8_t state) override;

 private:
  void EnterHelp();
  void HelpFrame();
  void ShowHelpPage(int32_t page);
  void NextPage();
  void PreviousPage();
  void EnterOptions();
  void OptionsFrame();
  void ApplyOptions();
  void CancelOptions();
  void RestoreOptions();
  void ToggleSwitch(size_t button, bool& setting, bool isSound);
  void EnterExit();
  void ExitFrame();
  void ConfirmExit();
  void BackToMenu(const char* sound);
  void DrawMenu(bool drawBeforeWidgets);

  int32_t HelpPage_ = 1;
  bool SavedSoundOn_ = true;
  bool SavedMusicOn_ = true;
  bool SavedFullScreen_ = false;
  std::string SavedOptionsText_;
};

}  // namespace game
