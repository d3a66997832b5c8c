#include "TrackGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tracktool {

namespace {

constexpr double Radians = std::numbers::pi / 180.0;

/// Projection interval of a quad on an axis.
std::array<double, 2> Project(const Quad& q, Vec2 axis) {
  double low = Dot(q[0], axis);
  double high = low;
  for (const Vec2& p : q) {
    low = std::min(low, Dot(p, axis));
    high = std::max(high, Dot(p, axis));
  }
  return {low, high};
}

bool SeparatedAlongEdgeNormal(const Quad& edges, const Quad& a, const Quad& b) {
  for (std::size_t i = 0; i < 4; ++i) {
    const Vec2 edge = edges[(i + 1) % 4] - edges[i];
    const Vec2 normal{-edge.Y, edge.X};
    const auto pa = Project(a, normal);
    const auto pb = Project(b, normal);
    if (pa[1] < pb[0] - 1e-9 || pb[1] < pa[0] - 1e-9) return true;
  }
  return false;
}

bool SegmentsCross(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
  const double d1 = Cross(b - a, c - a);
  const double d2 = Cross(b - a, d - a);
  const double d3 = Cross(d - c, a - c);
  const double d4 = Cross(d - c, b - c);
  return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0)) && d1 != 0 && d2 != 0 && d3 != 0 &&
         d4 != 0;
}

}  // namespace

double Length(Vec2 v) {
  return std::hypot(v.X, v.Y);
}

double Distance(Vec2 a, Vec2 b) {
  return Length(a - b);
}

Vec2 Normalized(Vec2 v) {
  const double len = Length(v);
  return len > 0 ? v * (1.0 / len) : Vec2{};
}

Vec2 FromDegrees(double degrees) {
  return {std::cos(degrees * Radians), std::sin(degrees * Radians)};
}

double Degrees(Vec2 v) {
  return std::atan2(v.Y, v.X) / Radians;
}

Quad RectQuad(const Rect& r) {
  return {Vec2{r.Left, r.Top}, Vec2{r.Left, r.Bottom}, Vec2{r.Right, r.Bottom},
          Vec2{r.Right, r.Top}};
}

Quad RotatedRect(Vec2 c, double w, double h, double degrees) {
  const Vec2 along = FromDegrees(degrees);
  const Vec2 across{-along.Y, along.X};
  const Vec2 hx = along * (w / 2);
  const Vec2 hy = across * (h / 2);
  return {c - hx - hy, c - hx + hy, c + hx + hy, c + hx - hy};
}

bool PointInQuad(Vec2 p, const Quad& q, double tolerance) {
  bool anyPositive = false;
  bool anyNegative = false;
  for (std::size_t i = 0; i < 4; ++i) {
    const Vec2 a = q[i];
    const Vec2 b = q[(i + 1) % 4];
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

double PointSegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 ab = b - a;
  const double len2 = Dot(ab, ab);
  const double t = len2 > 0 ? std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
  return Distance(p, a + ab * t);
}

double SegmentDistance(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
  if (SegmentsCross(a, b, c, d)) return 0;
  return std::min({PointSegmentDistance(a, c, d), PointSegmentDistance(b, c, d),
                   PointSegmentDistance(c, a, b), PointSegmentDistance(d, a, b)});
}

double QuadSegmentDistance(const Quad& q, Vec2 a, Vec2 b) {
  if (PointInQuad(a, q) || PointInQuad(b, q)) return 0;
  double best = SegmentDistance(a, b, q[3], q[0]);
  for (std::size_t i = 0; i + 1 < 4; ++i)
    best = std::min(best, SegmentDistance(a, b, q[i], q[i + 1]));
  return best;
}

}  // namespace tracktool
