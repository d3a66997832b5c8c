// fuzz_track: track files as a race takes them: the input replaces the file of a track with a
// field of seven opponents, the race is set up over the game's real race pictures, started, and
// driven for a second and a half, the player's car by the simulator's driver. A file that
// cannot make a race must be refused with the track-file error.
//
// The race pictures come from Data/data2.oil of the data folder named by the environment
// variable CLD_FUZZ_DATA_DIR, or else of the folder given to CMake.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "SimDisplay.h"
#include "engine/VexelSprite.h"
#include "game/GameConstants.h"
#include "game/RaceSetup.h"
#include "game/race/Autopilot.h"
#include "game/race/RaceWorld.h"
#include "game/race/TrackFileError.h"

namespace {

namespace fs = std::filesystem;

// The catalogue slot whose track file the input replaces ("Track 12", seven opponents).
constexpr int32_t kTrackSlot = 11;
// Frames driven after the green light.
constexpr int kRaceFrames = 135;

std::string PicturesFile() {
  const char* dir = std::getenv("CLD_FUZZ_DATA_DIR");
  return (fs::path(dir && *dir ? dir : CLD_FUZZ_DATA_DIR) / "Data" / "data2.oil").string();
}

std::string MakeDataDir() {
  std::string dir = (fs::temp_directory_path() / "fuzz-track-XXXXXX").string();
  if (!mkdtemp(dir.data())) abort();
  fs::create_directories(fs::path(dir) / "Data");
  return dir;
}

// What every input shares: a data folder of the process's own and the race pictures.
struct TTrackBench {
  std::string DataDir = MakeDataDir();
  racesim::TSimDisplay Display{false, PicturesFile()};
};

TTrackBench& Bench() {
  static TTrackBench bench;
  return bench;
}

void WriteTrack(const std::string& file, const uint8_t* data, size_t size) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) abort();
}

void Race(TTrackBench& bench, const uint8_t* data, size_t size) {
  game::TGameCatalogue catalogue;
  catalogue.TracksAvailable = game::TrackCount;
  catalogue.CarsAvailable = game::CarCount;
  catalogue.ApplyAvailability();
  catalogue.SelectedTrack = kTrackSlot;
  std::mt19937 random(1);
  game::TKeyTable keyDown{};
  game::TKeyTable keyReleased{};
  vexel::TVexelSprite engine;
  game::TRaceWorld world(engine, bench.Display.Images(), catalogue, random, keyDown, keyReleased,
                         bench.DataDir);
  WriteTrack(world.DataFile(catalogue.TrackInfo[kTrackSlot].DataFile), data, size);
  try {
    game::SetupRace(world);
  } catch (const game::TTrackFileError&) {
    return;
  }
  world.ReleaseStart();
  game::TAutopilot driver(world);
  for (int frame = 0; frame < kRaceFrames; ++frame) {
    driver.Drive();
    engine.ClearDead();
    engine.Move(0);
    game::TrackPathPoints(world);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Race(Bench(), data, size);
  return 0;
}
