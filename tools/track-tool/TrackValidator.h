#pragma once
// Checks that a track file makes a complete, raceable track.

#include <optional>
#include <string>
#include <vector>

#include "RaceSizes.h"
#include "TrackFile.h"
#include "TrackGeometry.h"

namespace tracktool {

/// One broken rule: which rule, what is wrong and, where it has one, the place in the world.
struct TTrackProblem {
  std::string Rule;
  std::string Message;
  std::optional<TVec2> Place;
};

/// Checks every rule a track needs for a race with the given number of opponents: whole
/// records; path points (3..255) with road under every segment; tags 2..TaggedPathCount-1
/// present and away from the finish line; checkpoints 0..n-1 (n >= 3) once each, in driving
/// order and across the whole road; one finish line across the road; grid slots 1..opponents+1
/// behind the line, facing it, apart and the player's last; obstacles off the path and the grid.
/// Returns the problems found, none for a good track.
std::vector<TTrackProblem> ValidateTrack(const TTrackFileData& data, const TRaceSizes& sizes,
                                         int opponents);

/// One line for a problem: "<track>: <rule>: <message> at (x, y)".
std::string FormatProblem(const std::string& track, const TTrackProblem& problem);

}  // namespace tracktool
