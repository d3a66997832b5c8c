// Measures the race world's simulation: one race frame (the sprites move, the path follows the
// world, the race clock ticks) on the longest track with seven opponents, the player's car on
// the simulator's autopilot. Nothing is drawn. A finished race is replaced by a fresh one
// outside the timing.
//
//   RaceFrame/Track11   frames of "Track 11" (8 laps, 7 opponents); items per second are
//                       simulated frames per second
//   ReplayFrame/Track11 the same race recorded once and then played from its replay (the
//                       recorded control flags instead of the autopilot)

#include <benchmark/benchmark.h>

#include <memory>

#include "RaceSimulator.h"
#include "SimDisplay.h"

namespace {

constexpr int32_t kLongestTrackWithSevenOpponents = 10;

void RaceFrame(benchmark::State& state, int32_t trackSlot) {
  racesim::TSimDisplay display(false, CLD_DATA_DIR "/Data/data2.oil");
  racesim::TSimOptions options;
  options.TrackSlot = trackSlot;
  options.Autopilot = true;
  options.Seed = 1;
  auto race = std::make_unique<racesim::TRaceSimulator>(options, display.Images(), CLD_DATA_DIR);
  for (auto _ : state) {
    if (race->AllFinished() || race->AnyStuck()) {
      state.PauseTiming();
      race = std::make_unique<racesim::TRaceSimulator>(options, display.Images(), CLD_DATA_DIR);
      state.ResumeTiming();
    }
    race->Step(nullptr);
  }
  state.SetItemsProcessed(state.iterations());
}

/// One autopilot race of the track, recorded.
game::TRaceReplay RecordedRace(racesim::TSimDisplay& display, int32_t trackSlot) {
  racesim::TSimOptions options;
  options.TrackSlot = trackSlot;
  options.Autopilot = true;
  options.Seed = 1;
  options.RecordReplay = true;
  racesim::TRaceSimulator race(options, display.Images(), CLD_DATA_DIR);
  race.Run(race.DefaultFrameLimit());
  return race.Recording();
}

void ReplayFrame(benchmark::State& state, int32_t trackSlot) {
  racesim::TSimDisplay display(false, CLD_DATA_DIR "/Data/data2.oil");
  const game::TRaceReplay replay = RecordedRace(display, trackSlot);
  auto race = std::make_unique<racesim::TRaceSimulator>(replay, display.Images(), CLD_DATA_DIR);
  for (auto _ : state) {
    if (race->AllFinished() || race->AnyStuck()) {
      state.PauseTiming();
      race = std::make_unique<racesim::TRaceSimulator>(replay, display.Images(), CLD_DATA_DIR);
      state.ResumeTiming();
    }
    race->Step(nullptr);
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(RaceFrame, Track11, kLongestTrackWithSevenOpponents);
BENCHMARK_CAPTURE(ReplayFrame, Track11, kLongestTrackWithSevenOpponents);

}  // namespace

BENCHMARK_MAIN();
