#include "QuadCollision.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "AnglesAndRandom.h"

namespace game {
namespace {

/// Angle sum from which a point counts as inside a quad.
constexpr double kInsideAngleSum = 355;

/// The bounding box of a quad widened by the band in which a point outside can still count as
/// inside: from a point farther than that outside a convex quad the quad spans less than 177.5
/// degrees, so the angle sum (twice the span) stays below 355.
struct TQuadReach {
  double MinX, MaxX, MinY, MaxY;

  explicit TQuadReach(const TQuad& quad)
      : MinX(quad[0].X), MaxX(quad[0].X), MinY(quad[0].Y), MaxY(quad[0].Y) {
    for (const TPoint2& v : quad) {
      MinX = std::min(MinX, v.X);
      MaxX = std::max(MaxX, v.X);
      MinY = std::min(MinY, v.Y);
      MaxY = std::max(MaxY, v.Y);
    }
    const double margin = ((MaxX - MinX) + (MaxY - MinY)) / 50;
    MinX -= margin;
    MaxX += margin;
    MinY -= margin;
    MaxY += margin;
  }
  bool Holds(const TPoint2& p) const {
    return p.X >= MinX && p.X <= MaxX && p.Y >= MinY && p.Y <= MaxY;
  }
  bool Meets(const TQuadReach& other) const {
    return MinX <= other.MaxX && other.MinX <= MaxX && MinY <= other.MaxY && other.MinY <= MaxY;
  }
};

bool AngleSumInside(const TPoint2& p, const TQuad& quad) {
  std::array<TPoint2, 4> units;
  for (size_t k = 0; k < quad.size(); ++k) {
    const double dx = quad[k].X - p.X;
    const double dy = quad[k].Y - p.Y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0) return true;
    units[k] = {dx / length, dy / length};
  }
  double sum = 0;
  for (size_t k = 0; k < units.size(); ++k) {
    const TPoint2& a = units[k];
    const TPoint2& b = units[(k + 1) % units.size()];
    sum += std::acos(std::clamp(a.X * b.X + a.Y * b.Y, -1.0, 1.0)) * RadToDeg;
  }
  return sum >= kInsideAngleSum;
}

bool AnyCornerInside(const TQuad& corners, const TQuad& quad, const TQuadReach& reach) {
  for (const TPoint2& corner : corners) {
    if (reach.Holds(corner) && AngleSumInside(corner, quad)) return true;
  }
  return false;
}

}  // namespace

bool PointInQuad(const TPoint2& p, const TQuad& quad) {
  return TQuadReach(quad).Holds(p) && AngleSumInside(p, quad);
}

bool QuadsOverlap(const TQuad& a, const TQuad& b) {
  const TQuadReach reachA(a);
  const TQuadReach reachB(b);
  // Corners of one quad lie in its own box: without a meeting of the boxes none can be inside.
  if (!reachA.Meets(reachB)) return false;
  return AnyCornerInside(b, a, reachA) || AnyCornerInside(a, b, reachB);
}

TQuad SquareAround(const TPoint2& centre, double half) {
  return {{{centre.X - half, centre.Y - half},
           {centre.X - half, centre.Y + half},
           {centre.X + half, centre.Y + half},
           {centre.X + half, centre.Y - half}}};
}

TPoint2 UnitVector(const TPoint2& from, const TPoint2& to) {
  const double length = Distance(from, to);
  if (length == 0) return {1, 1};
  return {(to.X - from.X) / length, (to.Y - from.Y) / length};
}

double Distance(const TPoint2& a, const TPoint2& b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace game
