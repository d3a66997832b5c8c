// The opponent driver: steering, target points, braking, feelers, lap evidence and bumps.

#include <gtest/gtest.h>

#include <cmath>

#include "RaceFixture.h"

namespace racetest {
namespace {

class Opponent : public RaceFixture {
 protected:
  Opponent() { MakePlayer(2000, 2000, 0, 270); }

  /// An opponent at (500, 500) driving towards a target at Offset from its centre.
  game::TEnemyCar& Driving(double dx, double dy, double heading = 0) {
    SetPath({{500 + dx, 500 + dy, 1, 0}, {3000, 3000, 2, 0}, {3000, -3000, 3, 0}});
    game::TEnemyCar& enemy = MakeEnemy(500, 500, 0, heading);
    enemy.Started = true;
    enemy.LastHeading = static_cast<float>(heading);
    return enemy;
  }
};

struct TBrakeCase {
  double Speed;
  bool Brakes;
};

class OpponentBraking : public Opponent, public ::testing::WithParamInterface<TBrakeCase> {};

TEST_P(OpponentBraking, BrakesWhenTheTargetLiesFarOffTheHeading) {
  game::TEnemyCar& enemy = Driving(500, 500);  // bearing 45, heading 0
  enemy.Speed = GetParam().Speed;
  enemy.Drive();
  EXPECT_FLOAT_EQ(enemy.Bearing, 45);
  EXPECT_EQ(enemy.CurrentAccel, GetParam().Brakes ? -0.025 : 0.045);
}

INSTANTIATE_TEST_SUITE_P(Opponent, OpponentBraking,
                         ::testing::Values(TBrakeCase{3, true},     // cos 45 + 2 < 3
                                           TBrakeCase{2.5, false},  // 2.71 > 2.5
                                           TBrakeCase{2.8, true}));

TEST_F(Opponent, SharpTurnsBrakeAboveSpeedOne) {
  game::TEnemyCar& enemy = Driving(-1000, 176);  // bearing 170: cos 170 + 2 is about 1.015
  enemy.Speed = 1.01;
  enemy.Drive();
  EXPECT_EQ(enemy.CurrentAccel, -0.025);
  enemy.Speed = 0.9;
  enemy.CurrentAccel = 0;
  enemy.Drive();
  EXPECT_EQ(enemy.CurrentAccel, 0.045);
}

TEST_F(Opponent, HeadingsOnEitherSideOfZeroAreClose) {
  game::TEnemyCar& enemy = Driving(1000, -100, 350);  // bearing -5.7 against heading 350
  enemy.Speed = 5;
  enemy.Drive();
  EXPECT_EQ(enemy.CurrentAccel, 0.045);
}

struct TTargetCase {
  double Dx;
  double Dy;
  bool Reached;
};

class OpponentTarget : public Opponent, public ::testing::WithParamInterface<TTargetCase> {};

TEST_P(OpponentTarget, MovesOnWithinTheBox) {
  game::TEnemyCar& enemy = Driving(GetParam().Dx, GetParam().Dy);
  enemy.Drive();
  EXPECT_EQ(enemy.TargetPathIndex, GetParam().Reached ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Opponent, OpponentTarget,
                         ::testing::Values(TTargetCase{100, 200, false},
                                           TTargetCase{150, 150, true},
                                           TTargetCase{-159, 159, true},
                                           TTargetCase{160, 0, false}));

TEST_F(Opponent, TargetWrapsFromTheLastPointToTheFirst) {
  game::TEnemyCar& enemy = Driving(3000, -3000);
  enemy.TargetPathIndex = 3;
  SetPath({{0, 0, 1, 0}, {3000, 3000, 2, 0}, {600, 400, 3, 0}});
  enemy.Drive();
  EXPECT_EQ(enemy.TargetPathIndex, 1);
}

TEST_F(Opponent, SteersTowardsTheTarget) {
  game::TEnemyCar& right = Driving(400, 300, 0);  // target below-right of a car facing +x
  right.Speed = 1;
  right.Drive();
  EXPECT_DOUBLE_EQ(right.Heading, 1.7);
}

TEST_F(Opponent, NoSteeringWhenTheTargetIsInLine) {
  game::TEnemyCar& enemy = Driving(0.6, -800, 300);  // same x after rounding
  enemy.Speed = 1;
  enemy.Drive();
  EXPECT_EQ(enemy.Heading, 300);
}

TEST_F(Opponent, BothFeelersBlockedSteersLeft) {
  game::TEnemyCar& enemy = Driving(0.2, -800, 270);  // in line: no steering of its own
  enemy.Speed = 7;
  enemy.Feelers[0].Blocked = enemy.Feelers[1].Blocked = true;
  enemy.Drive();
  EXPECT_DOUBLE_EQ(enemy.Heading, 270 - 1.7);
  EXPECT_EQ(enemy.CurrentAccel, -0.025);  // above speed 6 it brakes
  EXPECT_FALSE(enemy.Feelers[0].Blocked);
  EXPECT_FALSE(enemy.Feelers[1].Blocked);
}

TEST_F(Opponent, LeftFeelerBlockedSteersRightWithoutBrakingWhenSlow) {
  game::TEnemyCar& enemy = Driving(0.2, -800, 270);
  enemy.Speed = 4;
  enemy.Feelers[0].Blocked = true;
  enemy.Drive();
  EXPECT_DOUBLE_EQ(enemy.Heading, 270 + 1.7);
  EXPECT_EQ(enemy.CurrentAccel, 0.045);
}

TEST_F(Opponent, CarAheadOnTheLeftMakesItSwerveRight) {
  game::TEnemyCar& enemy = Driving(0.2, -800, 270);
  enemy.Speed = 4;
  enemy.UpdateFeelers();
  const game::TFeeler& ahead = enemy.Feelers[2];
  EXPECT_NEAR(ahead.X, 500, 1e-9);
  EXPECT_NEAR(ahead.Y, 500 - (32 + 35), 1e-9);
  game::TEnemyCar& other = MakeEnemy(ahead.X - 10, ahead.Y - 30, 0, 270);
  other.UpdateCorners();
  enemy.CheckCarAhead();
  EXPECT_TRUE(enemy.Feelers[2].AvoidRight);
  EXPECT_FALSE(enemy.Feelers[2].AvoidLeft);
  enemy.Drive();
  EXPECT_DOUBLE_EQ(enemy.Heading, 270 + 1.7);
  EXPECT_FALSE(enemy.Feelers[2].AvoidRight);
}

TEST_F(Opponent, TagsProveTheLap) {
  SetPath({{500, 300, 1, 1},
           {500, 100, 2, 2},
           {500, -100, 3, 3},
           {500, -300, 4, 4},
           {500, -500, 5, 0}});
  ASSERT_EQ(World.TaggedPathCount, 4);
  game::TEnemyCar& enemy = MakeEnemy(500, 420, 0, 270);
  enemy.Started = true;
  EXPECT_TRUE(enemy.SectionsComplete());
  enemy.ClearSections();
  enemy.LapArmed = false;
  EXPECT_FALSE(enemy.SectionsComplete());
  enemy.TargetPathIndex = 1;
  enemy.Drive();  // reaches point 1: the target becomes point 2, tag 2
  EXPECT_TRUE(enemy.SectionPassed[2]);
  EXPECT_FALSE(enemy.SectionsComplete());
  enemy.MoveBy(0, -200);
  enemy.Drive();  // tag 3 arms the lap
  EXPECT_TRUE(enemy.SectionPassed[3]);
  EXPECT_TRUE(enemy.LapArmed);
  EXPECT_TRUE(enemy.SectionsComplete());
  enemy.MoveBy(0, -200);
  enemy.Drive();  // tag 4 lies beyond the table and is ignored
  EXPECT_EQ(enemy.TargetPathIndex, 4);
  EXPECT_TRUE(enemy.SectionsComplete());
}

TEST_F(Opponent, OnTheGridItHoldsAndNearTheFirstPointItCreeps) {
  SetPath({{500, 500, 1, 0}, {500, 0, 2, 0}});
  game::TEnemyCar& far = MakeEnemy(500, 800, 0, 270);
  game::TEnemyCar& near = MakeEnemy(540, 560, 0, 270);
  far.Speed = 1;
  Frame();
  EXPECT_EQ(far.CurrentAccel, -0.0055);
  EXPECT_EQ(near.CurrentAccel, 0.01);
  EXPECT_EQ(far.PatternIndex(), 0);
}

TEST_F(Opponent, PlaceCountsOtherOpponentsAndThePlayer) {
  SetPath({{0, 0, 1, 0}, {0, 1000, 2, 0}});
  game::TEnemyCar& a = MakeEnemy(100, 100);
  MakeEnemy(100, 300);
  World.EnemyProgress[1] = 1000;
  World.PlayerProgress = 1000;
  a.UpdatePathProgress();
  a.UpdateRacePosition();
  EXPECT_EQ(a.RacePosition, 3);
}

TEST_F(Opponent, BumpMovesItselfAndKeepsMostOfItsSpeed) {
  SetPath({{0, 0, 1, 0}, {0, 1000, 2, 0}});
  game::TEnemyCar& a = MakeEnemy(500, 500, 0, 0);
  game::TEnemyCar& b = MakeEnemy(530, 500, 0, 0);
  a.Speed = 4;
  a.UpdateCorners();
  b.UpdateCorners();
  a.CarContacts();
  EXPECT_TRUE(a.CarContact[1]);
  EXPECT_NEAR(a.Centre().X, 500 - 2, 1e-4);  // travelling along x: pushed 2 pixels back
  EXPECT_NEAR(a.Centre().Y, 500, 1e-4);
  EXPECT_DOUBLE_EQ(a.Speed, 4 * 0.95);
  EXPECT_EQ(a.Heading, 0);  // b stands: no turn
}

}  // namespace
}  // namespace racetest
