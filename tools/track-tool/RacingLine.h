#pragma once
// The line the opponents drive: the road's centre line smoothed through the bends and cut
// into evenly spaced path points.

#include <vector>

#include "TrackGeometry.h"

namespace tracktool {

/// Length of a polyline.
double PolylineLength(const std::vector<TVec2>& line);

/// Smooths a closed polyline (first point equal to the last) by averaging each point with its
/// neighbours within `window` pixels of arc length on either side; straights stay straight,
/// bends are cut towards their inside and zig-zags straightened. Keeps the first point's
/// place along the line.
std::vector<TVec2> SmoothLoop(const std::vector<TVec2>& closedLine, double window);

/// Cuts a closed polyline into n equal pieces: returns the n points at 1/n, 2/n, ..., n/n of
/// its length, so the last point is the line's start.
std::vector<TVec2> ResampleLoop(const std::vector<TVec2>& closedLine, int n);

}  // namespace tracktool
