// Obstacles: pushes and deflections of the cars, the player's push through the world, feelers,
// and the road probes.

#include <gtest/gtest.h>

#include "RaceFixture.h"
#include "game/race/GroundPoint.h"
#include "game/race/RoadPaint.h"
#include "game/race/RoadPart.h"
#include "game/race/RoadRock.h"

namespace racetest {
namespace {

class Obstacle : public RaceFixture {
 protected:
  Obstacle() {
    SetPath({{0, 0, 1, 0}, {0, 1000, 2, 0}});
    MakePlayer(2000, 2000, 0, 270);
  }
  /// A wall (kind 10, 160 by 24, never rotated) centred on (X, Y).
  game::TRoadRock& Wall(float x, float y) {
    return *Engine.Create<game::TRoadRock>(World, x, y, 10);
  }
};

TEST_F(Obstacle, HeadOnPushNeitherTurnsNorSlows) {
  game::TEnemyCar& enemy = MakeEnemy(500, 500, 0, 0);
  enemy.Speed = 4;
  game::TRoadRock& wall = Wall(600, 500);
  wall.Push(enemy, false);
  EXPECT_EQ(enemy.Heading, 0);
  EXPECT_EQ(enemy.TravelDir, 0);
  EXPECT_EQ(enemy.Speed, 4);
  EXPECT_NEAR(enemy.Centre().X, 500 - 14, 1e-4);  // driving along x: 14 pixels back
  EXPECT_NEAR(enemy.Centre().Y, 500, 1e-4);
}

TEST_F(Obstacle, StoppedOpponentIsPushedSevenPixels) {
  game::TEnemyCar& enemy = MakeEnemy(500, 500, 0, 0);
  game::TRoadRock& wall = Wall(600, 500);
  wall.Push(enemy, false);
  EXPECT_NEAR(enemy.Centre().X, 493, 1e-4);
  game::TEnemyCar& under = MakeEnemy(700, 700, 0, 0);
  game::TRoadRock& onTop = Wall(700, 700);
  onTop.Push(under, false);  // centres coincide: pushed along (1, 1)
  EXPECT_NEAR(under.Centre().X, 693, 1e-4);
  EXPECT_NEAR(under.Centre().Y, 693, 1e-4);
}

struct TGrazeCase {
  double TravelDir;
  double Turn;
  double SpeedFactor;
};

class ObstacleGraze : public Obstacle, public ::testing::WithParamInterface<TGrazeCase> {};

TEST_P(ObstacleGraze, AngledHitTurnsAndSlows) {
  game::TEnemyCar& enemy = MakeEnemy(500, 500, 0, GetParam().TravelDir);
  enemy.Speed = 4;
  game::TRoadRock& wall = Wall(600, 500);  // n = (1, 0)
  wall.Push(enemy, false);
  EXPECT_NEAR(enemy.Heading, GetParam().TravelDir + GetParam().Turn, 1e-9);
  EXPECT_NEAR(enemy.TravelDir, GetParam().TravelDir + GetParam().Turn, 1e-9);
  EXPECT_NEAR(enemy.Speed, 4 * GetParam().SpeedFactor, 1e-9);
}

// With n = (1, 0) and m = (cos t, sin t): d = cos t, c = sin t, T = (2 - 2c) * 4.
INSTANTIATE_TEST_SUITE_P(
    Obstacle, ObstacleGraze,
    ::testing::Values(TGrazeCase{30, (2 - 1.0) * 4, (0.5 - 0.8660254037844387) / 2 + 0.7},
                      TGrazeCase{-30, -(2 + 1.0) * 4, (0.5 - 0.8660254037844387) / 2 + 0.7},
                      TGrazeCase{150, -(2 - 1.0) * 4, (-0.8660254037844387 + 0.5) / 2 + 0.7},
                      TGrazeCase{90, -(2 - 2.0) * 4, (0 + 0.5) / 2 + 0.7}));

TEST_F(Obstacle, ThePlayerIsPushedThroughTheWorld) {
  game::TPlayer& player = *World.Player;
  player.Heading = player.TravelDir = 0;
  player.Speed = 3;
  game::TRoadRock& wall = Wall(2100, 2000);  // straight ahead of a car facing +x
  game::TRoadRock& far = Wall(100, 100);
  const float wallX = wall.X();
  const float farX = far.X();
  const double pathX = World.PathPoints[1].X;
  wall.Push(player, true);
  // n = (1, 0), m = (1, 0): the world moves 2 pixels along x, away from the car.
  EXPECT_NEAR(wall.X(), wallX + 2, 1e-4);
  EXPECT_NEAR(far.X(), farX + 2, 1e-4);
  EXPECT_NEAR(World.PathPoints[1].X, pathX + 2, 1e-9);
  EXPECT_DOUBLE_EQ(player.Centre().X, 2000);
  EXPECT_EQ(player.Speed, 3);  // head-on: no slowdown, no turn
  EXPECT_EQ(player.Heading, 0);
}

TEST_F(Obstacle, HeadOnAlongYStillTurnsALittle) {
  // cos 270 is not exactly 0 in double arithmetic, so the cross product is not 0 either.
  game::TPlayer& player = *World.Player;
  player.Speed = 3;
  Wall(2000, 1900).Push(player, true);
  EXPECT_NEAR(player.Heading, 270 - 8, 1e-9);
  EXPECT_NEAR(player.Speed, 3 * 0.45, 1e-9);
}

TEST_F(Obstacle, PlayerCollisionNeedsCentresCloserThanTwoHundred) {
  game::TPlayer& player = *World.Player;
  player.UpdateCorners();
  game::TRoadRock& touching = Wall(2000, 2040);
  Frame();
  EXPECT_TRUE(touching.PlayerHit);
  touching.MoveBy(0, 200);
  Frame();
  EXPECT_FALSE(touching.PlayerHit);
}

TEST_F(Obstacle, FeelersNearAnObstacleAreBlocked) {
  game::TEnemyCar& enemy = MakeEnemy(500, 500, 0, 270);
  enemy.UpdateFeelers();
  const game::TFeeler left = enemy.Feelers[0];
  // A vertical wall (24 by 160) just left of the front-left feeler.
  Engine.Create<game::TRoadRock>(World, static_cast<float>(left.X - 15), static_cast<float>(left.Y),
                                 11);
  Frame();
  EXPECT_TRUE(enemy.Feelers[0].Blocked);
  EXPECT_FALSE(enemy.Feelers[1].Blocked);
}

TEST_F(Obstacle, RandomLooksAndStripedWalls) {
  World.WallVariant = 3;
  game::TRoadRock& block = *Engine.Create<game::TRoadRock>(World, 100.0f, 100.0f, 4);
  EXPECT_EQ(block.Name(), "roadrock");
  EXPECT_GE(block.Rotation, -180);
  EXPECT_LE(block.Rotation, 179);
  EXPECT_LE(block.PatternIndex(), 7);
  EXPECT_EQ(block.Width(), 48);
  EXPECT_FLOAT_EQ(block.X(), 76);  // centred
  game::TRoadRock& stripes = *Engine.Create<game::TRoadRock>(World, 100.0f, 100.0f, 12);
  EXPECT_EQ(stripes.Name(), "wall");
  EXPECT_EQ(stripes.PatternIndex(), 3);
  EXPECT_EQ(stripes.X(), 100);  // left edge at X
  EXPECT_EQ(stripes.Y(), 88);
  game::TRoadRock& vertical = *Engine.Create<game::TRoadRock>(World, 100.0f, 100.0f, 13);
  EXPECT_EQ(vertical.X(), 88);
  EXPECT_EQ(vertical.Y(), 100);  // top edge at Y
  game::TRoadRock& unknown = *Engine.Create<game::TRoadRock>(World, 100.0f, 100.0f, 42);
  EXPECT_EQ(unknown.Image(), nullptr);
  EXPECT_EQ(unknown.Width(), 10);
  EXPECT_EQ(unknown.Rotation, 0);
}

TEST_F(Obstacle, ProbesFindRoadPiecesAndPaint) {
  game::TPlayer& player = *World.Player;
  Engine.Create<game::TRoadPart>(World, 1995.0f, 1975.0f, 5);  // a 10 by 10 patch
  Frame();
  EXPECT_TRUE(player.FrontGroundPoint->OnRoad);
  EXPECT_FALSE(player.RearGroundPoint->OnRoad);
  // Paint counts with its unrotated rectangle, even drawn at an angle.
  Engine.Create<game::TRoadPaint>(World, 2000.0f, 2020.0f, 45.0, 0);
  Frame();
  EXPECT_TRUE(player.RearGroundPoint->OnRoad);
}

TEST_F(Obstacle, ProbeOnTheLeftEdgeOfARoadPieceIsOnTheRoad) {
  game::TGroundPoint& probe = *World.Player->FrontGroundPoint;
  probe.SetX(1000);
  probe.SetY(1000);
  Engine.Create<game::TRoadPart>(World, 1005.0f, 900.0f, 2);  // 5 pixels to the right
  probe.DoMove(0);
  EXPECT_FALSE(probe.OnRoad);
  Engine.Create<game::TRoadPart>(World, 1000.05f, 900.0f, 2);  // within the outside band
  probe.DoMove(0);
  EXPECT_TRUE(probe.OnRoad);
}

}  // namespace
}  // namespace racetest
