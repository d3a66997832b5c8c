#include "ReplayPlayer.h"

namespace game {

uint16_t TReplayPlayer::NextFlags() {
  if (Ended()) return 0;
  const TReplayRun& run = Runs_[Run_];
  if (++Used_ >= run.Frames) {
    ++Run_;
    Used_ = 0;
  }
  return run.Flags;
}

}  // namespace game
