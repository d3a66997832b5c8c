#pragma once
// The game's side of replays: recording each race, or driving one from a replay.

#include <memory>
#include <random>
#include <string>

#include "game/race/RaceReplay.h"
#include "game/race/RaceWorld.h"
#include "game/race/ReplayPlayer.h"

namespace game {

/// Records the control flags of a race as the player's car reads them, or, given a replay,
/// sets the race up as recorded and puts the recorded flags in place of the controls each
/// frame. Made for one race.
class TRaceReplayDriver {
 public:
  /// A driver that records (playback null) or plays the replay (which must outlive it).
  explicit TRaceReplayDriver(const TRaceReplay* playback) : Playback_(playback) {}

  /// Before the race is set up: the generator and catalogue as recorded, or their state noted.
  /// Throws TReplayError when the replay does not fit the data folder.
  void BeforeSetup(TRaceWorld& world, std::mt19937& random);
  /// After the set-up: checks or notes the opponents; throws TReplayError on a mismatch.
  void AfterSetup(const TRaceWorld& world);
  /// One race frame, after the keys and the autopilot and before the cars move.
  void Frame(TKeyTable& keyDown, TKeyTable& keyReleased);
  /// Whether a replay drives the race.
  bool Playing() const { return Playback_ != nullptr; }
  /// The race recorded so far.
  const TRaceReplay& Recording() const { return Recording_; }
  /// One line per car, the player first: "CAR place P time M:SS:HH best-lap M:SS:HH" ("-" for
  /// what the car has not reached; the opponents' best laps are not kept in the game).
  static std::string ResultLines(const TRaceWorld& world);

 private:
  const TRaceReplay* Playback_;
  std::unique_ptr<TReplayPlayer> Player_;
  TRaceReplay Recording_;
};

}  // namespace game
