// Time trials as a player meets them: the track choice's TIME TRIAL by mouse, key and pad, a
// run that counts no points and changes no progress, the record and ghost kept when beaten and
// left when not, a damaged or foreign record refused in one line, and the ghost drawn.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "GameRun.h"
#include "RaceScript.h"
#include "game/race/GhostRun.h"
#include "game/race/RaceReplay.h"
#include "platform/ImageFile.h"

namespace {

namespace fs = std::filesystem;
using testgame::At;
using testgame::TGameRun;
using testgame::WriteProfile;

constexpr long kMenu = testgame::MenuFrame;
/// The track choice, from the main menu's play button.
const std::string kToTrackChoice = At(kMenu, "click 697 219");
/// The car choice's GO, once the car choice of the time trial has slid in.
const std::string kGo = At(kMenu + 80, "key enter");
/// Frames enough for the menus and an autopilot time trial of "Track 1" (about 40 seconds).
constexpr long kTrialEnd = kMenu + 5000;
/// The states of a time trial from the start to its results.
const std::vector<int> kTrialStates = {3, 4, 14, 15, 12, 25};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

/// The record of the profile's first slot on "Track 1" with the first car.
std::string RecordFile(const TGameRun& run) {
  return game::TGhostRun::PathFor(run.ConfigDir(), 0, 0, 0);
}

/// An autopilot time trial of "Track 1" through the TIME TRIAL button pressed by `press`.
int RunTrial(TGameRun& run, const std::string& press = "key t",
             const std::vector<std::string>& extra = {"--autopilot"}) {
  return run.Run(kToTrackChoice + At(kMenu + 40, press) + kGo, kTrialEnd, extra);
}

class TrialButton : public ::testing::TestWithParam<const char*> {};

TEST_P(TrialButton, StartsATimeTrialThatKeepsItsRecord) {
  TGameRun run("button");
  WriteProfile(run, 0);
  ASSERT_EQ(RunTrial(run, GetParam()), 0) << run.Errors();
  EXPECT_EQ(run.States(), kTrialStates) << run.Errors();
  EXPECT_EQ(run.Errors().find("ghost"), std::string::npos) << "a missing record says nothing";
  const game::TGhostRun record = game::TGhostRun::Load(RecordFile(run));
  EXPECT_EQ(record.TrackSlot, 0);
  EXPECT_EQ(record.Car, 0);
  EXPECT_GT(record.BestLapFrames, 0);
  EXPECT_EQ(record.Frames.size(), static_cast<size_t>(record.TimeFrames) + 1);
}

// The button sits under GO once the carousel has slid in.
INSTANTIATE_TEST_SUITE_P(TimeTrial, TrialButton,
                         ::testing::Values("click 719 565", "key t", "pad y"),
                         [](const auto& press) {
                           return std::string(press.param).substr(0, 3) == "cli" ? "Mouse"
                                  : std::string(press.param) == "key t"          ? "KeyT"
                                                                                 : "PadY";
                         });

TEST(TimeTrial, GoStillStartsARace) {
  TGameRun run("go");
  WriteProfile(run, 0);
  ASSERT_EQ(run.Run(kToTrackChoice + At(kMenu + 40, "key enter") + kGo, kMenu + 700), 0);
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 14, 15, 12}));
  EXPECT_FALSE(fs::exists(run.ConfigDir() + "/ghosts"));
}

TEST(TimeTrial, CountsNoPointsAndChangesNoProgressBestTimeOrHighScore) {
  // Out through the results' NEXT to the track choice, then the window closes, which saves the
  // settings: byte for byte what a visit to the track choice saves.
  TGameRun trial("trial");
  WriteProfile(trial, 0);
  const std::string next = At(kTrialEnd - 100, "click 500 405");
  const std::string close = At(kTrialEnd - 50, "close");
  ASSERT_EQ(trial.Run(kToTrackChoice + At(kMenu + 40, "key t") + kGo + next + close, kTrialEnd,
                      {"--autopilot"}),
            0)
      << trial.Errors();
  EXPECT_EQ(trial.States(), (std::vector<int>{3, 4, 14, 15, 12, 25, 14}));
  TGameRun visit("visit");
  WriteProfile(visit, 0);
  ASSERT_EQ(visit.Run(kToTrackChoice + At(kMenu + 60, "close"), kMenu + 100), 0);
  for (const char* file : {"Config.cfg", "Configdat.cfg"}) {
    ASSERT_FALSE(visit.Bytes(file).empty()) << file;
    EXPECT_EQ(trial.Bytes(file), visit.Bytes(file)) << file;
  }
  game::TGameSettings settings;
  ASSERT_TRUE(trial.ReadSettings(settings));
  EXPECT_EQ(settings.Profiles.Profiles[0].Score, 0);
}

TEST(TimeTrial, SaveReplayKeepsTheRunAsATimeTrialReplay) {
  TGameRun run("replay");
  WriteProfile(run, 0);
  // SAVE REPLAY, left on the results panel.
  ASSERT_EQ(
      run.Run(kToTrackChoice + At(kMenu + 40, "key t") + kGo + At(kTrialEnd - 100, "click 277 408"),
              kTrialEnd, {"--autopilot"}),
      0)
      << run.Errors();
  EXPECT_EQ(run.States(), kTrialStates);
  std::vector<fs::path> saved;
  for (const auto& entry : fs::directory_iterator(run.ConfigDir() + "/replays")) {
    saved.push_back(entry.path());
  }
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].filename().string().rfind("track-1-time-trial_", 0), 0u) << saved[0];
  EXPECT_TRUE(game::TRaceReplay::Load(saved[0].string()).TimeTrial);
}

/// A record changed before the next run, and whether that run replaces it.
struct TRecordChange {
  const char* Name;
  /// Frames added to the record's time (a slower record is beaten, a faster one is not).
  int32_t ExtraFrames;
  bool Replaced;
};

void PrintTo(const TRecordChange& change, std::ostream* out) {
  *out << change.Name;
}

class RecordKeeping : public ::testing::TestWithParam<TRecordChange> {};

TEST_P(RecordKeeping, ABetterRunReplacesTheRecordAndAWorseOneLeavesIt) {
  TGameRun run("record");
  WriteProfile(run, 0);
  ASSERT_EQ(RunTrial(run), 0) << run.Errors();
  game::TGhostRun record = game::TGhostRun::Load(RecordFile(run));
  const int32_t autopilotFrames = record.TimeFrames;
  record.TimeFrames += GetParam().ExtraFrames;
  // Another way round, so that a replaced record shows in its frames too.
  std::reverse(record.Frames.begin(), record.Frames.end());
  record.Save(RecordFile(run));
  const std::string before = ReadAll(RecordFile(run));

  ASSERT_EQ(RunTrial(run), 0) << run.Errors();
  EXPECT_EQ(run.States(), kTrialStates);
  const game::TGhostRun after = game::TGhostRun::Load(RecordFile(run));
  if (GetParam().Replaced) {
    EXPECT_EQ(after.TimeFrames, autopilotFrames);
    EXPECT_NE(after.Frames, record.Frames);
  } else {
    EXPECT_EQ(ReadAll(RecordFile(run)), before);
  }
}

INSTANTIATE_TEST_SUITE_P(TimeTrial, RecordKeeping,
                         ::testing::Values(TRecordChange{"SlowerRecordIsBeaten", 900, true},
                                           TRecordChange{"FasterRecordStands", -900, false},
                                           TRecordChange{"EqualRecordStands", 0, false}),
                         [](const auto& change) { return std::string(change.param.Name); });

/// A record file spoilt before a run, and what the one line on standard error must say.
struct TBadRecord {
  const char* Name;
  bool Foreign;
  const char* Message;
};

void PrintTo(const TBadRecord& bad, std::ostream* out) {
  *out << bad.Name;
}

class BadRecord : public ::testing::TestWithParam<TBadRecord> {};

TEST_P(BadRecord, IsNamedInOneLineAndTheTrialRunsWithoutAGhost) {
  TGameRun run("bad");
  WriteProfile(run, 0);
  ASSERT_EQ(RunTrial(run), 0) << run.Errors();
  if (GetParam().Foreign) {
    game::TGhostRun record = game::TGhostRun::Load(RecordFile(run));
    record.TrackHash ^= 1;
    // Unbeatable, but refused: the run goes on without it as if it had none.
    record.TimeFrames = record.BestLapFrames = 1;
    record.Save(RecordFile(run));
  } else {
    std::string bytes = ReadAll(RecordFile(run));
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x5a);
    std::ofstream(RecordFile(run), std::ios::binary) << bytes;
  }

  ASSERT_EQ(RunTrial(run), 0) << run.Errors();
  EXPECT_EQ(run.States(), kTrialStates);
  std::vector<std::string> ghostLines;
  std::istringstream errors(run.Errors());
  for (std::string line; std::getline(errors, line);) {
    if (line.find("ghost") != std::string::npos) ghostLines.push_back(line);
  }
  ASSERT_EQ(ghostLines.size(), 1u) << run.Errors();
  EXPECT_NE(ghostLines[0].find(RecordFile(run)), std::string::npos) << ghostLines[0];
  EXPECT_NE(ghostLines[0].find(GetParam().Message), std::string::npos) << ghostLines[0];
}

INSTANTIATE_TEST_SUITE_P(TimeTrial, BadRecord,
                         ::testing::Values(TBadRecord{"Damaged", false, "check sum"},
                                           TBadRecord{"OfAnotherTrackFile", true,
                                                      "another track file"}),
                         [](const auto& bad) { return std::string(bad.param.Name); });

/// The pixels of a screenshot.
std::vector<uint32_t> Pixels(const std::string& file, int32_t& width, int32_t& height) {
  const std::string bytes = ReadAll(file);
  std::vector<uint32_t> argb;
  std::string error;
  EXPECT_TRUE(platform::DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                  width, height, argb, error))
      << error;
  return argb;
}

TEST(TimeTrial, TheRecordDrivesBesideThePlayerAsAGhost) {
  // A record by the autopilot, then a run straight ahead from the green light: the ghost
  // follows the road and falls behind and beside the player's car.
  TGameRun ghost("ghost");
  WriteProfile(ghost, 0);
  ASSERT_EQ(RunTrial(ghost), 0) << ghost.Errors();
  TGameRun alone("alone");
  WriteProfile(alone, 0);
  const long green = kMenu + 80 + 1 + 250;
  const std::string script =
      kToTrackChoice + At(kMenu + 40, "key t") + kGo + At(green + 4, "keydown up");
  const long shotFrame = green + 130;
  const std::string withGhost = ghost.Dir() + "/ghost.png";
  const std::string without = alone.Dir() + "/alone.png";
  ASSERT_EQ(ghost.Run(script, shotFrame, {"--screenshot", withGhost}), 0) << ghost.Errors();
  ASSERT_EQ(alone.Run(script, shotFrame, {"--screenshot", without}), 0) << alone.Errors();
  std::cout << "screenshots: " << withGhost << " " << without << "\n";

  int32_t width = 0;
  int32_t height = 0;
  const std::vector<uint32_t> a = Pixels(withGhost, width, height);
  const std::vector<uint32_t> b = Pixels(without, width, height);
  ASSERT_EQ(a.size(), b.size());
  // Only the ghost differs, so the differences lie within one car's size.
  int32_t left = width, right = -1, top = height, bottom = -1;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
      if (a[i] == b[i]) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  ASSERT_GE(right, 0) << "no ghost drawn";
  EXPECT_LE(right - left, 100);
  EXPECT_LE(bottom - top, 100);
}

}  // namespace
