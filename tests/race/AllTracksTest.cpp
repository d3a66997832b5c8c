// Every track of the game raced to the end with the game's own pictures and track files: the
// player's car on the autopilot and the track's opponents from the catalogue, a fixed seed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>

#include "RaceSimulator.h"
#include "SimDisplay.h"
#include "SimReport.h"
#include "game/GameConstants.h"
#include "game/race/Autopilot.h"
#include "game/race/CheckLine.h"
#include "game/race/GroundPoint.h"
#include "game/race/MiniMap.h"
#include "game/race/Player.h"

namespace {

using racesim::TRaceSimulator;
using racesim::TSimOptions;

class AllTracks : public ::testing::TestWithParam<int32_t> {};

/// An autopilot race of the first car on the track in this slot.
TSimOptions AutopilotRace(int32_t slot) {
  TSimOptions options;
  options.TrackSlot = slot;
  options.Car = 0;
  options.Seed = 2024;
  options.Autopilot = true;
  return options;
}

TEST_P(AllTracks, EveryCarFinishesAndNoneGetsStuck) {
  racesim::TSimDisplay display(false, CLD_DATA_DIR "/Data/data2.oil");
  const TSimOptions options = AutopilotRace(GetParam());
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

// Everything the results show of a race, to compare two races with.
std::string Results(const racesim::TRaceOutcome& outcome) {
  std::ostringstream text;
  racesim::PrintOutcome(text, outcome);
  text << "frames " << outcome.Frames << ", player finished at " << outcome.PlayerFinishFrame;
  return text.str();
}

TEST_P(AllTracks, TheCameraChangesThePictureOnly) {
  racesim::TSimDisplay display(false, CLD_DATA_DIR "/Data/data2.oil");
  TSimOptions options;
  options.TrackSlot = GetParam();
  options.Car = 4;  // the fastest car: the widest lead
  options.Seed = 3;
  options.Autopilot = true;
  std::string results[2];
  double largestLead[2] = {0, 0};
  for (const game::TCameraMode mode : {game::TCameraMode::Classic, game::TCameraMode::LookAhead}) {
    options.Camera = mode;
    TRaceSimulator sim(options, display.Images(), CLD_DATA_DIR);
    const game::TPoint2 rest = sim.World().Camera.Offset();
    const long limit = sim.DefaultFrameLimit();
    double& lead = largestLead[mode == game::TCameraMode::LookAhead];
    while (sim.Frame() < limit && !sim.AllFinished() && !sim.AnyStuck()) {
      sim.Step(nullptr);
      const game::TPoint2 offset = sim.World().Camera.Offset();
      lead = std::max(lead, std::hypot(offset.X - rest.X, offset.Y - rest.Y));
    }
    results[mode == game::TCameraMode::LookAhead] = Results(sim.Outcome());
  }
  EXPECT_EQ(results[1], results[0]);
  EXPECT_EQ(largestLead[0], 0) << "the classic view never moves";
  EXPECT_GT(largestLead[1], 100) << "the look-ahead view leads the car at speed";
}

TEST_P(AllTracks, BackToTheTrackFromEveryCheckpointPutsTheCarOnTheRoad) {
  racesim::TSimDisplay display(false, CLD_DATA_DIR "/Data/data2.oil");
  TSimOptions options;
  options.TrackSlot = GetParam();
  options.Car = 0;
  options.Seed = 5;
  TRaceSimulator sim(options, display.Images(), CLD_DATA_DIR);
  game::TRaceWorld& world = sim.World();
  game::TPlayer& player = *world.Player;
  game::TAutopilot pilot(world);
  const auto checkpoints = static_cast<int32_t>(world.CheckLines.size());
  ASSERT_GE(checkpoints, 3);
  for (int32_t next = 0; next < checkpoints; ++next) {
    for (long frame = 0; frame < 60L * 90 && player.LastCheckpoint != next; ++frame) {
      pilot.Drive();
      sim.Step(nullptr);
    }
    ASSERT_EQ(player.LastCheckpoint, next);
    world.KeyDown.fill(false);
    const int32_t lap = player.Lap;
    const int32_t nextCheckpoint = player.NextCheckpoint;
    ASSERT_TRUE(world.TrackReturn.Request());
    // To the darkest frame of the fade, in which the car is put back.
    while (world.TrackReturn.FadeAlpha() < 255) sim.Step(nullptr);
    const game::TCheckLine* line = nullptr;
    for (const game::TCheckLine* candidate : world.CheckLines) {
      if (candidate->Number == next) line = candidate;
    }
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(player.FrontGroundPoint->OnRoad && player.RearGroundPoint->OnRoad)
        << "checkpoint " << next;
    // The line's own quad waits for its next move; its square is where it is now.
    const game::TQuad square = game::SquareAround(line->Centre(), line->Width() / 2.0);
    EXPECT_FALSE(game::QuadsOverlap(player.Corners, square)) << "checkpoint " << next;
    while (world.TrackReturn.Active()) sim.Step(nullptr);
    EXPECT_EQ(player.Speed, 0);
    EXPECT_EQ(player.Lap, lap);
    EXPECT_EQ(player.NextCheckpoint, nextCheckpoint);
  }
  // From there the autopilot takes the car on round the lap.
  for (long frame = 0; frame < 60L * 90 && player.LastCheckpoint != 0; ++frame) {
    pilot.Drive();
    sim.Step(nullptr);
  }
  EXPECT_EQ(player.LastCheckpoint, 0);
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
  const TSimOptions options = AutopilotRace(GetParam());
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
