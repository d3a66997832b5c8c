#include "TrackGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tracktool {

namespace {

constexpr double Radians = std::numbers::pi / 180.0;

/// Projection interval of a quad on an axis.
std::array<double, 2> Project(const Quad& q, TVec2 axis) {
  double low = Dot(q[0], axis);
  double high = low;
  for (const TVec2& p : q) {
    low = std::min(low, Dot(p, axis));
    high = std::max(high, Dot(p, axis));
  }
  return {low, high};
}

bool SeparatedAlongEdgeNormal(const Quad& edges, const Quad& a, const Quad& b) {
  for (std::size_t i = 0; i < 4; ++i) {
    const TVec2 edge = edges[(i + 1) % 4] - edges[i];
    const TVec2 normal{-edge.Y, edge.X};
    const auto pa = Project(a, normal);
    const auto pb = Project(b, normal);
    if (pa[1] < pb[0] - 1e-9 || pb[1] < pa[0] - 1e-9) return true;
  }
  return false;
}

bool SegmentsCross(TVec2 a, TVec2 b, TVec2 c, TVec2 d) {
  const double d1 = Cross(b - a, c - a);
  const double d2 = Cross(b - a, d - a);
  const double d3 = Cross(d - c, a - c);
  const double d4 = Cross(d - c, b - c);
  return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0)) && d1 != 0 && d2 != 0 && d3 != 0 &&
         d4 != 0;
}

}  // namespace

double Length(TVec2 v) {
  return std::hypot(v.X, v.Y);
}

double Distance(TVec2 a, TVec2 b) {
  return Length(a - b);
}

TVec2 Normalized(TVec2 v) {
  const double len = Length(v);
  return len > 0 ? v * (1.0 / len) : TVec2{};
}

TVec2 FromDegrees(double degrees) {
  return {std::cos(degrees * Radians), std::sin(degrees * Radians)};
}

double Degrees(TVec2 v) {
  return std::atan2(v.Y, v.X) / Radians;
}

Quad RectQuad(const TRect& r) {
  return {TVec2{r.Left, r.Top}, TVec2{r.Left, r.Bottom}, TVec2{r.Right, r.Bottom},
          TVec2{r.Right, r.Top}};
}

Quad RotatedRect(TVec2 c, double w, double h, double degrees) {
  const TVec2 along = FromDegrees(degrees);
  const TVec2 across{-along.Y, along.X};
  const TVec2 hx = along * (w / 2);
  const TVec2 hy = across * (h / 2);
  return {c - hx - hy, c - hx + hy, c + hx + hy, c + hx - hy};
}

bool PointInQuad(TVec2 p, const Quad& q, double tolerance) {
  bool anyPositive = false;
  bool anyNegative = false;
  for (std::size_t i = 0; i < 4; ++i) {
    const TVec2 a = q[i];
    const TVec2 b = q[(i + 1) % 4];
    const double len = Distance(a, b);
    if (len == 0) continue;
    const double side = Cross(b - a, p - a) / len;
    if (side > tolerance) anyPositive = true;
    if (side < -tolerance) anyNegative = true;
  }
  return !(anyPositive && anyNegative);
}

bool QuadsOverlap(const Quad& a, const Quad& b) {
  return !SeparatedAlongEdgeNormal(a, a, b) && !SeparatedAlongEdgeNormal(b, a, b);
}

double PointSegmentDistance(TVec2 p, TVec2 a, TVec2 b) {
  const TVec2 ab = b - a;
  const double len2 = Dot(ab, ab);
  const double t = len2 > 0 ? std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
  return Distance(p, a + ab * t);
}

double SegmentDistance(TVec2 a, TVec2 b, TVec2 c, TVec2 d) {
  if (SegmentsCross(a, b, c, d)) return 0;
  return std::min({PointSegmentDistance(a, c, d), PointSegmentDistance(b, c, d),
                   PointSegmentDistance(c, a, b), PointSegmentDistance(d, a, b)});
}

double QuadSegmentDistance(const Quad& q, TVec2 a, TVec2 b) {
  if (PointInQuad(a, q) || PointInQuad(b, q)) return 0;
  double best = SegmentDistance(a, b, q[3], q[0]);
  for (std::size_t i = 0; i + 1 < 4; ++i)
    best = std::min(best, SegmentDistance(a, b, q[i], q[i + 1]));
  return best;
}

}  // namespace tracktool
