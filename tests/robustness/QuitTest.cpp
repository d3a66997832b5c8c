// Ending the game from anywhere: the window's close box (a scripted close event), SIGTERM and
// SIGINT on the main menu and in the middle of a race end the real game with status 0 and
// whole settings files, saved as the exit confirmation saves them; a race in progress counts
// for nothing. A missing or unreadable data folder or data file gives one message naming it
// and a non-zero status.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "GameFolder.h"
#include "GameProcess.h"

namespace {

using robust::At;
using robust::ReadFileBytes;
using robust::TGameFolder;
using robust::TGameProcess;

// The logo hands over to the main menu at frame 484.
constexpr long kMenu = 514;
// A frame limit no run reaches: the game must end by itself.
constexpr long kNoLimit = 1000000;
// Main menu, track choice "Track 1", first car, start; the start lights take 250 frames.
const std::string kToRace =
    At(kMenu, "click 697 219") + At(kMenu + 40, "key enter") + At(kMenu + 80, "key enter");
constexpr long kMidRace = kMenu + 80 + 400;

enum class TWhere { MainMenu, MidRace };
enum class THow { CloseBox, Terminate, Interrupt };

struct TQuitCase {
  const char* Name;
  TWhere Where;
  THow How;
};

void PrintTo(const TQuitCase& c, std::ostream* out) {
  *out << c.Name;
}

const TQuitCase kQuitCases[] = {
    {"CloseBoxOnTheMainMenu", TWhere::MainMenu, THow::CloseBox},
    {"SigtermOnTheMainMenu", TWhere::MainMenu, THow::Terminate},
    {"SigintOnTheMainMenu", TWhere::MainMenu, THow::Interrupt},
    {"CloseBoxMidRace", TWhere::MidRace, THow::CloseBox},
    {"SigtermMidRace", TWhere::MidRace, THow::Terminate},
    {"SigintMidRace", TWhere::MidRace, THow::Interrupt},
};

std::string Script(const TQuitCase& c) {
  const std::string route = c.Where == TWhere::MidRace ? kToRace : "";
  if (c.How != THow::CloseBox) return route;
  return route + At(c.Where == TWhere::MidRace ? kMidRace : kMenu + 20, "close");
}

class Quit : public ::testing::TestWithParam<TQuitCase> {};

TEST_P(Quit, EndsWithStatusZeroAndWholeSettings) {
  const TQuitCase& c = GetParam();
  const TGameFolder folder;
  const game::TGameSettings settings = robust::OneProfile("Ann");
  folder.WriteSettings(settings);

  TGameProcess game(folder.Dir(), "game");
  game.Start(Script(c), kNoLimit, {"--autopilot", "--config-dir", folder.ConfigDir()});
  if (c.How != THow::CloseBox) {
    const int state = c.Where == TWhere::MidRace ? 12 : 4;
    ASSERT_TRUE(game.WaitForState(state, std::chrono::minutes(3))) << game.Errors();
    // Well into the race: its lights are out and the cars are moving.
    if (c.Where == TWhere::MidRace) std::this_thread::sleep_for(std::chrono::seconds(3));
    ASSERT_FALSE(game.Ended()) << game.Outcome().Describe() << "\n" << game.Errors();
    game.Signal(c.How == THow::Terminate ? SIGTERM : SIGINT);
  }
  const robust::TGameOutcome outcome = game.Wait(std::chrono::minutes(3));
  ASSERT_TRUE(outcome.Clean()) << outcome.Describe() << "\n" << game.Errors();
  EXPECT_FALSE(game.ReachedFrameLimit());
  const std::vector<int> states = game.States();
  EXPECT_EQ(states.back(), c.Where == TWhere::MidRace ? 12 : 4) << game.Errors();
  EXPECT_EQ(std::count(states.begin(), states.end(), 24), 0) << "no closing screen";

  // Saved as leaving through the exit confirmation saves, and the race added nothing.
  EXPECT_EQ(ReadFileBytes(folder.ConfigFile("Config.cfg")), robust::ConfigBytes(settings));
  EXPECT_EQ(ReadFileBytes(folder.ConfigFile("Configdat.cfg")), robust::NoBestTimesBytes());
  EXPECT_EQ(folder.ConfigListing(), (std::vector<std::string>{"Config.cfg", "Configdat.cfg",
                                                              "controls.ini", "options.ini"}));
}

std::string QuitName(const ::testing::TestParamInfo<TQuitCase>& param) {
  return param.param.Name;
}

INSTANTIATE_TEST_SUITE_P(FromAnywhere, Quit, ::testing::ValuesIn(kQuitCases), QuitName);

// A data folder the game cannot start on.
enum class TDataFault { FolderMissing, FolderIsAFile, MenuPicturesMissing, RacePicturesAFolder };

struct TDataCase {
  const char* Name;
  TDataFault Fault;
  // The path the message must name, inside the test's folder, and what it says of it.
  const char* Path;
  const char* Says;
};

void PrintTo(const TDataCase& c, std::ostream* out) {
  *out << c.Name;
}

const TDataCase kDataCases[] = {
    {"FolderMissing", TDataFault::FolderMissing, "/data", "is missing"},
    {"FolderIsAFile", TDataFault::FolderIsAFile, "/data", "is not a folder"},
    {"MenuPicturesMissing", TDataFault::MenuPicturesMissing, "/data/Data/data1.oil", "is missing"},
    {"RacePicturesUnreadable", TDataFault::RacePicturesAFolder, "/data/Data/data2.oil",
     "cannot be read"},
};

void Prepare(const TGameFolder& folder, TDataFault fault) {
  namespace fs = std::filesystem;
  switch (fault) {
    case TDataFault::FolderMissing:
      break;
    case TDataFault::FolderIsAFile:
      std::ofstream(folder.DataDir()) << "not a folder";
      break;
    case TDataFault::MenuPicturesMissing:
      folder.CopyData();
      folder.Damage("Data/data1.oil", robust::TDamage::Removed);
      break;
    case TDataFault::RacePicturesAFolder:
      folder.CopyData();
      fs::remove(folder.DataDir() + "/Data/data2.oil");
      fs::create_directory(folder.DataDir() + "/Data/data2.oil");
      break;
  }
}

class MissingData : public ::testing::TestWithParam<TDataCase> {};

TEST_P(MissingData, OneMessageNamingThePathAndAFailingStatus) {
  const TDataCase& c = GetParam();
  const TGameFolder folder;
  Prepare(folder, c.Fault);
  const game::TGameSettings settings = robust::OneProfile("Ann");
  folder.WriteSettings(settings);

  TGameProcess game(folder.Dir(), "game");
  game.Start("", kNoLimit, {"--data-dir", folder.DataDir(), "--config-dir", folder.ConfigDir()});
  const robust::TGameOutcome outcome = game.Wait(std::chrono::minutes(1));
  EXPECT_EQ(outcome.Kind, robust::TGameOutcome::TKind::Exited) << outcome.Describe();
  EXPECT_NE(outcome.Code, 0);
  const std::string message =
      "The game's data " +
      std::string(c.Fault == TDataFault::FolderMissing || c.Fault == TDataFault::FolderIsAFile
                      ? "folder "
                      : "file ") +
      folder.Dir() + c.Path + " " + c.Says + ".\n";
  EXPECT_EQ(game.Errors(), message);
  EXPECT_TRUE(game.States().empty()) << "no screen was shown";
  EXPECT_EQ(ReadFileBytes(folder.ConfigFile("Config.cfg")), robust::ConfigBytes(settings));
  if (!HasFailure()) folder.RemoveData();
}

std::string DataName(const ::testing::TestParamInfo<TDataCase>& param) {
  return param.param.Name;
}

INSTANTIATE_TEST_SUITE_P(AtStart, MissingData, ::testing::ValuesIn(kDataCases), DataName);

}  // namespace
