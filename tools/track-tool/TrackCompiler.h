#pragma once
// Turns a track source into the records of a track file.

#include <vector>

#include "RaceSizes.h"
#include "TrackFile.h"
#include "TrackSource.h"

namespace tracktool {

/// Builds every record of a track: finish line and start-line paint on the start cell,
/// checkpoint lines numbered in driving order after it, the starting grid behind it, obstacles,
/// decorations, road pieces and the opponents' path points. Throws SourceError when the source
/// cannot make a complete track.
std::vector<TrackRecord> CompileTrack(const TTrackSource& src, const TRaceSizes& sizes);

}  // namespace tracktool
