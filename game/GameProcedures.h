#pragma once
// Race setup and the shared race arithmetic: track files, the opponents' driving path, the world
// shift, the quad collision tests, degree trigonometry and the game's random numbers.

#include <array>
#include <cstdint>
#include <numbers>
#include <random>
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

/// Degrees to radians (π/180) and back.
inline constexpr double DegToRad = std::numbers::pi / 180.0;
inline constexpr double RadToDeg = 180.0 / std::numbers::pi;

/// Cosine of an angle in degrees.
double CosDeg(double degrees);
/// Sine of an angle in degrees.
double SinDeg(double degrees);
/// Arc tangent in degrees.
double ArcTanDeg(double value);
/// Angle of (x, y) in degrees, -180 .. 180.
double ArcTan2Deg(double y, double x);
/// The nearest integer, ties to even, as a 64-bit integer.
int64_t NearestEven(double value);
/// A random integer 0 .. range - 1 from the game's generator (0 when range is 0 or less).
int32_t RandomBelow(std::mt19937& random, int32_t range);

/// A point of the race world, in screen pixels.
struct TPoint2 {
  double X = 0;
  double Y = 0;
};

/// A four-cornered collision shape; the corners go round it in order.
using TQuad = std::array<TPoint2, 4>;

/// Whether P lies in the quad: the angles between the unit vectors from P to consecutive
/// corners add up to 355 degrees or more. The boundary and a thin band just outside an edge
/// count as inside; P on a corner is inside. Quads are convex with their corners in order (all
/// race quads are rotated rectangles), which lets points far outside be rejected early.
bool PointInQuad(const TPoint2& p, const TQuad& quad);
/// Whether any corner of B lies in A or any corner of A lies in B.
bool QuadsOverlap(const TQuad& a, const TQuad& b);
/// The axis-aligned square of half-size Half around Centre, corners in order.
TQuad SquareAround(const TPoint2& centre, double half);
/// The unit vector from one point to another, or (1, 1) when they coincide.
TPoint2 UnitVector(const TPoint2& from, const TPoint2& to);
/// Euclidean distance of two points.
double Distance(const TPoint2& a, const TPoint2& b);

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
/// ring, gauges and opponents, then shifts the world under the player, sorts the path and makes
/// the track map. The track file is read
/// and checked before anything is made, so a bad file (TTrackFileError) leaves nothing behind.
void SetupRace(TRaceWorld& world);
/// Moves the opponents, the path and every road, paint, obstacle, background, checkpoint and
/// finish-line sprite by (DX, DY).
void ShiftWorld(TRaceWorld& world, double dx, double dy);
/// Moves the path points by the player's displacement of this frame (world shift plus bounce).
void TrackPathPoints(TRaceWorld& world);

}  // namespace game
