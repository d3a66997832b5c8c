#pragma once
// Runs the real game headless with an input script and reads back what it left behind.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "game/GameSettings.h"

namespace testgame {

/// One run of the game executable on Mesa's offscreen driver with a fresh (or given) settings
/// folder: the script played into it, the screen states it passed, its standard error and
/// its settings files.
class TGameRun {
 public:
  /// A run in a fresh folder named after the running test and `tag`.
  explicit TGameRun(const std::string& tag);
  /// Starts the game and waits for it; returns its exit code. Runs without a screenshot draw
  /// through the null display.
  int Run(const std::string& script, long frames, const std::vector<std::string>& extra = {});
  /// The (frame, state) lines of the trace, in order.
  const std::vector<std::pair<long, int>>& Trace() const { return Trace_; }
  /// The states passed, in order.
  std::vector<int> States() const;
  /// The frame at which a state was first entered, or -1.
  long FrameOf(int state) const;
  /// The state the run ended in.
  int LastState() const { return Trace_.empty() ? -1 : Trace_.back().second; }
  /// What the game wrote on standard error.
  const std::string& Errors() const { return Errors_; }
  /// The settings folder.
  const std::string& ConfigDir() const { return ConfigDir_; }
  /// The run's folder (screenshots go here).
  const std::string& Dir() const { return Dir_; }
  /// Reads "Config.cfg" of the settings folder; false when it is missing.
  bool ReadSettings(game::TGameSettings& settings) const;
  /// The lines of a settings file, without their CR LF, decoded.
  std::vector<std::string> DecodedLines(const std::string& file) const;
  /// The raw bytes of a settings file ("" when missing).
  std::string Bytes(const std::string& file) const;

 private:
  std::string Dir_;
  std::string ConfigDir_;
  std::vector<std::pair<long, int>> Trace_;
  std::string Errors_;
};

/// The frame, rounded up, at which the logo sequence hands over to the next screen.
inline constexpr long LogoEnd = 484;

}  // namespace testgame
