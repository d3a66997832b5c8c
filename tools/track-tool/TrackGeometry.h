#pragma once
// Plane geometry of the race world: points, axis-aligned rectangles and four-cornered shapes.

#include <array>

namespace tracktool {

/// A point or vector in world pixels (y grows downwards).
struct TVec2 {
  double X = 0;
  double Y = 0;
};

inline TVec2 operator+(TVec2 a, TVec2 b) {
  return {a.X + b.X, a.Y + b.Y};
}
inline TVec2 operator-(TVec2 a, TVec2 b) {
  return {a.X - b.X, a.Y - b.Y};
}
inline TVec2 operator*(TVec2 a, double k) {
  return {a.X * k, a.Y * k};
}

/// Dot product.
inline double Dot(TVec2 a, TVec2 b) {
  return a.X * b.X + a.Y * b.Y;
}
/// z of the cross product; positive when b lies clockwise of a on the screen.
inline double Cross(TVec2 a, TVec2 b) {
  return a.X * b.Y - a.Y * b.X;
}
/// Euclidean length.
double Length(TVec2 v);
/// Euclidean distance.
double Distance(TVec2 a, TVec2 b);
/// Unit vector along v; (0, 0) for a zero vector.
TVec2 Normalized(TVec2 v);
/// Unit vector of a heading in degrees (0 along +x, 90 along +y).
TVec2 FromDegrees(double degrees);
/// Heading of a vector in degrees, -180..180.
double Degrees(TVec2 v);

/// Axis-aligned rectangle, edges included.
struct TRect {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;

  /// Whether p lies inside or within tolerance of an edge.
  bool Contains(TVec2 p, double tolerance = 1e-6) const {
    return p.X >= Left - tolerance && p.X <= Right + tolerance && p.Y >= Top - tolerance &&
           p.Y <= Bottom + tolerance;
  }
  TVec2 Centre() const { return {(Left + Right) / 2, (Top + Bottom) / 2}; }
};

/// A convex four-cornered shape, corners in order around it.
using Quad = std::array<TVec2, 4>;

/// The corners of a rectangle.
Quad RectQuad(const TRect& r);
/// A w by h rectangle centred on c and turned by degrees about its centre.
Quad RotatedRect(TVec2 c, double w, double h, double degrees);
/// Whether p lies in the convex quad (edges included, within tolerance).
bool PointInQuad(TVec2 p, const Quad& q, double tolerance = 1e-6);
/// Whether two convex quads share any point (edges included).
bool QuadsOverlap(const Quad& a, const Quad& b);
/// Distance from p to the segment a-b.
double PointSegmentDistance(TVec2 p, TVec2 a, TVec2 b);
/// Distance between the segments a-b and c-d (0 when they cross).
double SegmentDistance(TVec2 a, TVec2 b, TVec2 c, TVec2 d);
/// Distance from the segment a-b to the quad (0 when the segment touches or enters it).
double QuadSegmentDistance(const Quad& q, TVec2 a, TVec2 b);

}  // namespace tracktool
