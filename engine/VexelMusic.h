#pragma once
// The engine's music component for media songs.

#include "SongListCollection.h"

namespace vexel {

/// Keeps the media songs and, once per frame, puts every looping song that has ended back to
/// its start. The game's song list is empty.
class TVexelMusic {
 public:
  /// The per-frame work: rewinds looping songs that are no longer playing.
  void Update();

  TSongListCollection Songs;
};

}  // namespace vexel
