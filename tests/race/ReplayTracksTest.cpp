// Replays of races over the game's own tracks: a recorded race runs again exactly, and a replay
// that does not fit (cut, damaged, of another format version or track) is refused by name.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "RaceSimulator.h"
#include "SimDisplay.h"
#include "game/GameConstants.h"
#include "game/race/EnemyCar.h"
#include "game/race/Player.h"
#include "game/race/RaceReplay.h"

namespace {

namespace fs = std::filesystem;
using game::TRaceReplay;
using game::TReplayError;
using racesim::TRaceOutcome;
using racesim::TRaceSimulator;

/// Where a car ended up: its place relative to the track's first path point, its heading and
/// its progress along the path.
struct TFinalPosition {
  double X = 0;
  double Y = 0;
  double Heading = 0;
  double PathProgress = 0;
  bool operator==(const TFinalPosition&) const = default;
};

std::vector<TFinalPosition> FinalPositions(TRaceSimulator& sim) {
  game::TRaceWorld& world = sim.World();
  const game::TPathPoint& origin = world.PathPoint(1);
  const auto where = [&origin](const game::TCar& car) {
    return TFinalPosition{car.X() - origin.X, car.Y() - origin.Y, car.Heading, car.PathProgress};
  };
  std::vector<TFinalPosition> positions{where(*world.Player)};
  for (int32_t i = 0; i < world.EnemyCount; ++i) positions.push_back(where(world.Enemy(i)));
  return positions;
}

racesim::TSimDisplay& Display() {
  static racesim::TSimDisplay display(false, CLD_DATA_DIR "/Data/data2.oil");
  return display;
}

/// An autopilot race of a track, recorded.
TRaceReplay RecordRace(int32_t slot, TRaceOutcome* outcome = nullptr,
                       std::vector<TFinalPosition>* positions = nullptr) {
  racesim::TSimOptions options;
  options.TrackSlot = slot;
  options.Car = slot % game::CarCount;
  options.Seed = 900 + static_cast<uint32_t>(slot);
  options.Autopilot = true;
  options.RecordReplay = true;
  TRaceSimulator sim(options, Display().Images(), CLD_DATA_DIR);
  const TRaceOutcome result = sim.Run(sim.DefaultFrameLimit());
  if (outcome) *outcome = result;
  if (positions) *positions = FinalPositions(sim);
  return sim.Recording();
}

class ReplayOfTrack : public ::testing::TestWithParam<int32_t> {};

TEST_P(ReplayOfTrack, RunsTheRecordedRaceAgainExactly) {
  TRaceOutcome recorded;
  std::vector<TFinalPosition> recordedPositions;
  const TRaceReplay replay = RecordRace(GetParam(), &recorded, &recordedPositions);
  ASSERT_TRUE(recorded.AllFinished);
  const std::string bytes = replay.Serialize();
  EXPECT_LT(bytes.size(), 50u * 1024) << "a race of " << replay.FrameCount() << " frames";

  TRaceSimulator sim(TRaceReplay::Parse(bytes), Display().Images(), CLD_DATA_DIR);
  const TRaceOutcome played = sim.Run(sim.DefaultFrameLimit());
  EXPECT_EQ(played.Frames, recorded.Frames);
  EXPECT_EQ(played.PlayerFinishFrame, recorded.PlayerFinishFrame);
  ASSERT_EQ(played.Cars.size(), recorded.Cars.size());
  for (size_t i = 0; i < played.Cars.size(); ++i) {
    const racesim::TCarResult& a = recorded.Cars[i];
    const racesim::TCarResult& b = played.Cars[i];
    EXPECT_EQ(b.CarType, a.CarType) << a.Name;
    EXPECT_EQ(b.Place, a.Place) << a.Name;
    EXPECT_EQ(b.Time.Text(), a.Time.Text()) << a.Name;
    EXPECT_EQ(b.BestLap.Text(), a.BestLap.Text()) << a.Name;
    EXPECT_EQ(b.Laps, a.Laps) << a.Name;
  }
  EXPECT_TRUE(FinalPositions(sim) == recordedPositions);
}

INSTANTIATE_TEST_SUITE_P(Race, ReplayOfTrack, ::testing::Range(0, game::TrackCount),
                         [](const auto& slot) { return "Track" + std::to_string(slot.param + 1); });

/// A data folder whose every track file holds the next track.
std::string OtherTrackFolder() {
  const fs::path folder =
      fs::temp_directory_path() / ("cld-replay-test-" + std::to_string(getpid()));
  fs::create_directories(folder / "Data");
  for (int32_t n = 1; n <= game::TrackCount; ++n) {
    const std::string next = "data" + std::to_string(n % game::TrackCount + 1) + ".prd";
    fs::copy_file(fs::path(CLD_DATA_DIR) / "Data" / next,
                  folder / "Data" / ("data" + std::to_string(n) + ".prd"),
                  fs::copy_options::overwrite_existing);
  }
  return folder.string();
}

/// A way a replay goes wrong and the message that must name it.
struct TBadReplay {
  const char* Name;
  std::function<std::string(const std::string&)> Spoil;
  bool OtherTrack;
  const char* Message;
};

void PrintTo(const TBadReplay& bad, std::ostream* out) {
  *out << bad.Name;
}

class RefusedReplay : public ::testing::TestWithParam<TBadReplay> {};

TEST_P(RefusedReplay, IsRefusedWithItsMessage) {
  static const std::string good = RecordRace(0).Serialize();
  const TBadReplay& bad = GetParam();
  const std::string dataDir = bad.OtherTrack ? OtherTrackFolder() : std::string(CLD_DATA_DIR);
  const std::string path = (fs::temp_directory_path() /
                            ("cld-replay-" + std::string(bad.Name) + std::to_string(getpid())))
                               .string();
  std::ofstream(path, std::ios::binary) << bad.Spoil(good);
  try {
    const TRaceReplay replay = TRaceReplay::Load(path);
    TRaceSimulator sim(replay, Display().Images(), dataDir);
    ADD_FAILURE() << "the replay was played";
  } catch (const TReplayError& error) {
    EXPECT_NE(std::string(error.what()).find(bad.Message), std::string::npos) << error.what();
  }
  fs::remove(path);
  if (bad.OtherTrack) fs::remove_all(dataDir);
}

std::string FlipByte(std::string bytes, size_t at) {
  bytes[at] = static_cast<char>(bytes[at] ^ 0x5a);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Replay, RefusedReplay,
    ::testing::Values(
        TBadReplay{"CutInHalf", [](const std::string& b) { return b.substr(0, b.size() / 2); },
                   false, "cut short"},
        TBadReplay{"CutInHeader", [](const std::string& b) { return b.substr(0, 10); }, false,
                   "cut short"},
        TBadReplay{"Empty", [](const std::string&) { return std::string(); }, false,
                   "not a replay file"},
        TBadReplay{"FlippedRunByte",
                   [](const std::string& b) { return FlipByte(b, b.size() - 20); }, false,
                   "check sum does not match"},
        TBadReplay{"FlippedTrackByte", [](const std::string& b) { return FlipByte(b, 17); }, false,
                   "check sum does not match"},
        TBadReplay{"FlippedCheckSum",
                   [](const std::string& b) { return FlipByte(b, b.size() - 1); }, false,
                   "check sum does not match"},
        TBadReplay{"NotAReplay", [](const std::string& b) { return FlipByte(b, 0); }, false,
                   "not a replay file"},
        TBadReplay{"OtherVersion", [](const std::string& b) { return FlipByte(b, 8); }, false,
                   "format version"},
        TBadReplay{"TrailingBytes", [](const std::string& b) { return b + "x"; }, false,
                   "bytes after its end"},
        TBadReplay{"OtherTrack", [](const std::string& b) { return b; }, true,
                   "is not the one the replay was recorded on"}),
    [](const auto& bad) { return std::string(bad.param.Name); });

}  // namespace
