// The headless race simulator on the fixture track: the autopilot, the race clock, key
// scripts, the start lights, and its command line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "RaceFixture.h"
#include "RaceSimulator.h"
#include "SimOptions.h"

namespace racetest {
namespace {

namespace fs = std::filesystem;
using racesim::TRaceSimulator;
using racesim::TSimOptions;

class Simulator : public RaceFixture {
 protected:
  Simulator() {
    fs::copy_file(fs::path(RACE_FIXTURE_DATA_DIR) / "Data" / "oval.prd",
                  fs::path(Dir) / "Data" / "data2.prd");
    Options.TrackSlot = 0;
    Options.Car = 0;
    Options.OpponentCars = {0, 1, 2, 3};
    Options.Seed = 7;
  }
  TSimOptions Options;
};

TEST_F(Simulator, AutopilotAndOpponentsFinishTheOval) {
  Options.Autopilot = true;
  TRaceSimulator sim(Options, Images, Dir);
  const racesim::TRaceOutcome outcome = sim.Run(sim.DefaultFrameLimit());
  EXPECT_TRUE(outcome.AllFinished);
  EXPECT_FALSE(sim.AnyStuck());
  ASSERT_EQ(outcome.Cars.size(), 5u);
  std::vector<int32_t> places;
  for (const racesim::TCarResult& car : outcome.Cars) {
    places.push_back(car.Place);
    EXPECT_EQ(car.Laps, 5) << car.Name;
    EXPECT_LT(car.BestLap.Minutes, 1000) << car.Name;
  }
  std::sort(places.begin(), places.end());
  EXPECT_EQ(places, (std::vector<int32_t>{1, 2, 3, 4, 5}));
  EXPECT_GT(outcome.PlayerFinishFrame, 0);
}

TEST_F(Simulator, SameSeedAndInputsSameRace) {
  Options.Autopilot = true;
  Options.OpponentCars.clear();
  TRaceSimulator first(Options, Images, Dir);
  TRaceSimulator second(Options, Images, Dir);
  const racesim::TRaceOutcome a = first.Run(3000);
  const racesim::TRaceOutcome b = second.Run(3000);
  ASSERT_EQ(a.Cars.size(), b.Cars.size());
  for (size_t i = 0; i < a.Cars.size(); ++i) {
    EXPECT_EQ(a.Cars[i].CarType, b.Cars[i].CarType);
    EXPECT_EQ(a.Cars[i].Time, b.Cars[i].Time);
    EXPECT_EQ(a.Cars[i].Laps, b.Cars[i].Laps);
  }
  EXPECT_EQ(first.World().Player->Centre().X, second.World().Player->Centre().X);
  EXPECT_EQ(first.World().PathPoints[0].X, second.World().PathPoints[0].X);
}

TEST_F(Simulator, StartLightsHoldTheFieldUntilGreen) {
  TRaceSimulator sim(Options, Images, Dir);
  while (sim.Frame() < game::GreenLightTick) sim.Step(nullptr);
  game::TRaceWorld& world = sim.World();
  EXPECT_FALSE(world.Player->ControlsEnabled);
  for (int32_t i = 0; i < world.EnemyCount; ++i) {
    EXPECT_EQ(world.Enemy(i).Speed, 0);
    EXPECT_FALSE(world.Enemy(i).Started);
  }
  EXPECT_EQ(world.Player->RaceTime, (game::TRaceTime{}));
  sim.Step(nullptr);
  EXPECT_TRUE(world.Player->ControlsEnabled);
  EXPECT_TRUE(world.Enemy(0).Started);
}

TEST_F(Simulator, RaceClockRunsTenNinthsOfATickPerFrame) {
  TRaceSimulator sim(Options, Images, Dir);
  while (sim.Frame() < game::GreenLightTick + 90) sim.Step(nullptr);
  EXPECT_EQ(sim.World().Player->RaceTime, (game::TRaceTime{0, 1, 0}));
  EXPECT_EQ(sim.World().Enemy(3).RaceTime, (game::TRaceTime{0, 1, 0}));
  while (sim.Frame() < game::GreenLightTick + 90 + 9) sim.Step(nullptr);
  EXPECT_EQ(sim.World().Player->RaceTime, (game::TRaceTime{0, 1, 10}));
}

TEST_F(Simulator, KeyScriptDrivesThePlayer) {
  Options.InputFile = Dir + "/keys.txt";
  std::ofstream(Options.InputFile) << "# full throttle from the green light\n251 keydown up\n";
  TRaceSimulator sim(Options, Images, Dir);
  while (sim.Frame() < 400) sim.Step(nullptr);
  EXPECT_GT(sim.World().Player->Speed, 1);
  EXPECT_TRUE(KeyDown == game::TKeyTable{});  // the simulator has key flags of its own
}

TEST_F(Simulator, WithoutKeysThePlayerIsFoundStuck) {
  TRaceSimulator sim(Options, Images, Dir);
  const racesim::TRaceOutcome outcome = sim.Run(sim.DefaultFrameLimit());
  EXPECT_FALSE(outcome.AllFinished);
  EXPECT_TRUE(sim.AnyStuck());
  EXPECT_EQ(outcome.Cars[0].Place, 0);
  EXPECT_GE(outcome.Cars[0].StuckAt, racesim::StuckFrames);
}

TEST_F(Simulator, BadKeyScriptIsRefused) {
  Options.InputFile = Dir + "/bad.txt";
  std::ofstream(Options.InputFile) << "ten keydown up\n";
  EXPECT_THROW(TRaceSimulator(Options, Images, Dir), racesim::TUsageError);
}

struct TArgsCase {
  std::vector<std::string> Args;
  const char* Complaint;
};

class SimArguments : public ::testing::TestWithParam<TArgsCase> {};

TEST_P(SimArguments, BadCommandLinesAreRefused) {
  try {
    racesim::ParseSimOptions(GetParam().Args);
    FAIL() << "accepted";
  } catch (const racesim::TUsageError& error) {
    EXPECT_NE(std::string(error.what()).find(GetParam().Complaint), std::string::npos)
        << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Simulator, SimArguments,
    ::testing::Values(
        TArgsCase{{}, "--track and --car"}, TArgsCase{{"--track", "12", "--car", "0"}, "--track"},
        TArgsCase{{"--track", "0", "--car", "5"}, "--car"},
        TArgsCase{{"--track", "0", "--car", "x"}, "--car"},
        TArgsCase{{"--track", "0", "--car", "0", "--opponents-cars", "1,9"}, "opponent"},
        TArgsCase{{"--track", "0", "--car", "0", "--seed"}, "needs a value"},
        TArgsCase{{"--track", "0", "--car", "0", "--input", "f", "--autopilot"}, "together"},
        TArgsCase{{"--track", "0", "--car", "0", "--fast"}, "unknown option"},
        TArgsCase{{"--track", "0", "--car", "0", "--camera", "chase"},
                  "--camera must be look-ahead or classic"},
        TArgsCase{{"--track", "0", "--car", "0", "--camera"}, "needs a value"},
        TArgsCase{{"--replay", "r.rpl", "--time-trial"}, "--replay takes only"},
        TArgsCase{
            {"--track", "0", "--car", "0", "--opponents-cars", "1,2", "--save-replay", "r.rpl"},
            "--save-replay cannot record a race with --opponents-cars"}));

TEST(SimArguments, EveryOption) {
  const TSimOptions options = racesim::ParseSimOptions(
      {"--track", "11", "--car", "4", "--opponents-cars", "0,1,2", "--seed", "99", "--autopilot",
       "--data-dir", "/d", "--frames", "500", "--screenshot", "s.png", "--bench", "--camera",
       "classic", "--time-trial"});
  EXPECT_EQ(options.TrackSlot, 11);
  EXPECT_EQ(options.Car, 4);
  EXPECT_EQ(options.OpponentCars, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(options.Seed, 99u);
  EXPECT_TRUE(options.Autopilot);
  EXPECT_EQ(options.DataDir, "/d");
  EXPECT_EQ(options.Frames, 500);
  EXPECT_EQ(options.Screenshot, "s.png");
  EXPECT_TRUE(options.Bench);
  EXPECT_EQ(options.Camera, game::TCameraMode::Classic);
  EXPECT_TRUE(options.TimeTrial);
  EXPECT_EQ(racesim::ParseSimOptions({"--track", "0", "--car", "0"}).Camera,
            game::TCameraMode::LookAhead)
      << "the game's default view";
}

}  // namespace
}  // namespace racetest
