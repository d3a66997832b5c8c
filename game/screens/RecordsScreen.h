#pragma once
// The records screen: the current profile's time-trial records and the race best times.

#include <cstdint>
#include <string>
#include <vector>

#include "ScreenGroup.h"
#include "game/GameConstants.h"

namespace game {

/// One track's line on the records screen, as shown: "--" for what does not exist.
struct TRecordRow {
  std::string Track;
  /// The time-trial record: its time, car, date (YYYY-MM-DD, local) and best lap.
  std::string Time = "--";
  std::string Car = "--";
  std::string Date = "--";
  std::string BestLap = "--";
  /// The race best time of the track.
  std::string RaceBest = "--";
  bool operator==(const TRecordRow&) const = default;
};

/// State 26, reached from the high scores' RECORDS button: one row per track, locked ones too,
/// with the current profile's time-trial record (the fastest of its ghost files over the cars)
/// and the race best time. BACK, escape and the pad's B go back to the high scores.
class TRecordsScreen : public TScreenGroup {
 public:
  /// The state's number.
  static constexpr uint8_t kState = 26;

  using TScreenGroup::TScreenGroup;
  /// State 26.
  bool Owns(uint8_t state) const override { return state == kState; }
  /// Reads the records and builds the panel and the BACK button.
  void Enter(uint8_t state) override;
  /// Frees the panel and the button.
  void Leave(uint8_t state) override;
  /// One frame of the screen.
  void Frame(uint8_t state) override;

  /// The rows of every track for a profile slot (none when negative) from its ghost files in
  /// the settings folder; a file that cannot be read is skipped with one line on standard error.
  static std::vector<TRecordRow> Rows(const std::string& configDir, int32_t profileSlot,
                                      const TGameCatalogue& catalogue);
  /// "M:SS:HH" of a count of frames of the 90-per-second step.
  static std::string FramesText(int32_t frames);

 private:
  void DrawRows();
  void BackToHighScores();

  std::vector<TRecordRow> Rows_;
};

}  // namespace game
