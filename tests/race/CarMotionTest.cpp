// The car motion model shared by the player's car and the opponents.

#include <gtest/gtest.h>

#include <cmath>

#include "RaceFixture.h"
#include "game/race/Dim.h"
#include "game/race/GroundPoint.h"

namespace racetest {
namespace {

class CarMotion : public RaceFixture {};

/// Full throttle for a number of frames on the road; returns the highest speed seen.
double FullThrottle(game::TCar& car, int frames) {
  double top = 0;
  for (int n = 0; n < frames; ++n) {
    car.Accelerate();
    top = std::max(top, car.Speed);
    car.MotionStep(1.0);
  }
  return top;
}

TEST_F(CarMotion, SpeederSettlesWhereDragBalancesThrottle) {
  game::TCar& car = MakePlayer(396, 321, 0);
  const double top = FullThrottle(car, 4000);
  EXPECT_NEAR(car.Speed, 199 * 0.045, 1e-6);
  EXPECT_LT(top, 10.0);
}

TEST_F(CarMotion, TurboRunsIntoItsCap) {
  game::TCar& car = MakePlayer(396, 321, 1);
  const double top = FullThrottle(car, 2000);
  EXPECT_EQ(top, 5.5);
  car.Accelerate();
  EXPECT_EQ(car.Speed, 5.5);
}

TEST_F(CarMotion, BrakingPastZeroReversesDownToTheLimit) {
  game::TCar& car = MakePlayer(396, 321, 0);
  car.Speed = 1.0;
  bool reachedLimit = false;
  for (int n = 0; n < 1000; ++n) {
    car.Brake();
    ASSERT_GE(car.Speed, -2.0);
    if (car.Speed > -2.0) {
      EXPECT_EQ(car.CurrentAccel, -0.025);
    }
    reachedLimit = reachedLimit || car.Speed == -2.0;
    car.MotionStep(1.0);
  }
  EXPECT_TRUE(reachedLimit);
}

TEST_F(CarMotion, ReversingSkidStopsDead) {
  game::TCar& car = MakePlayer(396, 321, 0);
  car.Speed = -1.5;
  car.Skidding = true;
  car.MotionStep(1.0);
  EXPECT_EQ(car.Speed, 0);
  EXPECT_FALSE(car.Skidding);
}

TEST_F(CarMotion, TravelDirectionCatchesUpByFixedStepsNearTheHeading) {
  game::TCar& car = MakePlayer(396, 321, 0, 10);
  car.TravelDir = 10.5;
  car.Speed = 3;
  car.MotionStep(1.0);
  EXPECT_NEAR(car.TravelDir, 9.4, 1e-12);
  car.MotionStep(1.0);
  EXPECT_NEAR(car.TravelDir, 10.5, 1e-12);
  car.TravelDir = 10;
  car.MotionStep(1.0);
  EXPECT_EQ(car.TravelDir, 10);
  car.TravelDir = 30;
  car.MotionStep(1.0);
  EXPECT_DOUBLE_EQ(car.TravelDir, 30 - 1.7 * 0.78);
}

TEST_F(CarMotion, SkidEndsWithTheMotionStep) {
  game::TCar& car = MakePlayer(396, 321, 0, 10);
  car.Speed = 5;
  car.TravelDir = 40;
  car.Skidding = true;
  car.MotionStep(1.0);
  EXPECT_DOUBLE_EQ(car.Speed, 5 * (1 - 0.005) * (1 - 0.008));
  EXPECT_EQ(car.TravelDir, 40);  // no catching up while skidding
  EXPECT_FALSE(car.Skidding);
}

TEST_F(CarMotion, SteeringLeftAtSpeedKeepsTheTravelDirectionWithinSeventyDegrees) {
  game::TCar& car = MakePlayer(396, 321, 0, 0);
  car.Speed = 5;
  for (int n = 0; n < 100; ++n) {
    car.SteerLeft();
    car.MotionStep(1.0);
    ASSERT_LE(car.TravelDir - car.Heading, 70 + car.TurnRate) << n;
  }
  EXPECT_NEAR(car.Heading, -170, 1e-9);
  EXPECT_EQ(car.PatternIndex(), 4);
}

TEST_F(CarMotion, SteeringRightAtSpeedWithAWideGapLeavesTheTravelDirection) {
  game::TCar& car = MakePlayer(396, 321, 0, 30);
  car.Speed = 5;
  car.TravelDir = 0;
  car.SteerRight();
  EXPECT_DOUBLE_EQ(car.Heading, 31.7);
  EXPECT_EQ(car.TravelDir, 0);
  EXPECT_TRUE(car.Skidding);
  EXPECT_EQ(car.PatternIndex(), 0);
}

TEST_F(CarMotion, SteeringAtRestOrReversing) {
  game::TCar& car = MakePlayer(396, 321, 0, 100);
  car.SteerRight();  // at speed 0 the right key turns the heading back
  EXPECT_DOUBLE_EQ(car.Heading, 100 - 1.7);
  car.Speed = -1;
  car.Heading = car.TravelDir = 100;
  car.SteerLeft();  // reversing, the left key turns it forward
  EXPECT_DOUBLE_EQ(car.Heading, 101.7);
}

TEST_F(CarMotion, LeanMovesOneCellEveryFifthFrameAndCentres) {
  game::TCar& car = MakePlayer(396, 321, 0, 90);
  car.SetPatternIndex(2);
  std::vector<int32_t> cells;
  for (int n = 0; n < 12; ++n) {
    car.SteerLeft();
    cells.push_back(car.PatternIndex());
  }
  EXPECT_EQ(cells, (std::vector<int32_t>{3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4}));
  for (int n = 0; n < 15; ++n) car.CentreSteering();
  EXPECT_EQ(car.PatternIndex(), 2);
}

TEST_F(CarMotion, CornersOfAFortyBySixtyCar) {
  SetTile("car2", 40, 60);
  game::TCar& car = MakePlayer(100, 200, 0, 90);
  const double r = std::sqrt(17.0 * 17.0 + 27.0 * 27.0);
  EXPECT_NEAR(r, 31.9, 0.05);
  EXPECT_NEAR(car.CornerAngles[3], 57.8, 0.05);
  EXPECT_DOUBLE_EQ(car.CornerAngles[0], 180 - car.CornerAngles[3]);
  car.UpdateCorners();
  // At rotation 0 the quad is the rectangle inset by 3 pixels.
  EXPECT_NEAR(car.Corners[0].X, 100 - 17, 1e-9);
  EXPECT_NEAR(car.Corners[0].Y, 200 + 27, 1e-9);
  EXPECT_NEAR(car.Corners[2].X, 100 + 17, 1e-9);
  EXPECT_NEAR(car.Corners[2].Y, 200 - 27, 1e-9);
  // The probes sit 20 pixels ahead of and behind the centre.
  EXPECT_NEAR(car.FrontGroundPoint->X(), 100, 1e-4);
  EXPECT_NEAR(car.FrontGroundPoint->Y(), 220, 1e-4);
  EXPECT_NEAR(car.RearGroundPoint->Y(), 180, 1e-4);
  car.Rotation = 90;
  car.UpdateCorners();
  EXPECT_NEAR(car.Corners[0].X, 100 - 27, 1e-9);
  EXPECT_NEAR(car.Corners[0].Y, 200 - 17, 1e-9);
  EXPECT_NEAR(car.FrontGroundPoint->X(), 80, 1e-4);
}

TEST_F(CarMotion, SmokeRadiusAndRearCorners) {
  SetTile("car2", 40, 60);
  game::TCar& car = MakePlayer(100, 200, 0, 90);
  EXPECT_DOUBLE_EQ(car.SmokeRadius, 2.0 / 3.0 * std::sqrt(20.0 * 20 + 30.0 * 30));
  const double beta = std::atan(60.0 / 40.0) * 180 / M_PI;
  EXPECT_DOUBLE_EQ(car.SmokeAngleA, 360 - beta - 10);
  EXPECT_DOUBLE_EQ(car.SmokeAngleB, beta + 180 + 10);
  car.EmitSmoke();
  EXPECT_EQ(Count<game::TDim>(), 2);
  for (int n = 0; n < 4; ++n) car.EmitSmoke();
  EXPECT_EQ(Count<game::TDim>(), 2);
  car.EmitSmoke();
  EXPECT_EQ(Count<game::TDim>(), 4);
}

TEST_F(CarMotion, HandlingComesFromTheCarType) {
  game::TCar& car = MakePlayer(100, 200, 4, 90);
  car.MaxSpeed = 1;
  car.Speed = 3;
  car.ResetHandling();
  EXPECT_EQ(car.MaxSpeed, 12.0);
  EXPECT_EQ(car.Acceleration, 0.04);
  EXPECT_EQ(car.TurnRate, 1.75);
  EXPECT_EQ(car.Grip, 0.87);
  EXPECT_EQ(car.Speed, 0);
  EXPECT_EQ(car.ReverseLimit, -2.0);
  EXPECT_EQ(car.CoastDecel, 0.011);
  EXPECT_EQ(car.Z(), 50);
  EXPECT_EQ(car.Rotation, 0);
}

}  // namespace
}  // namespace racetest
