// Every track of the game raced to the end with the game's own pictures and track files: the
// player's car on the autopilot and the track's opponents from the catalogue, a fixed seed.

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "RaceSimulator.h"
#include "SimDisplay.h"
#include "SimReport.h"
#include "game/GameConstants.h"

namespace {

using racesim::TRaceSimulator;
using racesim::TSimOptions;

class AllTracks : public ::testing::TestWithParam<int32_t> {};

TEST_P(AllTracks, EveryCarFinishesAndNoneGetsStuck) {
  racesim::TSimDisplay display(false, CLD_DATA_DIR "/Data/data2.oil");
  TSimOptions options;
  options.TrackSlot = GetParam();
  options.Car = 0;
  options.Seed = 2024;
  options.Autopilot = true;
  TRaceSimulator sim(options, display.Images(), CLD_DATA_DIR);
  const racesim::TRaceOutcome outcome = sim.Run(sim.DefaultFrameLimit());
  std::ostringstream report;
  racesim::PrintHeading(report, options, sim.World());
  racesim::PrintOutcome(report, outcome);
  std::cout << report.str();
  EXPECT_TRUE(outcome.AllFinished) << report.str();
  for (const racesim::TCarResult& car : outcome.Cars) {
    EXPECT_GT(car.Place, 0) << car.Name;
    EXPECT_LT(car.StuckAt, 0) << car.Name << " stuck";
  }
}

INSTANTIATE_TEST_SUITE_P(Race, AllTracks, ::testing::Range(0, game::TrackCount),
                         [](const auto& slot) { return "Track" + std::to_string(slot.param + 1); });

}  // namespace
