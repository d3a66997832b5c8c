#pragma once
// Points and the four-cornered collision shapes of the race, and whether they meet.

#include <array>

namespace game {

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

}  // namespace game
