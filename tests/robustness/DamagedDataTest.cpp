// Damaged data files never crash or hang the game and never touch the settings: the real game
// runs headless on a copy of the data folder with one file cut short, with bytes flipped,
// replaced by random bytes or removed, and ends the documented way: with the engine's message
// and a clean exit, or going on without the picture, sound, music, track or closing screen.

#include <gtest/gtest.h>

#include <map>

#include "GameFolder.h"
#include "GameProcess.h"

namespace {

using robust::At;
using robust::TDamage;
using robust::TGameFolder;
using robust::TGameProcess;

// The logo hands over to the main menu at frame 484.
constexpr long kMenu = 514;

// What the player does in a run.
enum class TJourney {
  // Main menu, track choice "Track 1" (Data\data2.prd), first car, start: the race pictures
  // load and the race runs on autopilot for a while after the start lights.
  Race,
  // Main menu, escape, enter: the exit confirmation writes both settings files and the
  // closing screen follows.
  Leave,
};

// How the run ends: at its frame limit, or earlier because the game closed itself.
enum class TEnd { FrameLimit, ClosedItself };

struct TDamageCase {
  const char* File;
  TDamage Damage;
  TJourney Journey;
  // A message the game must give on standard error; "" when it must not report anything.
  const char* Message;
  std::vector<int> States;
  TEnd End;
};

void PrintTo(const TDamageCase& c, std::ostream* out) {
  *out << c.File << " " << robust::DamageName(c.Damage);
}

const std::vector<int> kRaced = {3, 4, 14, 15, 12};
// The race is entered, finds its track unusable and goes back to the track choice in the same
// frame: the trace lists both changes.
const std::vector<int> kBackToTrackChoice = {3, 4, 14, 15, 12, 14};
const std::vector<int> kLeft = {3, 4, 10, 24};

constexpr const char* kStreamMessage =
    "[Error!] The stream could not be loaded, either it is corrupt or encrypted!";
constexpr const char* kSoundMessage = "[Error] Error loading sound: Sounds\\Car Start 01.wav";
constexpr const char* kModuleMessage = "[Error] Error initializing the module player";
constexpr const char* kNoPathMessage = "[Error] Track file Data\\data2.prd has no path points";

// Image lists: a stream error keeps the entries read before it and the game goes on without
// the rest; a picture that cannot become a texture is reported and the game closes (a missing
// image list stops the game before it starts: QuitTest). A track
// that cannot be raced is reported and the track choice comes back. A sound or module that
// cannot be read is reported and the game goes on silent. Any fault in the closing screen's
// layout skips that screen. Cut sound and music files still load as far as they go.
const TDamageCase kCases[] = {
    {"Data/data1.oil", TDamage::CutToAThird, TJourney::Leave, kStreamMessage, kLeft,
     TEnd::FrameLimit},
    {"Data/data1.oil",
     TDamage::BytesFlipped,
     TJourney::Leave,
     "[Error] Error creating texture",
     {3},
     TEnd::ClosedItself},
    {"Data/data1.oil", TDamage::RandomBytes, TJourney::Leave, kStreamMessage, kLeft,
     TEnd::FrameLimit},
    {"Data/data2.oil", TDamage::CutToAThird, TJourney::Race, kStreamMessage, kRaced,
     TEnd::FrameLimit},
    {"Data/data2.oil", TDamage::BytesFlipped, TJourney::Race, "[Error] Error creating texture",
     kRaced, TEnd::ClosedItself},
    {"Data/data2.oil", TDamage::RandomBytes, TJourney::Race, kStreamMessage, kRaced,
     TEnd::FrameLimit},
    {"Data/data2.prd", TDamage::CutToAThird, TJourney::Race, kNoPathMessage, kBackToTrackChoice,
     TEnd::FrameLimit},
    {"Data/data2.prd", TDamage::BytesFlipped, TJourney::Race, "", kRaced, TEnd::FrameLimit},
    {"Data/data2.prd", TDamage::RandomBytes, TJourney::Race, kNoPathMessage, kBackToTrackChoice,
     TEnd::FrameLimit},
    {"Data/data2.prd", TDamage::Removed, TJourney::Race, "[Error] Track file Data\\data2.prd (",
     kBackToTrackChoice, TEnd::FrameLimit},
    {"Sounds/Car Start 01.wav", TDamage::CutToAThird, TJourney::Leave, "", kLeft, TEnd::FrameLimit},
    {"Sounds/Car Start 01.wav", TDamage::BytesFlipped, TJourney::Leave, kSoundMessage, kLeft,
     TEnd::FrameLimit},
    {"Sounds/Car Start 01.wav", TDamage::RandomBytes, TJourney::Leave, kSoundMessage, kLeft,
     TEnd::FrameLimit},
    {"Sounds/Car Start 01.wav", TDamage::Removed, TJourney::Leave, kSoundMessage, kLeft,
     TEnd::FrameLimit},
    {"Sounds/1.xm", TDamage::CutToAThird, TJourney::Leave, "", kLeft, TEnd::FrameLimit},
    {"Sounds/1.xm", TDamage::BytesFlipped, TJourney::Leave, kModuleMessage, kLeft,
     TEnd::FrameLimit},
    {"Sounds/1.xm", TDamage::RandomBytes, TJourney::Leave, kModuleMessage, kLeft, TEnd::FrameLimit},
    {"Sounds/1.xm", TDamage::Removed, TJourney::Leave, "[Error] Error loading module: Sounds\\1.xm",
     kLeft, TEnd::FrameLimit},
    {"wdata/config.ini", TDamage::CutToAThird, TJourney::Leave, "", kLeft, TEnd::ClosedItself},
    {"wdata/config.ini", TDamage::BytesFlipped, TJourney::Leave, "", kLeft, TEnd::ClosedItself},
    {"wdata/config.ini", TDamage::RandomBytes, TJourney::Leave, "", kLeft, TEnd::ClosedItself},
    {"wdata/config.ini", TDamage::Removed, TJourney::Leave, "", kLeft, TEnd::ClosedItself},
};

std::string Script(TJourney journey) {
  if (journey == TJourney::Race) {
    return At(kMenu, "click 697 219") + At(kMenu + 40, "key enter") + At(kMenu + 80, "key enter");
  }
  return At(kMenu, "key escape") + At(kMenu + 10, "key enter");
}

// Frames of a run: the race's start lights take 250 frames, and the run then races a while.
long Frames(TJourney journey) {
  return journey == TJourney::Race ? kMenu + 80 + 330 : kMenu + 100;
}

// The lines of standard error that appear more than once: each would be a message box in a
// window, and the same box over and over leaves the player stuck.
std::vector<std::string> RepeatedLines(const std::string& errors) {
  std::map<std::string, int> counts;
  std::istringstream lines(errors);
  std::string line;
  while (std::getline(lines, line)) ++counts[line];
  std::vector<std::string> repeated;
  for (const auto& [text, count] : counts) {
    if (count > 1) repeated.push_back(text + " (" + std::to_string(count) + " times)");
  }
  return repeated;
}

class DamagedData : public ::testing::TestWithParam<TDamageCase> {};

TEST_P(DamagedData, EndsTheDocumentedWayAndLeavesTheSettingsAlone) {
  const TDamageCase& c = GetParam();
  const TGameFolder folder;
  folder.CopyData();
  folder.Damage(c.File, c.Damage);
  const game::TGameSettings settings = robust::OneProfile("Ann");
  folder.WriteSettings(settings);

  TGameProcess game(folder.Dir(), "game");
  game.Start(Script(c.Journey), Frames(c.Journey),
             {"--autopilot", "--data-dir", folder.DataDir(), "--config-dir", folder.ConfigDir()});
  const robust::TGameOutcome outcome = game.Wait(std::chrono::minutes(5));
  const std::string errors = game.Errors();
  ASSERT_TRUE(outcome.Clean()) << outcome.Describe() << "\n" << errors;

  EXPECT_EQ(game.States(), c.States) << errors;
  EXPECT_EQ(game.ReachedFrameLimit(), c.End == TEnd::FrameLimit) << errors;
  if (*c.Message == '\0') {
    EXPECT_EQ(errors.find('['), std::string::npos) << errors;
  } else {
    EXPECT_NE(errors.find(c.Message), std::string::npos) << errors;
  }
  EXPECT_EQ(RepeatedLines(errors), std::vector<std::string>{});

  // The settings are as they were; leaving writes the same profile and the empty best times.
  EXPECT_EQ(robust::ReadFileBytes(folder.ConfigFile("Config.cfg")), robust::ConfigBytes(settings));
  EXPECT_EQ(robust::ReadFileBytes(folder.ConfigFile("controls.ini")),
            robust::DefaultControlsText());
  const bool left = game.States().back() == 24;
  if (left) {
    EXPECT_EQ(robust::ReadFileBytes(folder.ConfigFile("Configdat.cfg")),
              robust::NoBestTimesBytes());
  }
  EXPECT_EQ(robust::ReadFileBytes(folder.ConfigFile("options.ini")), robust::DefaultOptionsText());
  const std::vector<std::string> files =
      left ? std::vector<std::string>{"Config.cfg", "Configdat.cfg", "controls.ini", "options.ini"}
           : std::vector<std::string>{"Config.cfg", "controls.ini", "options.ini"};
  EXPECT_EQ(folder.ConfigListing(), files);
  if (!HasFailure()) folder.RemoveData();
}

std::string CaseName(const ::testing::TestParamInfo<TDamageCase>& info) {
  std::string name = std::string(info.param.File) + "_" + robust::DamageName(info.param.Damage);
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(OneFile, DamagedData, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
