// Every track of the game raced to the end with the game's own pictures and track files: the
// player's car on the autopilot and the track's opponents from the catalogue, a fixed seed.

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>

#include "RaceSimulator.h"
#include "SimDisplay.h"
#include "SimReport.h"
#include "game/GameConstants.h"
#include "game/race/MiniMap.h"

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

/// The alpha of the track map's pixel at a point of the screen, or 0 off the map.
uint32_t MapAlpha(const game::TMiniMap& map, int32_t x, int32_t y) {
  x -= map.MapLeft();
  y -= map.MapTop();
  if (x < 0 || y < 0 || x >= map.MapWidth() || y >= map.MapHeight()) return 0;
  return map.MapPixels()[static_cast<size_t>(y * map.MapWidth() + x)] >> 24;
}

TEST_P(AllTracks, TrackMapIsMadeOfTheRoadTheCarsDriveOn) {
  racesim::TSimDisplay display(false, CLD_DATA_DIR "/Data/data2.oil");
  TSimOptions options;
  options.TrackSlot = GetParam();
  options.Car = 0;
  options.Seed = 2024;
  options.Autopilot = true;
  TRaceSimulator sim(options, display.Images(), CLD_DATA_DIR);
  const game::TMiniMap* map = nullptr;
  for (vexel::TSprite* sprite : sim.World().Engine.SpriteList()) {
    if (auto* found = dynamic_cast<game::TMiniMap*>(sprite)) map = found;
  }
  ASSERT_NE(map, nullptr);
  ASSERT_TRUE(map->HasMap());
  // Every point of the opponents' driving path lies on the map's road (or right beside it: the
  // path may cut a bend's inside edge by a few world pixels).
  for (const game::TPathPoint& point : sim.World().PathPoints) {
    const game::TPoint2 at = map->MapPoint({point.X, point.Y});
    uint32_t best = 0;
    for (int32_t dy = -1; dy <= 1; ++dy) {
      for (int32_t dx = -1; dx <= 1; ++dx) {
        best = std::max(
            best, MapAlpha(*map, static_cast<int32_t>(at.X) + dx, static_cast<int32_t>(at.Y) + dy));
      }
    }
    EXPECT_GT(best, 100u) << "path point " << point.Order << " off the map's road";
  }
  // Tracks are loops round an open middle: much of the map's box is bare.
  const auto& pixels = map->MapPixels();
  const auto road =
      std::count_if(pixels.begin(), pixels.end(), [](uint32_t p) { return (p >> 24) != 0; });
  EXPECT_GT(road, static_cast<long>(pixels.size()) / 10);
  EXPECT_LT(road, static_cast<long>(pixels.size()) * 7 / 10);
}

INSTANTIATE_TEST_SUITE_P(Race, AllTracks, ::testing::Range(0, game::TrackCount),
                         [](const auto& slot) { return "Track" + std::to_string(slot.param + 1); });

}  // namespace
