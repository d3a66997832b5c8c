// Replays of races and time trials over the game's own tracks: a recorded race or time trial
// runs again exactly, a time trial's ghost sits on the car of the run it recorded every frame,
// and a replay that does not fit (cut, damaged, of another format version or track) is refused
// by name.

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
#include "game/race/GhostCar.h"
#include "game/race/Player.h"
#include "game/race/RaceReplay.h"
#include "game/race/TimeTrialRun.h"
#include "game/screens/TrialOverScreen.h"

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

/// An autopilot time trial of a track, recorded: its outcome, the ghost record of its run and
/// its final position.
struct TRecordedTrial {
  TRaceReplay Replay;
  TRaceOutcome Outcome;
  game::TGhostRun Run;
  std::vector<TFinalPosition> Positions;
};

TRecordedTrial RecordTrial(int32_t slot) {
  racesim::TSimOptions options;
  options.TrackSlot = slot;
  options.Car = (slot + 2) % game::CarCount;
  options.Seed = 700 + static_cast<uint32_t>(slot);
  options.Autopilot = true;
  options.RecordReplay = true;
  options.TimeTrial = true;
  TRaceSimulator sim(options, Display().Images(), CLD_DATA_DIR);
  TRecordedTrial trial;
  trial.Outcome = sim.Run(sim.DefaultFrameLimit());
  trial.Replay = sim.Recording();
  trial.Run = sim.Trial()->AsRecord(trial.Replay.TrackFile, trial.Replay.TrackHash, 0);
  trial.Positions = FinalPositions(sim);
  return trial;
}

class TrialReplayOfTrack : public ::testing::TestWithParam<int32_t> {};

TEST_P(TrialReplayOfTrack, RunsTheRecordedTimeTrialAgainExactly) {
  const TRecordedTrial recorded = RecordTrial(GetParam());
  ASSERT_TRUE(recorded.Outcome.AllFinished);
  ASSERT_EQ(recorded.Outcome.Cars.size(), 1u) << "a time trial has no opponents";
  const racesim::TCarResult& a = recorded.Outcome.Cars[0];
  EXPECT_EQ(a.Place, 1);
  // The times are the run's frames, whatever the race clock read.
  EXPECT_EQ(a.Time, game::TTimeTrialRun::TimeOfFrames(recorded.Run.TimeFrames));
  EXPECT_EQ(a.BestLap, game::TTimeTrialRun::TimeOfFrames(recorded.Run.BestLapFrames));
  EXPECT_EQ(recorded.Run.Frames.size(), static_cast<size_t>(recorded.Run.TimeFrames) + 1);

  const TRaceReplay replay = TRaceReplay::Parse(recorded.Replay.Serialize());
  EXPECT_TRUE(replay.TimeTrial);
  TRaceSimulator sim(replay, Display().Images(), CLD_DATA_DIR);
  const TRaceOutcome played = sim.Run(sim.DefaultFrameLimit());
  ASSERT_NE(sim.Trial(), nullptr) << "the replay was not played as a time trial";
  EXPECT_EQ(sim.World().EnemyCount, 0);
  EXPECT_EQ(played.PlayerFinishFrame, recorded.Outcome.PlayerFinishFrame);
  ASSERT_EQ(played.Cars.size(), 1u);
  EXPECT_EQ(played.Cars[0].Time.Text(), a.Time.Text());
  EXPECT_EQ(played.Cars[0].BestLap.Text(), a.BestLap.Text());
  EXPECT_EQ(played.Cars[0].Laps, a.Laps);
  EXPECT_EQ(sim.Trial()->RunFrames(), recorded.Run.TimeFrames);
  EXPECT_EQ(sim.Trial()->BestLapFrames(), recorded.Run.BestLapFrames);
  EXPECT_TRUE(sim.Trial()->Frames() == recorded.Run.Frames) << "the run took another way";
  EXPECT_TRUE(FinalPositions(sim) == recorded.Positions);
}

TEST_P(TrialReplayOfTrack, GhostOfTheRunSitsOnThePlayersCarEveryFrame) {
  const TRecordedTrial recorded = RecordTrial(GetParam());
  TRaceSimulator sim(recorded.Replay, Display().Images(), CLD_DATA_DIR);
  sim.SetGhost(recorded.Run);
  const game::TGhostCar* ghost = sim.Trial()->Ghost();
  ASSERT_NE(ghost, nullptr);
  const game::TPlayer& player = *sim.World().Player;
  EXPECT_EQ(ghost->Alpha(), game::TGhostCar::kAlpha);
  EXPECT_LT(ghost->Z(), player.Z()) << "the ghost must be drawn under the player's car";
  long checked = 0;
  while (!sim.Trial()->Finished() && sim.Frame() < sim.DefaultFrameLimit()) {
    sim.Step(nullptr);
    // Where both are drawn next frame: the ghost is placed from the track's coordinates, the
    // player's car stays where the world moves under it.
    const game::TPoint2 a = ghost->Centre();
    const game::TPoint2 b = player.Centre();
    ASSERT_NEAR(a.X, b.X, 1e-3) << "frame " << sim.Frame();
    ASSERT_NEAR(a.Y, b.Y, 1e-3) << "frame " << sim.Frame();
    ASSERT_EQ(ghost->Rotation, player.Rotation) << "frame " << sim.Frame();
    ASSERT_TRUE(ghost->Visible);
    ++checked;
  }
  EXPECT_TRUE(sim.Trial()->Finished());
  EXPECT_GT(checked, recorded.Run.TimeFrames);
}

INSTANTIATE_TEST_SUITE_P(TimeTrial, TrialReplayOfTrack, ::testing::Range(0, game::TrackCount),
                         [](const auto& slot) { return "Track" + std::to_string(slot.param + 1); });

/// A record beside a run of "Track 1", and what the results panel says about them.
struct TRecordCase {
  const char* Name;
  /// Whether there is a record, and its time as the run's frames plus this.
  bool HasRecord;
  int32_t ExtraFrames;
  const char* Record;
  const char* Difference;
  const char* Sentence;
};

void PrintTo(const TRecordCase& record, std::ostream* out) {
  *out << record.Name;
}

class TrialResults : public ::testing::TestWithParam<TRecordCase> {};

TEST_P(TrialResults, ShowTheRecordAndTheDifferenceToIt) {
  static const TRecordedTrial kRecorded = RecordTrial(0);
  const TRecordCase& c = GetParam();
  TRaceSimulator sim(kRecorded.Replay, Display().Images(), CLD_DATA_DIR);
  game::TGhostRun record = kRecorded.Run;
  record.TimeFrames += c.ExtraFrames;
  if (c.HasRecord) sim.SetGhost(record);
  sim.Run(sim.DefaultFrameLimit());
  ASSERT_TRUE(sim.Trial()->Finished());
  const auto texts = game::TTrialOverScreen::ResultTexts(*sim.Trial());
  EXPECT_EQ(texts[0], game::TTimeTrialRun::TimeOfFrames(kRecorded.Run.TimeFrames).Text());
  EXPECT_EQ(texts[1], game::TTimeTrialRun::TimeOfFrames(kRecorded.Run.BestLapFrames).Text());
  const std::string recordText =
      c.Record ? c.Record : game::TTimeTrialRun::TimeOfFrames(record.TimeFrames).Text();
  EXPECT_EQ(texts[2], recordText);
  EXPECT_EQ(texts[3], c.Difference);
  EXPECT_NE(texts[4].find(c.Sentence), std::string::npos) << texts[4];
  EXPECT_EQ(sim.Trial()->BeatsRecord(), std::string(c.Sentence) != "stands");
}

INSTANTIATE_TEST_SUITE_P(
    TimeTrial, TrialResults,
    ::testing::Values(TRecordCase{"FirstRun", false, 0, "none", "none", "First run"},
                      // 90 frames are one second to the hundredth, 45 half of one.
                      TRecordCase{"BeatsTheRecord", true, 90, nullptr,
                                  "\x96"
                                  "0:01:00",
                                  "new record"},
                      TRecordCase{"SlowerThanTheRecord", true, -45, nullptr, "+0:00:50", "stands"},
                      TRecordCase{"EqualsTheRecord", true, 0, nullptr, "+0:00:00", "stands"}),
    [](const auto& c) { return std::string(c.param.Name); });

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
  static const std::string kGood = RecordRace(0).Serialize();
  const TBadReplay& bad = GetParam();
  const std::string dataDir = bad.OtherTrack ? OtherTrackFolder() : std::string(CLD_DATA_DIR);
  const std::string path = (fs::temp_directory_path() /
                            ("cld-replay-" + std::string(bad.Name) + std::to_string(getpid())))
                               .string();
  std::ofstream(path, std::ios::binary) << bad.Spoil(kGood);
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

/// Replay bytes with a body put back under a right header and check sum of a version.
std::string WithBody(uint32_t version, const std::string& body) {
  std::string file = "CLDRPLAY";
  const auto put = [&file](uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
  };
  put(version, 4);
  put(body.size(), 4);
  file += body;
  put(TRaceReplay::Hash(body), 8);
  return file;
}

/// Where the body begins, and its mode byte after track, car, open tracks and open cars.
constexpr size_t kBodyStart = 16;
constexpr size_t kModeByte = 4;

std::string BodyOf(const std::string& bytes) {
  return bytes.substr(kBodyStart, bytes.size() - kBodyStart - 8);
}

/// A version 1 file of the same race: the body without the mode byte.
std::string AsVersion1(const std::string& bytes) {
  std::string body = BodyOf(bytes);
  body.erase(kModeByte, 1);
  return WithBody(1, body);
}

std::string WithMode(const std::string& bytes, char mode) {
  std::string body = BodyOf(bytes);
  body[kModeByte] = mode;
  return WithBody(TRaceReplay::kFormatVersion, body);
}

TEST(ReplayVersion, AVersion1ReplayStillPlaysAsTheRaceItRecorded) {
  TRaceOutcome recorded;
  const std::string bytes = RecordRace(3, &recorded).Serialize();
  const TRaceReplay old = TRaceReplay::Parse(AsVersion1(bytes));
  EXPECT_FALSE(old.TimeTrial);
  TRaceSimulator sim(old, Display().Images(), CLD_DATA_DIR);
  const TRaceOutcome played = sim.Run(sim.DefaultFrameLimit());
  ASSERT_EQ(played.Cars.size(), recorded.Cars.size());
  for (size_t i = 0; i < played.Cars.size(); ++i) {
    EXPECT_EQ(played.Cars[i].Place, recorded.Cars[i].Place) << recorded.Cars[i].Name;
    EXPECT_EQ(played.Cars[i].Time.Text(), recorded.Cars[i].Time.Text()) << recorded.Cars[i].Name;
  }
  // Written again, it is a version 2 race.
  EXPECT_EQ(old.Serialize(), bytes);
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
                   "is not the one the replay was recorded on"},
        TBadReplay{"UnknownMode", [](const std::string& b) { return WithMode(b, 2); }, false,
                   "mode 2 does not exist"},
        TBadReplay{"TimeTrialWithOpponents", [](const std::string& b) { return WithMode(b, 1); },
                   false, "a time trial with opponents"},
        TBadReplay{"NewerVersion", [](const std::string& b) { return WithBody(3, BodyOf(b)); },
                   false, "format version 3"}),
    [](const auto& bad) { return std::string(bad.param.Name); });

}  // namespace
