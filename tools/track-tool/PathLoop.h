#pragma once
// The opponents' path as a closed line that places can be measured along.

#include <vector>

#include "TrackGeometry.h"

namespace tracktool {

/// Where a place lies relative to the path: the nearest point on it and how far along.
struct TPathPosition {
  /// Distance along the loop from point 1 to the nearest point.
  double Along = 0;
  TVec2 Nearest;
  /// Driving direction of the path there (unit vector).
  TVec2 Direction;
  /// Distance from the place to the nearest point.
  double Offset = 0;
};

/// The path points joined in order, the last back to the first.
class TPathLoop {
 public:
  /// Joins the points (at least two) into a loop.
  explicit TPathLoop(std::vector<TVec2> points);

  /// Length of the whole loop, closing segment included.
  double Length() const { return Starts_.back(); }
  /// The nearest place on the loop to p.
  TPathPosition Locate(TVec2 p) const;
  /// How far ahead of `from` the place `to` lies, driving along the loop: 0 .. Length().
  double Ahead(double from, double to) const;
  /// Number of segments (equal to the number of points).
  std::size_t SegmentCount() const { return Points_.size(); }
  /// Start and end of segment i (the last one closes the loop).
  TVec2 SegmentStart(std::size_t i) const { return Points_[i]; }
  TVec2 SegmentEnd(std::size_t i) const { return Points_[(i + 1) % Points_.size()]; }

 private:
  std::vector<TVec2> Points_;
  /// Distance along the loop at which each segment starts, then the loop length.
  std::vector<double> Starts_;
};

}  // namespace tracktool
