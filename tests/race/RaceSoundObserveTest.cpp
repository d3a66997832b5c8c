// What the race sound hears of a race world each frame: the player's speed, throttle, slide
// and lap, the opponents, and the bump of the frame (taken from the world).

#include <gtest/gtest.h>

#include "RaceFixture.h"
#include "game/race/RaceSound.h"
#include "platform/VirtualKeys.h"

namespace racetest {
namespace {

class RaceSoundObserve : public RaceFixture {
 protected:
  RaceSoundObserve() {
    SetPath({{396, 0, 1, 0}, {396, 600, 2, 0}});
    MakePlayer(396, 321, 2, 270);
    World.RaceLaps = 5;
  }
  game::TPlayer& Player() { return *World.Player; }
};

TEST_F(RaceSoundObserve, HearsThePlayerTheOpponentsAndTakesTheBump) {
  MakeEnemy(500, 400, 0, 0).Speed = 3;
  Player().Speed = 4;
  Player().Lap = 2;
  Player().ControlsEnabled = true;
  KeyDown[platform::VK_UP] = true;
  World.ReportImpact({400, 300}, 2.5);
  const game::TRaceSoundState state = game::TRaceSound::Observe(World);
  EXPECT_EQ(state.Speed, 4);
  EXPECT_EQ(state.MaxSpeed, Player().MaxSpeed);
  EXPECT_TRUE(state.Throttle);
  EXPECT_FALSE(state.Sliding);
  EXPECT_EQ(state.Lap, 2);
  EXPECT_EQ(state.RaceLaps, 5);
  EXPECT_NEAR(state.Listener.X, 396, 1e-4);
  EXPECT_NEAR(state.Listener.Y, 321, 1e-4);
  ASSERT_EQ(state.OpponentCount, 1);
  EXPECT_NEAR(state.Opponents[0].At.X, 500, 1e-4);
  EXPECT_EQ(state.Opponents[0].Speed, 3);
  EXPECT_EQ(state.Impact.Speed, 2.5);
  EXPECT_EQ(World.Impact.Speed, 0) << "each bump is heard once";
}

// The player's car in one frame, and whether the race sound hears it slide.
struct SlideCase {
  const char* Name;
  double Speed;
  double Gap;  // degrees between heading and travel
  bool Handbrake;
  bool Controls;
  bool Sliding;
};

class RaceSoundSlide : public RaceSoundObserve, public ::testing::WithParamInterface<SlideCase> {};

TEST_P(RaceSoundSlide, SlidesSidewaysAtSpeedOrOnTheHandbrake) {
  Player().Speed = GetParam().Speed;
  Player().Heading = 270 + GetParam().Gap;
  Player().TravelDir = 270;
  Player().ControlsEnabled = GetParam().Controls;
  KeyDown[platform::VK_SPACE] = GetParam().Handbrake;
  EXPECT_EQ(game::TRaceSound::Observe(World).Sliding, GetParam().Sliding);
}

INSTANTIATE_TEST_SUITE_P(
    Slides, RaceSoundSlide,
    ::testing::Values(SlideCase{"Straight", 6, 0, false, true, false},
                      SlideCase{"SidewaysAtSpeed", 6, 30, false, true, true},
                      SlideCase{"SidewaysTheOtherWay", 6, -30, false, true, true},
                      SlideCase{"SmallAngle", 6, 10, false, true, false},
                      SlideCase{"SidewaysButSlow", 1, 30, false, true, false},
                      SlideCase{"Handbrake", 4, 0, true, true, true},
                      SlideCase{"HandbrakeReversing", -4, 0, true, true, true},
                      // Before the green light and after the finish the keys do nothing.
                      SlideCase{"HandbrakeWithoutControls", 4, 0, true, false, false}),
    [](const ::testing::TestParamInfo<SlideCase>& c) { return std::string(c.param.Name); });

}  // namespace
}  // namespace racetest
