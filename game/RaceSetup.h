#pragma once
// Race setup: reading and checking a track file, building the race on it, the opponents'
// driving path and the world shift that keeps the player's car in the middle of the screen.

#include <cstdint>
#include <string>
#include <vector>

#include "TrackFormat.h"

namespace game {

class TRaceWorld;

/// Largest track file read; real tracks are a few hundred records.
inline constexpr int64_t MaxTrackFileBytes = 4 * 1024 * 1024;
/// Most path points a track may hold.
inline constexpr int32_t MaxPathPoints = 255;
/// Grid slots are numbered 1 .. MaxGridSlots.
inline constexpr int32_t MaxGridSlots = 9;

/// A point of the opponents' driving path.
struct TPathPoint {
  double X = 0;
  double Y = 0;
  /// Sort key: the path runs in ascending Order.
  int32_t Order = 0;
  /// Lap evidence: tags 2 and up mark sections an opponent must reach (3 also arms its lap).
  int32_t Tag = 0;
};

/// Sorts the path by Order with a selection sort that keeps equal keys in file order.
void SortPathPoints(std::vector<TPathPoint>& points);
/// Distance along the path from its first point to each point, in units of 10 pixels.
std::vector<double> BuildPathDistance(const std::vector<TPathPoint>& points);

/// Reads the whole records of a track file (a trailing piece shorter than a record is not read).
/// Throws TTrackFileError naming the game path when the file cannot be opened or read, is
/// absurdly large, or holds more than MaxPathPoints path points.
std::vector<TTrackRecord> ReadTrackRecords(const std::string& gamePath,
                                           const std::string& fileName);
/// Throws TTrackFileError unless the records hold a path point, a finish line and grid slots
/// 1 .. Opponents + 1.
void CheckRaceNeeds(const std::vector<TTrackRecord>& records, int32_t opponents,
                    const std::string& gamePath);

/// Builds the track's objects in file order: the background first, then road, paint, obstacles,
/// checkpoint lines, the finish line, the grid slots and the unsorted path.
void LoadTrack(TRaceWorld& world, const std::vector<TTrackRecord>& records);
/// Builds the whole race for the selected track and car: HUD panels, track, player and its
/// ring, gauges and opponents (none in a time trial, whose player takes grid slot 1), then
/// shifts the world under the player, sorts the path and makes the track map. The track file
/// is read and checked before anything is made, so a bad file (TTrackFileError) leaves nothing
/// behind.
void SetupRace(TRaceWorld& world);
/// Moves the opponents, the path and every road, paint, obstacle, background, checkpoint and
/// finish-line sprite by (DX, DY).
void ShiftWorld(TRaceWorld& world, double dx, double dy);
/// Moves the path points by the player's displacement of this frame (world shift plus bounce).
void TrackPathPoints(TRaceWorld& world);

}  // namespace game
