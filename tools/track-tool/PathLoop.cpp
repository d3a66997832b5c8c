#include "PathLoop.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tracktool {

TPathLoop::TPathLoop(std::vector<TVec2> points) : Points_(std::move(points)) {
  Starts_.push_back(0);
  for (std::size_t i = 0; i < Points_.size(); ++i) {
    Starts_.push_back(Starts_.back() + Distance(SegmentStart(i), SegmentEnd(i)));
  }
}

TPathPosition TPathLoop::Locate(TVec2 p) const {
  TPathPosition best;
  best.Offset = std::numeric_limits<double>::max();
  for (std::size_t i = 0; i < Points_.size(); ++i) {
    const TVec2 a = SegmentStart(i);
    const TVec2 ab = SegmentEnd(i) - a;
    const double len2 = Dot(ab, ab);
    if (len2 == 0) continue;
    const double t = std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0);
    const TVec2 q = a + ab * t;
    const double offset = Distance(p, q);
    if (offset < best.Offset) {
      best = {Starts_[i] + t * std::sqrt(len2), q, Normalized(ab), offset};
    }
  }
  return best;
}

double TPathLoop::Ahead(double from, double to) const {
  const double d = std::fmod(to - from, Length());
  return d < 0 ? d + Length() : d;
}

}  // namespace tracktool
