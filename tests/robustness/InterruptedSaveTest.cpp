// Progress is never lost: the real game is killed (SIGKILL) at each point of its saves, held
// between writing a temporary file and renaming it, or just let go from there, and the
// settings folder always holds the old or the new complete files.

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <optional>

#include "GameFolder.h"
#include "GameProcess.h"
#include "SaveGate.h"
#include "game/SettingsFile.h"

namespace {

using robust::At;
using robust::ReadFileBytes;
using robust::TGameFolder;
using robust::TGameProcess;
using robust::TSaveGate;

constexpr long kMenu = 514;

// Options, music off, escape: leaving the options writes "Config.cfg" with the music off
// (save 1). Then escape and enter on the exit confirmation write "Config.cfg" with the switches
// restored (save 2) and "Configdat.cfg" for the first time (save 3).
std::string ThreeSaves() {
  return At(kMenu, "click 726 259") + At(kMenu + 40, "click 696 378") +
         At(kMenu + 50, "key escape") + At(kMenu + 70, "key escape") + At(kMenu + 80, "key enter");
}

// The two files as they can be found in the folder.
struct TFolderState {
  std::string Config;
  std::optional<std::string> BestTimes;

  bool operator==(const TFolderState&) const = default;
};

void PrintTo(const TFolderState& state, std::ostream* out) {
  *out << "Config.cfg of " << state.Config.size() << " bytes, "
       << (state.BestTimes
               ? "Configdat.cfg of " + std::to_string(state.BestTimes->size()) + " bytes"
               : std::string("no Configdat.cfg"));
}

TFolderState StateOf(const TGameFolder& folder) {
  TFolderState state{ReadFileBytes(folder.ConfigFile("Config.cfg")), std::nullopt};
  if (std::filesystem::exists(folder.ConfigFile("Configdat.cfg"))) {
    state.BestTimes = ReadFileBytes(folder.ConfigFile("Configdat.cfg"));
  }
  return state;
}

// The folder before the first save and after each of the three.
std::vector<TFolderState> StatesInTurn(const game::TGameSettings& start) {
  game::TGameSettings musicOff = start;
  musicOff.MusicOn = false;
  const std::string before = robust::ConfigBytes(start);
  const std::string changed = robust::ConfigBytes(musicOff);
  return {{before, std::nullopt},
          {changed, std::nullopt},
          {before, std::nullopt},
          {before, robust::NoBestTimesBytes()}};
}

struct TKillPoint {
  const char* Name;
  // The save (1 to 3) at which the game is killed.
  int Save;
  // Killed while held before the rename, or right after it is let go.
  bool AfterRelease;
};

void PrintTo(const TKillPoint& point, std::ostream* out) {
  *out << point.Name;
}

class KilledWhileSaving : public ::testing::TestWithParam<TKillPoint> {};

TEST_P(KilledWhileSaving, LeavesTheOldOrTheNewCompleteFiles) {
  const TKillPoint& point = GetParam();
  const TGameFolder folder;
  const game::TGameSettings start = robust::OneProfile("Ann");
  folder.WriteSettings(start);
  const std::vector<TFolderState> states = StatesInTurn(start);
  const TSaveGate gate(folder.Dir() + "/paused");

  TGameProcess game(folder.Dir(), "game");
  game.Start(ThreeSaves(), kMenu + 100, {"--config-dir", folder.ConfigDir()}, {gate.Variable()});
  for (int save = 1; save <= point.Save; ++save) {
    ASSERT_TRUE(gate.AwaitPause(game, std::chrono::minutes(4)))
        << "save " << save << " never came: " << game.Outcome().Describe() << "\n"
        << game.Errors();
    EXPECT_EQ(StateOf(folder), states[static_cast<size_t>(save - 1)]) << "held in save " << save;
    if (save < point.Save || point.AfterRelease) gate.Release();
  }
  const robust::TGameOutcome outcome = game.Kill();
  EXPECT_EQ(outcome.Kind, robust::TGameOutcome::TKind::Signalled) << outcome.Describe();

  const TFolderState left = StateOf(folder);
  const TFolderState& old = states[static_cast<size_t>(point.Save - 1)];
  const TFolderState& next = states[static_cast<size_t>(point.Save)];
  if (point.AfterRelease) {
    EXPECT_TRUE(left == old || left == next) << ::testing::PrintToString(left);
  } else {
    EXPECT_EQ(left, old);
  }
  // What is left reads back whole, as the next start would read it.
  game::TGameSettings read;
  std::string warning;
  EXPECT_TRUE(game::TSettingsFile::ReadConfig(folder.ConfigFile("Config.cfg"), read, warning));
  EXPECT_EQ(warning, "");
  EXPECT_EQ(read.Profiles.Profiles[0].Name, "Ann");
}

INSTANTIATE_TEST_SUITE_P(Points, KilledWhileSaving,
                         ::testing::Values(TKillPoint{"BeforeTheFirstConfigRename", 1, false},
                                           TKillPoint{"AfterTheFirstConfigRename", 1, true},
                                           TKillPoint{"BeforeTheSecondConfigRename", 2, false},
                                           TKillPoint{"AfterTheSecondConfigRename", 2, true},
                                           TKillPoint{"BeforeTheBestTimesRename", 3, false},
                                           TKillPoint{"AfterTheBestTimesRename", 3, true}),
                         [](const auto& point) { return std::string(point.param.Name); });

}  // namespace
