#pragma once
// The results of a time trial: the time, the best lap, the record and the difference to it.

#include <array>
#include <cstdint>
#include <string>

#include "ResultsScreen.h"

namespace game {

class TTimeTrialRun;

/// The screen state of a time trial's results.
inline constexpr uint8_t kTrialResultsState = 25;

/// State 25: the results over the finished time trial. It shows the run's time and best lap,
/// the profile's record for the track and car before the run and the difference to it (a first
/// run says it has none), and a new record when the run set one. It counts no points and
/// changes no progress, best time or high score. "bro_next" returns to the track choice;
/// "bro_replay" saves the run's replay, as after a race.
class TTrialOverScreen : public TResultsScreen {
 public:
  /// The results screen of a form; `race` holds the finished time trial.
  TTrialOverScreen(TForm1& form, TRaceScreens& race) : TResultsScreen(form, race) {}
  /// State 25.
  bool Owns(uint8_t state) const override { return state == kTrialResultsState; }
  /// Music, buttons and panel.
  void Enter(uint8_t state) override;
  /// Draws the standing track, the panel and the results.
  void Frame(uint8_t state) override;

  /// The lines the panel shows, top to bottom: time, best lap, record and difference, and the
  /// sentence under them.
  static std::array<std::string, 5> ResultTexts(const TTimeTrialRun& trial);

 private:
  void DrawResults();
  void SaveReplay();
  void ReturnToTrackChoice();
};

}  // namespace game
