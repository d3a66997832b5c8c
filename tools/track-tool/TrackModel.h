#pragma once
// The shapes a compiled track places in the world, worked out from its records.

#include <cstdint>
#include <vector>

#include "RaceSizes.h"
#include "TrackFile.h"
#include "TrackGeometry.h"

namespace tracktool {

/// A rectangle that counts as road for the cars' ground probes (road piece or paint).
struct RoadArea {
  Rect Area;
  int32_t Kind = 0;
  /// Angle the paint is drawn at (start line and decals); the area stays unrotated.
  double Angle = 0;
};

/// A path point of the opponents' driving line.
struct PathPoint {
  Vec2 P;
  int32_t Order = 0;
  int32_t Tag = 0;
};

/// A checkpoint line: its number and the unrotated rectangle a car must touch.
struct CheckLineShape {
  int32_t Number = 0;
  Rect Area;
};

/// The invisible finish line: its turned rectangle.
struct FinishLineShape {
  Vec2 Centre;
  double Angle = 0;
  Quad Shape{};
};

/// A starting-grid slot and the collision shape of the largest car standing on it.
struct GridSlotShape {
  int32_t Number = 0;
  Vec2 Centre;
  double Heading = 0;
  Quad Car{};
};

/// An obstacle: its rectangle at rotation 0, and whether the game turns it at random.
struct ObstacleShape {
  int32_t ObstacleKind = 0;
  Vec2 Centre;
  Quad Shape{};
  bool RandomRotation = false;
  /// Half the diagonal of its rectangle: the reach of the shape at any rotation.
  double Reach = 0;
};

/// Everything of a track file that has a place in the world.
struct TrackModel {
  std::vector<RoadArea> Road;
  /// Path points in the order the race setup sorts them by order key.
  std::vector<PathPoint> Path;
  std::vector<CheckLineShape> CheckLines;
  std::vector<FinishLineShape> FinishLines;
  std::vector<GridSlotShape> Slots;
  std::vector<ObstacleShape> Obstacles;
  /// Number of path points whose tag is above 0.
  int TaggedPathCount = 0;

  /// Whether a ground probe at p would report road.
  bool OnRoad(Vec2 p) const;
  /// Distance from path point 1 to the last point: the lap length, in pixels.
  double LapLength() const;
};

/// Works out the shapes of a track's records with the race picture sizes.
TrackModel BuildTrackModel(const std::vector<TrackRecord>& records, const RaceSizes& sizes);

}  // namespace tracktool
