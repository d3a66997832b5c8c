#pragma once
// Playing a recorded race's control flags back.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/race/RaceReplay.h"

namespace game {

/// Hands out a replay's control flags frame after frame; no keys once the recording has ended.
class TReplayPlayer {
 public:
  /// A player over the replay's runs; the replay must outlive it.
  explicit TReplayPlayer(const TRaceReplay& replay) : Runs_(replay.Runs()) {}
  /// The flags of the next frame.
  uint16_t NextFlags();
  /// Whether every recorded frame has been handed out.
  bool Ended() const { return Run_ >= Runs_.size(); }

 private:
  const std::vector<TReplayRun>& Runs_;
  size_t Run_ = 0;
  uint32_t Used_ = 0;
};

}  // namespace game
