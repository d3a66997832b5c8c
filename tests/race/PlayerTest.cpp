// The player's car: keyboard controls, world shift, running order and bumps off opponents.

#include <gtest/gtest.h>

#include "RaceFixture.h"
#include "game/race/RoadPart.h"
#include "platform/VirtualKeys.h"

namespace racetest {
namespace {

using platform::VK_CONTROL;
using platform::VK_DOWN;
using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_SPACE;
using platform::VK_UP;

class PlayerCar : public RaceFixture {
 protected:
  PlayerCar() {
    SetPath({{396, 0, 1, 0}, {396, 600, 2, 0}});
    MakePlayer(396, 321, 0, 270);
  }
  game::TPlayer& Player() { return *World.Player; }
};

TEST_F(PlayerCar, BeforeTheGreenLightTheKeysDoNothing) {
  KeyDown[VK_UP] = KeyDown[VK_LEFT] = true;
  Player().Speed = 0.5;
  Frame();
  EXPECT_EQ(Player().PatternIndex(), 2);
  EXPECT_EQ(Player().CurrentAccel, 0);
  EXPECT_EQ(Player().Heading, 270);
  EXPECT_NEAR(Player().Speed, (0.5 - 0.011) * 0.995, 1e-12);  // coasting
}

TEST_F(PlayerCar, UpWinsOverDownAndRightOverLeft) {
  Player().ControlsEnabled = true;
  KeyDown[VK_UP] = KeyDown[VK_DOWN] = KeyDown[VK_LEFT] = KeyDown[VK_RIGHT] = true;
  Player().Speed = 2;
  Player().ApplyControls();
  EXPECT_EQ(Player().CurrentAccel, 0.045);
  EXPECT_DOUBLE_EQ(Player().Heading, 270 + 1.7);
}

TEST_F(PlayerCar, ReleasingDownWhileUpIsHeldStopsAcceleratingForOneFrame) {
  Player().ControlsEnabled = true;
  KeyDown[VK_UP] = true;
  KeyReleased[VK_DOWN] = true;
  Player().ApplyControls();
  EXPECT_EQ(Player().CurrentAccel, 0);
  EXPECT_FALSE(KeyReleased[VK_DOWN]);
  Player().ApplyControls();
  EXPECT_EQ(Player().CurrentAccel, 0.045);
}

TEST_F(PlayerCar, ReleasesOfTheOtherKeysAreConsumed) {
  Player().ControlsEnabled = true;
  for (int32_t key : {VK_RIGHT, VK_LEFT, VK_SPACE, VK_CONTROL}) {
    KeyDown[key] = KeyReleased[key] = true;
  }
  Player().ApplyControls();
  for (int32_t key : {VK_RIGHT, VK_LEFT, VK_SPACE, VK_CONTROL}) {
    EXPECT_FALSE(KeyDown[key]) << key;
    EXPECT_FALSE(KeyReleased[key]) << key;
  }
}

TEST_F(PlayerCar, HandbrakeAtSpeedSkids) {
  Player().ControlsEnabled = true;
  KeyDown[VK_SPACE] = true;
  Player().Speed = 5;
  Player().ApplyControls();
  EXPECT_EQ(Player().CurrentAccel, -0.011);
  EXPECT_TRUE(Player().Skidding);
  Player().MotionStep(1.0);
  EXPECT_DOUBLE_EQ(Player().Speed, (5 - 0.011) * (1 - 0.005) * (1 - 0.008));
}

TEST_F(PlayerCar, ReversingHandbrakeStopsDead) {
  Player().ControlsEnabled = true;
  KeyDown[VK_CONTROL] = true;
  Player().Speed = -1.5;
  Frame();
  EXPECT_EQ(Player().Speed, 0);
}

TEST_F(PlayerCar, ThePlayerStaysAndTheWorldMoves) {
  Player().ControlsEnabled = true;
  Player().Speed = 4;
  auto* road = Engine.Create<game::TRoadPart>(World, 300.0f, 100.0f, 2);
  Frame();
  // Heading 270 is up the screen: the world moves down by the speed before this frame.
  EXPECT_NEAR(Player().ShiftX, 0, 1e-12);
  EXPECT_DOUBLE_EQ(Player().ShiftY, 4);
  EXPECT_DOUBLE_EQ(Player().Centre().X, 396);
  EXPECT_DOUBLE_EQ(Player().Centre().Y, 321);
  EXPECT_NEAR(World.PathPoints[0].Y, 4, 1e-12);
  // The road moves before the cars, so it takes this shift in the next frame.
  EXPECT_EQ(road->Y(), 100);
  Frame();
  EXPECT_NEAR(road->Y(), 104, 1e-4);
}

TEST_F(PlayerCar, OffTheRoadAccelerationIsCut) {
  Player().ControlsEnabled = true;
  KeyDown[VK_UP] = true;
  Frame();
  EXPECT_EQ(Player().AccelFactor, 0.3);
  Engine.Create<game::TRoadPart>(World, 300.0f, 161.0f, 2);
  Frame();  // the probes find the road in this frame; the car uses it the next
  Frame();
  EXPECT_EQ(Player().AccelFactor, 1.0);
}

TEST_F(PlayerCar, EqualProgressLeavesThePlayerAhead) {
  MakeEnemy(200, 321);
  MakeEnemy(600, 321);
  Player().UpdatePathProgress();
  World.EnemyProgress[0] = World.PlayerProgress;
  World.EnemyProgress[1] = World.PlayerProgress;
  Player().UpdateRacePosition();
  EXPECT_EQ(Player().RacePosition, 1);
  World.EnemyProgress[1] = World.PlayerProgress + 1e-9;
  Player().UpdateRacePosition();
  EXPECT_EQ(Player().RacePosition, 2);
}

TEST_F(PlayerCar, ProgressProjectsOnTheNearestSegment) {
  SetPath({{0, 0, 1, 0}, {1000, 0, 2, 0}, {1000, 1000, 3, 0}});
  Player().UpdatePathProgress();  // centre (396, 321): nearest point 1, projection (396, 0)
  EXPECT_DOUBLE_EQ(Player().PathProgress, 39.6);
  EXPECT_DOUBLE_EQ(World.PlayerProgress, 200 + 39.6);
  Player().Lap = 2;
  Player().UpdatePathProgress();
  EXPECT_DOUBLE_EQ(World.PlayerProgress, 3 * 200 + 39.6);
}

TEST_F(PlayerCar, ProgressBehindTheFirstPointCountsBackwards) {
  SetPath({{500, 321, 1, 0}, {900, 321, 2, 0}, {900, 800, 3, 0}});
  Player().UpdatePathProgress();
  EXPECT_DOUBLE_EQ(Player().PathProgress, -10.4);
}

TEST_F(PlayerCar, BumpsOffATouchingOpponent) {
  game::TEnemyCar& enemy = MakeEnemy(396 + 30, 321);
  enemy.Speed = 0;
  Player().Speed = 2;
  Player().UpdateCorners();
  enemy.UpdateCorners();
  Player().CarCollisions();
  EXPECT_TRUE(Player().CarContact[0]);
  // The opponent stands: the world moves one pixel towards it (the player away from it).
  EXPECT_DOUBLE_EQ(Player().BounceX, 1);
  EXPECT_DOUBLE_EQ(Player().BounceY, 0);
  EXPECT_DOUBLE_EQ(Player().Speed, 2 * 0.99);
  EXPECT_EQ(Player().Heading, 270);
}

TEST_F(PlayerCar, BumpTurnsWithTheCrossingVelocities) {
  game::TEnemyCar& enemy = MakeEnemy(396 + 30, 321, 0, 0);
  enemy.Speed = 3;
  Player().Speed = 2;  // travelling up, the opponent on the right moving right: k > 0
  Player().UpdateCorners();
  enemy.UpdateCorners();
  Player().CarCollisions();
  EXPECT_DOUBLE_EQ(Player().Heading, 270 + 1.5);
  EXPECT_DOUBLE_EQ(Player().TravelDir, 270 + 1.5);
  // A moving opponent pushes twice as hard along its travel.
  EXPECT_DOUBLE_EQ(Player().BounceX, 2);
}

TEST_F(PlayerCar, OpponentsTwoHundredPixelsAwayAreNotTested) {
  MakeEnemy(396 + 200, 321);
  Player().UpdateCorners();
  Player().CarContact[0] = true;  // from an earlier frame
  Player().CarCollisions();
  EXPECT_TRUE(Player().CarContact[0]);
}

}  // namespace
}  // namespace racetest
