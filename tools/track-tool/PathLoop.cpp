#include "PathLoop.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tracktool {

PathLoop::PathLoop(std::vector<Vec2> points) : Points_(std::move(points)) {
  Starts_.push_back(0);
  for (std::size_t i = 0; i < Points_.size(); ++i) {
    Starts_.push_back(Starts_.back() + Distance(SegmentStart(i), SegmentEnd(i)));
  }
}

PathPosition PathLoop::Locate(Vec2 p) const {
  PathPosition best;
  best.Offset = std::numeric_limits<double>::max();
  for (std::size_t i = 0; i < Points_.size(); ++i) {
    const Vec2 a = SegmentStart(i);
    const Vec2 ab = SegmentEnd(i) - a;
    const double len2 = Dot(ab, ab);
    if (len2 == 0) continue;
    const double t = std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0);
    const Vec2 q = a + ab * t;
    const double offset = Distance(p, q);
    if (offset < best.Offset) {
      best = {Starts_[i] + t * std::sqrt(len2), q, Normalized(ab), offset};
    }
  }
  return best;
}

double PathLoop::Ahead(double from, double to) const {
  const double d = std::fmod(to - from, Length());
  return d < 0 ? d + Length() : d;
}

}  // namespace tracktool
