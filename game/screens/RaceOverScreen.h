#pragma once
// The results of a race: place, time, the points counted into the score, unlocks, and the
// choice to send the score.

#include <string>
#include <vector>

#include "RaceHud.h"
#include "ResultsScreen.h"
#include "game/RaceTime.h"

namespace game {

class TRaceScreens;

/// What a race's gain opens on the unlock ladder.
enum class TUnlock { None, Track, Car };

class TRaceWorld;

/// One line of a race's standings: a car's place, who it is (an opponent's index or
/// PlayerWho) and, once it has finished, its race time.
struct TStanding {
  int32_t Place = 0;
  int32_t Who = 0;
  bool Finished = false;
  TRaceTime Time;

  bool operator==(const TStanding&) const = default;
};

/// State 16: the results over the finished race. The reward for 1st to 3rd place is counted
/// into the score one point a frame; when the score passes the next target the ladder opens
/// tracks or a car. The race goes on behind the panel until every car has finished, and the
/// standings beside it fill in as they do. "bro_next" saves the result, then "b_yes1" or "b_no1"
/// returns to the track choice with or without sending the score.
class TRaceOverScreen : public TResultsScreen {
 public:
  /// The results screen of a form; `hud` draws the results block, `race` ends the race.
  TRaceOverScreen(TForm1& form, TRaceHud& hud, TRaceScreens& race)
      : TResultsScreen(form, race), Hud_(hud) {}
  /// State 16.
  bool Owns(uint8_t state) const override { return state == 16; }
  /// Music, buttons, panel and the reward of the finishing place.
  void Enter(uint8_t state) override;
  /// Counts the reward, tests the unlock ladder and draws the results.
  void Frame(uint8_t state) override;

  /// What the ladder opens for a race that started at `startScore` and gained `gain`: the next
  /// stage's kind when the gain takes the score strictly past the target, else nothing.
  static TUnlock UnlockDue(int32_t unlockStage, int32_t targetScore, int32_t startScore,
                           int32_t gain);
  /// Every car of the race in place order: the finished ones with their times, then the ones
  /// still racing in their running order.
  static std::vector<TStanding> Standings(const TRaceWorld& race);
  /// Stores a better best time and the profile ("bro_next").
  void SaveRaceResult();
  void SaveReplay();
  void DropReplayButton();
  /// Writes the form's last replay to "replays/" in the settings folder, named after `title`,
  /// the time and the date; says on standard error where it went or why it could not.
  static void KeepReplay(TForm1& form, const std::string& title, const TRaceTime& time);
  /// Ends the race and returns to the track choice, sending the score when asked.
  void ReturnFromRace(bool send);

  int32_t RaceBonus = 0;
  int32_t RaceStartScore = 0;
  int32_t RaceGain = 0;
  int32_t ResultLines = 0;
  bool TrackUnlockShown = false;
  bool CarUnlockShown = false;

 private:
  void CountPoints();
  void TestUnlock();
  void DrawAnnouncement();
  void DrawStandings();

  TRaceHud& Hud_;
};

}  // namespace game
