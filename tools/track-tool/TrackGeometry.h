#pragma once
// Plane geometry of the race world: points, axis-aligned rectangles and four-cornered shapes.

#include <array>

namespace tracktool {

/// A point or vector in world pixels (y grows downwards).
struct Vec2 {
  double X = 0;
  double Y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) {
  return {a.X + b.X, a.Y + b.Y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
  return {a.X - b.X, a.Y - b.Y};
}
inline Vec2 operator*(Vec2 a, double k) {
  return {a.X * k, a.Y * k};
}

/// Dot product.
inline double Dot(Vec2 a, Vec2 b) {
  return a.X * b.X + a.Y * b.Y;
}
/// z of the cross product; positive when b lies clockwise of a on the screen.
inline double Cross(Vec2 a, Vec2 b) {
  return a.X * b.Y - a.Y * b.X;
}
/// Euclidean length.
double Length(Vec2 v);
/// Euclidean distance.
double Distance(Vec2 a, Vec2 b);
/// Unit vector along v; (0, 0) for a zero vector.
Vec2 Normalized(Vec2 v);
/// Unit vector of a heading in degrees (0 along +x, 90 along +y).
Vec2 FromDegrees(double degrees);
/// Heading of a vector in degrees, -180..180.
double Degrees(Vec2 v);

/// Axis-aligned rectangle, edges included.
struct Rect {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;

  /// Whether p lies inside or within tolerance of an edge.
  bool Contains(Vec2 p, double tolerance = 1e-6) const {
    return p.X >= Left - tolerance && p.X <= Right + tolerance && p.Y >= Top - tolerance &&
           p.Y <= Bottom + tolerance;
  }
  Vec2 Centre() const { return {(Left + Right) / 2, (Top + Bottom) / 2}; }
};

/// A convex four-cornered shape, corners in order around it.
using Quad = std::array<Vec2, 4>;

/// The corners of a rectangle.
Quad RectQuad(const Rect& r);
/// A w by h rectangle centred on c and turned by degrees about its centre.
Quad RotatedRect(Vec2 c, double w, double h, double degrees);
/// Whether p lies in the convex quad (edges included, within tolerance).
bool PointInQuad(Vec2 p, const Quad& q, double tolerance = 1e-6);
/// Whether two convex quads share any point (edges included).
bool QuadsOverlap(const Quad& a, const Quad& b);
/// Distance from p to the segment a-b.
double PointSegmentDistance(Vec2 p, Vec2 a, Vec2 b);
/// Distance between the segments a-b and c-d (0 when they cross).
double SegmentDistance(Vec2 a, Vec2 b, Vec2 c, Vec2 d);
/// Distance from the segment a-b to the quad (0 when the segment touches or enters it).
double QuadSegmentDistance(const Quad& q, Vec2 a, Vec2 b);

}  // namespace tracktool
