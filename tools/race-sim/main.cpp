// race-sim: runs a race of the game headless and prints how every car did.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "RaceSimulator.h"
#include "SimDisplay.h"
#include "SimOptions.h"
#include "SimReport.h"
#include "game/race/RaceReplay.h"
#include "game/race/TrackFileError.h"
#include "platform/Shell.h"

namespace {

using namespace racesim;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
/// Wall time the benchmark spends racing at least.
constexpr double kBenchSeconds = 2.0;

std::string DefaultDataDir() {
  std::error_code error;
  const fs::path exe = fs::canonical("/proc/self/exe", error);
  return ((error ? fs::current_path() : exe.parent_path()) / "data").string();
}

double Seconds(Clock::duration duration) {
  return std::chrono::duration<double>(duration).count();
}

void PrintSpeed(long frames, double seconds) {
  std::printf("ns per simulated frame: %.0f\nsimulated frames per second: %.0f\n",
              seconds * 1e9 / static_cast<double>(frames), static_cast<double>(frames) / seconds);
}

std::unique_ptr<TRaceSimulator> MakeSimulator(const TSimOptions& options,
                                              const game::TRaceReplay* replay, TSimDisplay& display,
                                              const std::string& dataDir) {
  if (replay) return std::make_unique<TRaceSimulator>(*replay, display.Images(), dataDir);
  return std::make_unique<TRaceSimulator>(options, display.Images(), dataDir);
}

long FrameLimit(const TSimOptions& options, const game::TRaceReplay* replay,
                const TRaceSimulator& sim) {
  if (options.Frames > 0) return options.Frames;
  return std::max(sim.DefaultFrameLimit(), replay ? static_cast<long>(replay->FrameCount()) : 0L);
}

int RunBench(const TSimOptions& options, const game::TRaceReplay* replay, TSimDisplay& display,
             const std::string& dataDir) {
  long frames = 0;
  long races = 0;
  double seconds = 0;
  while (seconds < kBenchSeconds) {
    const std::unique_ptr<TRaceSimulator> sim = MakeSimulator(options, replay, display, dataDir);
    const long limit = FrameLimit(options, replay, *sim);
    const Clock::time_point start = Clock::now();
    sim->Run(limit);
    seconds += Seconds(Clock::now() - start);
    frames += sim->Frame();
    ++races;
    if (races == 1 && !replay) PrintHeading(std::cout, options, sim->World());
  }
  std::printf("races: %ld, frames: %ld, seconds: %.3f\n", races, frames, seconds);
  PrintSpeed(frames, seconds);
  return 0;
}

int RunReplay(const game::TRaceReplay& replay, TSimDisplay& display, const std::string& dataDir) {
  TRaceSimulator sim(replay, display.Images(), dataDir);
  PrintReplayOutcome(std::cout, sim.Run(FrameLimit(TSimOptions{}, &replay, sim)));
  return 0;
}

int RunRace(const TSimOptions& options, TSimDisplay& display, const std::string& dataDir) {
  TRaceSimulator sim(options, display.Images(), dataDir);
  const long limit = options.Frames > 0 ? options.Frames : sim.DefaultFrameLimit();
  PrintHeading(std::cout, options, sim.World());
  const Clock::time_point start = Clock::now();
  if (!options.Screenshot.empty()) {
    while (sim.Frame() < limit) sim.Step(&display.Screen());
    if (!display.Screen().SavePng(options.Screenshot)) {
      std::cerr << "race-sim: cannot save the picture " << options.Screenshot << "\n";
      return ExitFailure;
    }
  } else {
    sim.Run(limit);
  }
  const double seconds = Seconds(Clock::now() - start);
  if (options.RecordReplay) sim.Recording().Save(options.SaveReplayFile);
  const TRaceOutcome outcome = sim.Outcome();
  PrintOutcome(std::cout, outcome);
  PrintSpeed(std::max(outcome.Frames, 1L), seconds);
  return outcome.AllFinished || !options.Screenshot.empty() ? 0 : ExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
  TSimOptions options;
  try {
    options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const TUsageError& error) {
    std::cerr << "race-sim: " << error.what() << "\n" << Usage();
    return ExitUsage;
  }
  const std::string dataDir = options.DataDir.empty() ? DefaultDataDir() : options.DataDir;
  if (!options.Screenshot.empty()) setenv("SDL_VIDEODRIVER", "offscreen", 0);
  try {
    TSimDisplay display(!options.Screenshot.empty(),
                        (fs::path(dataDir) / platform::NativePath("Data\\data2.oil")).string());
    if (!options.ReplayFile.empty()) {
      const game::TRaceReplay replay = game::TRaceReplay::Load(options.ReplayFile);
      return options.Bench ? RunBench(options, &replay, display, dataDir)
                           : RunReplay(replay, display, dataDir);
    }
    return options.Bench ? RunBench(options, nullptr, display, dataDir)
                         : RunRace(options, display, dataDir);
  } catch (const game::TReplayError& error) {
    std::cerr << "race-sim: the replay cannot be played: " << error.what() << "\n";
  } catch (const game::TTrackFileError& error) {
    std::cerr << "race-sim: the race cannot start: " << error.what() << "\n";
  } catch (const TUsageError& error) {
    std::cerr << "race-sim: " << error.what() << "\n";
    return ExitUsage;
  } catch (const std::exception& error) {
    std::cerr << "race-sim: " << error.what() << "\n";
  }
  return ExitFailure;
}
