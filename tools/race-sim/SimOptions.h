#pragma once
// The command line of the headless race simulator.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/CameraMode.h"

namespace racesim {

/// Raised for a command line the simulator cannot run; the message says what is wrong.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// What to simulate and how.
struct TSimOptions {
  /// Track slot 0 .. 11 of the catalogue ("Track 1" is slot 0).
  int32_t TrackSlot = 0;
  /// The player's car type 0 .. 4.
  int32_t Car = 0;
  /// Car types of the opponents in index order; empty: drawn at random as in the game.
  std::vector<int32_t> OpponentCars;
  uint32_t Seed = 1;
  /// A script of key events by frame (empty: none).
  std::string InputFile;
  /// Drive the player's car with the simulator's own driver.
  bool Autopilot = false;
  /// The game's data folder (empty: "data" beside the executable).
  std::string DataDir;
  /// Frames to simulate at most (negative: a generous limit from the track's laps).
  long Frames = -1;
  /// Render the last frame with OpenGL and save it as PNG here (empty: no picture).
  std::string Screenshot;
  /// Time repeated races and report simulated frames per second.
  bool Bench = false;
  /// The race's view, as the game's "options.ini" chooses it (the race is the same with both).
  game::TCameraMode Camera = game::TCameraMode::LookAhead;
  /// Run the race of this replay file instead (track, car and controls come from it).
  std::string ReplayFile;
  /// Write the race's replay to this file when it ends (empty: none).
  std::string SaveReplayFile;
  /// Record the race's replay while it runs (set by --save-replay).
  bool RecordReplay = false;
  /// Run a time trial: the player alone on the track, timed in frames.
  bool TimeTrial = false;
};

/// The usage text.
const char* Usage();
/// Parses the arguments after the program name; throws TUsageError.
TSimOptions ParseSimOptions(const std::vector<std::string>& args);

}  // namespace racesim
