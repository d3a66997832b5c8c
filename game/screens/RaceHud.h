#pragma once
// The texts drawn over a race and on its results.

#include <cstdint>
#include <string>

namespace game {

class TForm1;
struct TRaceTime;

/// The race's text blocks: lap, position, time and best lap at the bottom right of the race
/// and its overlays, and the results block (place, time, points to count, score).
class TRaceHud {
 public:
  /// Texts of the form's running race.
  explicit TRaceHud(TForm1& form) : Form_(form) {}

  /// Draws lap, position, race time and best lap.
  void DrawRaceHud();
  /// Draws the first `resultLines` lines of the results block.
  void DrawRaceResults(int32_t resultLines, int32_t raceBonus);
  /// The lap line's value: the player's lap, at least 1, over the race's laps.
  static std::string LapText(int32_t lap, int32_t raceLaps);
  /// The best-lap line: dashes until the first lap is complete.
  static std::string BestLapText(int32_t lap, const TRaceTime& bestLap);

 private:
  TForm1& Form_;
};

}  // namespace game
