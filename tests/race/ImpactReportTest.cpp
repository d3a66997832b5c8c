// The bumps the collision code reports to the race world for the race sound: once when a
// contact begins, as hard as the speeds differ, and never changing the race itself.

#include <gtest/gtest.h>

#include "RaceFixture.h"
#include "game/race/RoadRock.h"

namespace racetest {
namespace {

class ImpactReport : public RaceFixture {
 protected:
  ImpactReport() {
    SetPath({{396, 0, 1, 0}, {396, 600, 2, 0}});
    MakePlayer(396, 321, 0, 270);
  }
  game::TPlayer& Player() { return *World.Player; }
  /// Takes the world's impact record, as the race sound does each frame.
  game::TRaceImpact Take() {
    const game::TRaceImpact impact = World.Impact;
    World.Impact = {};
    return impact;
  }
};

TEST_F(ImpactReport, TheWorldKeepsTheHardestBumpUntilItIsTaken) {
  World.ReportImpact({10, 20}, 2);
  World.ReportImpact({30, 40}, 5);
  World.ReportImpact({50, 60}, 3);
  const game::TRaceImpact impact = Take();
  EXPECT_EQ(impact.X, 30);
  EXPECT_EQ(impact.Y, 40);
  EXPECT_EQ(impact.Speed, 5);
  EXPECT_EQ(Take().Speed, 0);
}

TEST_F(ImpactReport, APlayerBumpIsReportedWhenTheContactBeginsOnly) {
  game::TEnemyCar& enemy = MakeEnemy(396 + 30, 321, 0, 0);
  enemy.Speed = 3;
  Player().Speed = 4;  // up the screen, the opponent to the right: 5 pixels a frame apart
  Player().UpdateCorners();
  enemy.UpdateCorners();
  Player().CarCollisions();
  const game::TRaceImpact impact = Take();
  EXPECT_NEAR(impact.Speed, 5, 1e-9);
  EXPECT_NEAR(impact.X, 396 + 15, 1e-4);
  EXPECT_NEAR(impact.Y, 321, 1e-4);
  Player().CarCollisions();
  EXPECT_EQ(Take().Speed, 0) << "the same contact goes on";
  enemy.MoveBy(100, 0);
  enemy.UpdateCorners();
  Player().CarCollisions();
  EXPECT_FALSE(Player().CarContact[0]);
  enemy.MoveBy(-100, 0);
  enemy.UpdateCorners();
  Player().CarCollisions();
  EXPECT_GT(Take().Speed, 0) << "a new contact";
}

TEST_F(ImpactReport, TwoOpponentsReportTheirBumpOnce) {
  game::TEnemyCar& a = MakeEnemy(500, 500, 0, 0);
  game::TEnemyCar& b = MakeEnemy(530, 500, 0, 180);
  a.Speed = 2;
  b.Speed = 1;
  a.UpdateCorners();
  b.UpdateCorners();
  a.CarContacts();
  EXPECT_TRUE(a.CarContact[1]);
  EXPECT_NEAR(Take().Speed, 3, 1e-9) << "head on: the speeds add";
  b.CarContacts();
  EXPECT_TRUE(b.CarContact[0]);
  EXPECT_EQ(Take().Speed, 0) << "the pair's higher index leaves the bump to the lower";
}

TEST_F(ImpactReport, AnObstacleReportsTheCarsThatStartTouchingIt) {
  game::TEnemyCar& enemy = MakeEnemy(500, 500, 0, 0);
  enemy.Speed = 6;
  enemy.UpdateCorners();
  Player().Speed = 0;
  Player().UpdateCorners();
  auto* wall = Engine.Create<game::TRoadRock>(World, 600.0f, 500.0f, 10);
  wall->DoMove(0);
  EXPECT_TRUE(wall->EnemyHit[0]);
  EXPECT_NEAR(Take().Speed, 6, 1e-9);
  enemy.MoveBy(14, 0);  // back against the wall
  enemy.UpdateCorners();
  wall->DoMove(0);
  EXPECT_TRUE(wall->EnemyHit[0]);
  EXPECT_EQ(Take().Speed, 0) << "the same contact goes on";
  auto* ahead = Engine.Create<game::TRoadRock>(World, 396.0f, 321.0f - 40.0f, 10);
  Player().Speed = 3;
  ahead->DoMove(0);
  EXPECT_TRUE(ahead->PlayerHit);
  EXPECT_NEAR(Take().Speed, 3, 1e-9);
  Player().UpdateCorners();
  ahead->DoMove(0);
  EXPECT_EQ(Take().Speed, 0) << "the player's contact goes on";
}

}  // namespace
}  // namespace racetest
