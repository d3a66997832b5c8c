// The quad tests, the path sort and distances, rounding and the game's random numbers.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "game/AnglesAndRandom.h"
#include "game/QuadCollision.h"
#include "game/RaceSetup.h"

namespace {

using game::TPoint2;
using game::TQuad;

/// The plain angle-sum test, without any early rejection.
bool AngleSumInside(const TPoint2& p, const TQuad& q) {
  double sum = 0;
  for (size_t k = 0; k < 4; ++k) {
    const TPoint2& a = q[k];
    const TPoint2& b = q[(k + 1) % 4];
    const double ax = a.X - p.X, ay = a.Y - p.Y, bx = b.X - p.X, by = b.Y - p.Y;
    const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    if (la == 0 || lb == 0) return true;
    const double dot = std::clamp((ax * bx + ay * by) / (la * lb), -1.0, 1.0);
    sum += std::acos(dot) * 180 / M_PI;
  }
  return sum >= 355;
}

TQuad Rectangle(double left, double top, double right, double bottom) {
  return {{{left, top}, {left, bottom}, {right, bottom}, {right, top}}};
}

TQuad Rotated(double cx, double cy, double w, double h, double angle) {
  const double gamma = std::atan(h / w) * 180 / M_PI;
  const double r = std::hypot(w / 2, h / 2);
  const double angles[] = {180 - gamma, gamma - 180, -gamma, gamma};
  TQuad q;
  for (size_t k = 0; k < 4; ++k) {
    q[k] = {cx + r * game::CosDeg(angle + angles[k]), cy + r * game::SinDeg(angle + angles[k])};
  }
  return q;
}

struct TPointCase {
  TPoint2 P;
  bool Inside;
};

class PointInRectangle : public ::testing::TestWithParam<TPointCase> {};

TEST_P(PointInRectangle, AngleSumDecides) {
  const TQuad square = Rectangle(0, 0, 100, 100);
  EXPECT_EQ(game::PointInQuad(GetParam().P, square), GetParam().Inside)
      << GetParam().P.X << ", " << GetParam().P.Y;
}

INSTANTIATE_TEST_SUITE_P(
    Quads, PointInRectangle,
    ::testing::Values(TPointCase{{50, 50}, true}, TPointCase{{0, 50}, true},  // on an edge
                      TPointCase{{0, 0}, true},                               // on a corner
                      TPointCase{{-0.05, 50}, true},  // the thin band outside an edge
                      TPointCase{{-3, 50}, false}, TPointCase{{150, 50}, false},
                      TPointCase{{50, 100.02}, true}, TPointCase{{-1, -1}, false}));

TEST(Quads, EarlyRejectionAgreesWithTheAngleSum) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(-80, 280);
  std::uniform_real_distribution<double> angle(-400, 400);
  for (int n = 0; n < 200; ++n) {
    const TQuad quad = Rotated(100, 100, 20 + n % 150, 10 + n % 90, angle(random));
    for (int k = 0; k < 200; ++k) {
      const TPoint2 p{coordinate(random), coordinate(random)};
      ASSERT_EQ(game::PointInQuad(p, quad), AngleSumInside(p, quad)) << p.X << ", " << p.Y;
    }
  }
}

TEST(Quads, OverlapNeedsACornerInside) {
  const TQuad a = Rectangle(0, 0, 100, 100);
  EXPECT_TRUE(game::QuadsOverlap(a, Rectangle(90, 90, 150, 150)));
  EXPECT_TRUE(game::QuadsOverlap(a, Rectangle(20, 20, 40, 40)));  // B inside A
  EXPECT_TRUE(game::QuadsOverlap(Rectangle(20, 20, 40, 40), a));  // A inside B
  EXPECT_FALSE(game::QuadsOverlap(a, Rectangle(120, 0, 150, 100)));
  // A cross: neither holds a corner of the other.
  EXPECT_FALSE(game::QuadsOverlap(Rectangle(40, -50, 60, 150), Rectangle(-50, 40, 150, 60)));
}

TEST(Quads, UnitVectorOfCoincidingPointsIsOneOne) {
  const TPoint2 u = game::UnitVector({5, 5}, {5, 5});
  EXPECT_EQ(u.X, 1);
  EXPECT_EQ(u.Y, 1);
  const TPoint2 v = game::UnitVector({0, 0}, {3, 4});
  EXPECT_DOUBLE_EQ(v.X, 0.6);
  EXPECT_DOUBLE_EQ(v.Y, 0.8);
}

TEST(Path, DistanceInUnitsOfTenPixels) {
  const std::vector<game::TPathPoint> points = {{0, 0, 1, 0}, {30, 40, 2, 0}, {30, 140, 3, 0}};
  const std::vector<double> distance = game::BuildPathDistance(points);
  ASSERT_EQ(distance.size(), 3u);
  EXPECT_DOUBLE_EQ(distance[0], 0);
  EXPECT_DOUBLE_EQ(distance[1], 5);
  EXPECT_DOUBLE_EQ(distance[2], 15);
  EXPECT_EQ(game::BuildPathDistance({}), std::vector<double>{0.0});
  EXPECT_EQ(game::BuildPathDistance({{7, 7, 0, 0}}), std::vector<double>{0.0});
}

TEST(Path, SortByOrderKeepsEqualKeysInFileOrder) {
  // X records the file position. A plain exchange would put the second "2" before the first.
  std::vector<game::TPathPoint> points = {{0, 0, 2, 0}, {1, 0, 2, 0}, {2, 0, 1, 0},
                                          {3, 0, 5, 0}, {4, 0, 1, 0}, {5, 0, 3, 0}};
  game::SortPathPoints(points);
  const double expected[] = {2, 4, 0, 1, 5, 3};
  for (size_t i = 0; i < points.size(); ++i) EXPECT_EQ(points[i].X, expected[i]) << i;
}

TEST(Path, SortMovesWholeRecords) {
  std::vector<game::TPathPoint> points = {{10, 11, 9, 4}, {20, 21, -3, 7}};
  game::SortPathPoints(points);
  EXPECT_EQ(points[0].X, 20);
  EXPECT_EQ(points[0].Y, 21);
  EXPECT_EQ(points[0].Tag, 7);
  EXPECT_EQ(points[1].Order, 9);
}

TEST(Rounding, NearestTiesToEven) {
  EXPECT_EQ(game::NearestEven(0.5), 0);
  EXPECT_EQ(game::NearestEven(1.5), 2);
  EXPECT_EQ(game::NearestEven(2.5), 2);
  EXPECT_EQ(game::NearestEven(-2.5), -2);
  EXPECT_EQ(game::NearestEven(-2.6), -3);
  EXPECT_EQ(game::NearestEven(1e300), 9000000000000000000);
}

TEST(Random, BelowItsRangeAndReproducible) {
  std::mt19937 a(99), b(99);
  for (int n = 0; n < 1000; ++n) {
    const int32_t value = game::RandomBelow(a, 10);
    ASSERT_GE(value, 0);
    ASSERT_LT(value, 10);
    ASSERT_EQ(value, game::RandomBelow(b, 10));
  }
  EXPECT_EQ(game::RandomBelow(a, 0), 0);
  EXPECT_EQ(game::RandomBelow(a, -4), 0);
}

}  // namespace
