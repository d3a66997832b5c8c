#pragma once
// The first-name entry and the profile screens.

#include <string>

#include "ScreenGroup.h"

namespace game {

class TChooseLine;

/// States 1 (the first name, when no profile exists), 20 (the list of up to ten players),
/// 21 (a new player's name) and 22 (deleting the highlighted player). Every click on these
/// screens sounds, whatever the sound switch says.
class TProfileScreens : public TScreenGroup {
 public:
  using TScreenGroup::TScreenGroup;
  /// States 1, 20, 21 and 22.
  bool Owns(uint8_t state) const override {
    return state == 1 || state == 20 || state == 21 || state == 22;
  }
  /// Builds the screen and slides it in.
  void Enter(uint8_t state) override;
  /// Frees the screen; the name screens and the list write "Config.cfg" first.
  void Leave(uint8_t state) override;
  /// One frame of the screen.
  void Frame(uint8_t state) override;

 private:
  void EnterNameScreen(uint8_t state);
  void NameFrame(uint8_t state);
  void CreateFirstProfile();
  void CreateProfile();
  void EnterList();
  void ListFrame();
  void UpdateListButtons();
  void MoveCursor(int32_t step);
  void SelectProfile();
  void EnterDelete();
  void DeleteFrame();
  void DeleteProfile();
  void SlidePanelUp();
  bool NameTyped() const;

  TChooseLine* ChooseLine_ = nullptr;
};

}  // namespace game
