#pragma once
// The shapes a compiled track places in the world, worked out from its records.

#include <cstdint>
#include <vector>

#include "RaceSizes.h"
#include "TrackFile.h"
#include "TrackGeometry.h"

namespace tracktool {

/// A rectangle that counts as road for the cars' ground probes (road piece or paint).
struct TRoadArea {
  TRect Area;
  int32_t Kind = 0;
  /// Angle the paint is drawn at (start line and decals); the area stays unrotated.
  double Angle = 0;
};

/// A path point of the opponents' driving line.
struct TPathPoint {
  TVec2 P;
  int32_t Order = 0;
  int32_t Tag = 0;
};

/// A checkpoint line: its number and the unrotated rectangle a car must touch.
struct TCheckLineShape {
  int32_t Number = 0;
  TRect Area;
};

/// The invisible finish line: its turned rectangle.
struct TFinishLineShape {
  TVec2 Centre;
  double Angle = 0;
  Quad Shape{};
};

/// A starting-grid slot and the collision shape of the largest car standing on it.
struct TGridSlotShape {
  int32_t Number = 0;
  TVec2 Centre;
  double Heading = 0;
  Quad Car{};
};

/// An obstacle: its rectangle at rotation 0, and whether the game turns it at random.
struct TObstacleShape {
  int32_t ObstacleKind = 0;
  TVec2 Centre;
  Quad Shape{};
  bool RandomRotation = false;
  /// Half the diagonal of its rectangle: the reach of the shape at any rotation.
  double Reach = 0;
};

/// Everything of a track file that has a place in the world.
struct TTrackModel {
  std::vector<TRoadArea> Road;
  /// Path points in the order the race setup sorts them by order key.
  std::vector<TPathPoint> Path;
  std::vector<TCheckLineShape> CheckLines;
  std::vector<TFinishLineShape> FinishLines;
  std::vector<TGridSlotShape> Slots;
  std::vector<TObstacleShape> Obstacles;
  /// Number of path points whose tag is above 0.
  int TaggedPathCount = 0;

  /// Whether a ground probe at p would report road.
  bool OnRoad(TVec2 p) const;
  /// Distance from path point 1 to the last point: the lap length, in pixels.
  double LapLength() const;
};

/// Works out the shapes of a track's records with the race picture sizes.
TTrackModel BuildTrackModel(const std::vector<TrackRecord>& records, const TRaceSizes& sizes);

}  // namespace tracktool
