#pragma once
// What the results panels over a finished race or time trial share.

#include <cstdint>
#include <functional>
#include <string>

#include "ScreenGroup.h"

namespace game {

class TRaceScreens;

/// A results panel over the finished race going on behind it: its set-up, its "bro_replay"
/// button, its tear-down and the frame around its texts.
class TResultsScreen : public TScreenGroup {
 public:
  /// A results screen of a form; `race` holds the finished race.
  TResultsScreen(TForm1& form, TRaceScreens& race) : TScreenGroup(form), Race_(race) {}
  /// Kills the panel and frees the buttons.
  void Leave(uint8_t state) override;

 protected:
  /// The results music, no keys held, the results font and a new widget list.
  void BeginResults();
  /// After the buttons made so far, "bro_replay" running `save` when the race left a replay.
  void AddReplayButton(std::function<void()> save);
  /// The "finish" sound and the panel `name` showing `key` of the race pictures.
  void ShowPanel(const std::string& name, const std::string& key);
  /// Takes the keys over the buttons and begins the frame with the race, the panel and the
  /// buttons drawn; false when a pressed button ended the frame.
  bool BeginResultsFrame();
  /// Draws the pointer and presents the frame.
  void EndResultsFrame();

  TRaceScreens& Race_;
  TGameMenuScreen* Panel_ = nullptr;
};

}  // namespace game
