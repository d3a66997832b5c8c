// Back to the track: the R key puts the player's car back on the road after a fade, at its grid
// slot before the first checkpoint and just past the last checkpoint after it, facing along the
// road and standing, with every lap and checkpoint count as it was.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "RaceFixture.h"
#include "RaceSimulator.h"
#include "game/AnglesAndRandom.h"
#include "game/race/Autopilot.h"
#include "game/race/CheckLine.h"
#include "game/race/FinishLine.h"
#include "game/race/GroundPoint.h"
#include "game/race/TrackReturn.h"
#include "platform/VirtualKeys.h"

namespace racetest {
namespace {

namespace fs = std::filesystem;
using game::TPoint2;
using game::TTrackReturn;
using racesim::TRaceSimulator;

// The counts a return must leave alone.
struct TCounts {
  int32_t Lap = 0;
  int32_t NextCheckpoint = 0;
  int32_t LastCheckpoint = 0;
  bool LapArmed = false;
  bool operator==(const TCounts&) const = default;
};

TCounts CountsOf(const game::TPlayer& player) {
  return {player.Lap, player.NextCheckpoint, player.LastCheckpoint, player.LapArmed};
}

// The angle between two headings, whole turns left out (0 .. 180 degrees).
double AngleBetween(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

// A race on the fixture oval (a clockwise loop: checkpoint 0 on the right side, 1 at the
// bottom, 2 on the left), raced by the simulator without a driver of its own.
class TrackReturn : public RaceFixture {
 protected:
  TrackReturn() {
    fs::copy_file(fs::path(RACE_FIXTURE_DATA_DIR) / "Data" / "oval.prd",
                  fs::path(Dir) / "Data" / "data2.prd");
    Options.TrackSlot = 0;
    Options.Car = 0;
    Options.OpponentCars = {0, 1, 2, 3};
    Options.Seed = 7;
    Sim = std::make_unique<TRaceSimulator>(Options, Images, Dir);
    Pilot = std::make_unique<game::TAutopilot>(Sim->World());
  }

  game::TRaceWorld& Race() { return Sim->World(); }
  game::TPlayer& Player() { return *Race().Player; }
  TPoint2 FromFinishLine() {
    const TPoint2 car = Player().Centre();
    const TPoint2 line = Race().FinishLine->Centre();
    return {car.X - line.X, car.Y - line.Y};
  }
  bool OnRoad() { return Player().FrontGroundPoint->OnRoad || Player().RearGroundPoint->OnRoad; }
  void Steps(int count) {
    for (int i = 0; i < count; ++i) Sim->Step(nullptr);
  }
  void ToTheGreenLight() {
    while (!Player().ControlsEnabled) Sim->Step(nullptr);
  }
  // The autopilot drives until the condition holds (at most a minute of race).
  template <class F>
  void DriveUntil(F done) {
    for (int frame = 0; frame < 5400 && !done(); ++frame) {
      Pilot->Drive();
      Sim->Step(nullptr);
    }
    ASSERT_TRUE(done());
    Race().KeyDown.fill(false);
  }
  // Throttle and full right lock until the car has left the road.
  void DriveOffTheRoad() {
    Race().KeyDown.fill(false);
    Race().KeyDown[platform::VK_UP] = true;
    Race().KeyDown[platform::VK_RIGHT] = true;
    for (int frame = 0; frame < 600 && OnRoad(); ++frame) Sim->Step(nullptr);
    Steps(20);
    Race().KeyDown.fill(false);
    ASSERT_FALSE(OnRoad());
  }
  // The R key let go, and the whole fade; the car is put back at its darkest.
  void PressRAndWait() {
    Race().KeyReleased[TTrackReturn::kKey] = true;
    Sim->Step(nullptr);
    ASSERT_TRUE(Race().TrackReturn.Active());
    Steps(2 * TTrackReturn::kFadeFrames);
    ASSERT_FALSE(Race().TrackReturn.Active());
  }

  racesim::TSimOptions Options;
  std::unique_ptr<TRaceSimulator> Sim;
  std::unique_ptr<game::TAutopilot> Pilot;
};

TEST_F(TrackReturn, BeforeTheFirstCheckpointTheCarGoesBackToItsGridSlot) {
  const TPoint2 grid = FromFinishLine();
  const double gridHeading = Player().Heading;
  ToTheGreenLight();
  ASSERT_NO_FATAL_FAILURE(DriveOffTheRoad());
  ASSERT_EQ(Player().LastCheckpoint, -1);
  const TCounts counts = CountsOf(Player());
  const game::TRaceTime clock = Player().RaceTime;
  ASSERT_NO_FATAL_FAILURE(PressRAndWait());
  EXPECT_NEAR(FromFinishLine().X, grid.X, 1.0);
  EXPECT_NEAR(FromFinishLine().Y, grid.Y, 1.0);
  EXPECT_LT(AngleBetween(Player().Heading, gridHeading), 1e-9);
  EXPECT_EQ(Player().Speed, 0);
  EXPECT_TRUE(OnRoad());
  EXPECT_EQ(CountsOf(Player()), counts);
  EXPECT_NE(Player().RaceTime, clock) << "the race clock runs on";
}

TEST_F(TrackReturn, PastACheckpointTheCarGoesBackJustPastItFacingAlongTheRoad) {
  ToTheGreenLight();
  ASSERT_NO_FATAL_FAILURE(DriveUntil([this] { return Player().LastCheckpoint == 0; }));
  Steps(60);
  ASSERT_NO_FATAL_FAILURE(DriveOffTheRoad());
  const TCounts counts = CountsOf(Player());
  ASSERT_EQ(counts.LastCheckpoint, 0);
  ASSERT_NO_FATAL_FAILURE(PressRAndWait());
  const game::TCheckLine* line = Race().CheckLines.front();
  ASSERT_EQ(line->Number, 0);
  const TPoint2 car = Player().Centre();
  const TPoint2 check = line->Centre();
  // Just past the line: at least kPastCheckpoint on, and no further than keeps it clear.
  EXPECT_GE(game::Distance(car, check), TTrackReturn::kPastCheckpoint - 2);
  EXPECT_LE(game::Distance(car, check), TTrackReturn::kPastCheckpoint + 60);
  // Checkpoint 0 is on the right side of the clockwise oval: the road runs down the screen, and
  // the opponents' path the car is put on already leans into the bend below.
  EXPECT_LT(AngleBetween(Player().Heading, 90), 20.0);
  EXPECT_LT(AngleBetween(game::ArcTan2Deg(car.Y - check.Y, car.X - check.X), 90), 20.0);
  EXPECT_EQ(Player().Speed, 0);
  EXPECT_TRUE(OnRoad());
  EXPECT_FALSE(game::QuadsOverlap(Player().Corners, line->Quad));
  EXPECT_EQ(CountsOf(Player()), counts);
  Steps(90);  // standing there changes nothing either
  EXPECT_EQ(CountsOf(Player()), counts);
  EXPECT_EQ(Player().Speed, 0);
}

TEST_F(TrackReturn, GoingBackOverTheFinishLineCountsNoLapTwice) {
  ToTheGreenLight();
  // Checkpoint 2 (the last of the oval) arms the lap; the finish line then counts it.
  ASSERT_NO_FATAL_FAILURE(DriveUntil([this] { return Player().Lap == 2; }));
  ASSERT_EQ(Player().LastCheckpoint, 2);
  ASSERT_FALSE(Player().LapArmed);
  ASSERT_NO_FATAL_FAILURE(PressRAndWait());
  EXPECT_FALSE(Player().LapArmed);
  // Back before the finish line: crossing it again counts nothing.
  ASSERT_NO_FATAL_FAILURE(DriveUntil([this] { return Player().LastCheckpoint == 0; }));
  EXPECT_EQ(Player().Lap, 2);
}

TEST_F(TrackReturn, TheFadeDarkensForAThirdOfASecondAndClearsAgain) {
  ToTheGreenLight();
  Race().KeyReleased[TTrackReturn::kKey] = true;
  std::vector<int32_t> alphas;
  for (int frame = 0; frame < 2 * TTrackReturn::kFadeFrames + 2; ++frame) {
    Sim->Step(nullptr);
    alphas.push_back(Race().TrackReturn.FadeAlpha());
  }
  const auto darkest = std::max_element(alphas.begin(), alphas.end());
  EXPECT_EQ(*darkest, 255);
  EXPECT_EQ(darkest - alphas.begin(), TTrackReturn::kFadeFrames - 1);
  EXPECT_TRUE(std::is_sorted(alphas.begin(), darkest));
  EXPECT_TRUE(std::is_sorted(darkest, alphas.end(), std::greater<>()));
  EXPECT_EQ(alphas.back(), 0);
  EXPECT_FALSE(Race().TrackReturn.Active());
}

TEST_F(TrackReturn, TheKeyCountsOnlyWhileTheRaceRuns) {
  // During the start lights: taken and forgotten, so the green light starts no return.
  Steps(100);
  Race().KeyReleased[TTrackReturn::kKey] = true;
  Sim->Step(nullptr);
  EXPECT_FALSE(Race().TrackReturn.Active());
  EXPECT_FALSE(Race().KeyReleased[TTrackReturn::kKey]);
  ToTheGreenLight();
  Steps(2);
  EXPECT_FALSE(Race().TrackReturn.Active());
  // After the finish.
  Race().PlayerFinished = true;
  Player().ControlsEnabled = false;
  EXPECT_FALSE(Race().TrackReturn.Request());
}

TEST_F(TrackReturn, ACarThatFinishesDuringTheFadeIsNotPutBack) {
  ToTheGreenLight();
  Race().KeyDown[platform::VK_UP] = true;
  Steps(120);
  Race().KeyDown.fill(false);
  ASSERT_TRUE(Race().TrackReturn.Request());
  Steps(5);
  Race().PlayerFinished = true;
  Player().ControlsEnabled = false;
  Steps(2 * TTrackReturn::kFadeFrames);
  EXPECT_FALSE(Race().TrackReturn.Active());
  EXPECT_GT(Player().Speed, 1) << "still coasting over the line, not stopped somewhere else";
}

}  // namespace
}  // namespace racetest
