// Two copies of the game started at once on one settings folder: their saves take turns, each
// file ends up whole, and the later writer's file is the one that stays.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <thread>

#include "GameFolder.h"
#include "GameProcess.h"
#include "SaveGate.h"

namespace {

using robust::At;
using robust::TGameFolder;
using robust::TGameProcess;
using robust::TSaveGate;

// The logo hands over to the first-name screen at frame 484.
constexpr long kNameScreen = 494;

// A first start: the name (its "Config.cfg" save), then escape and enter on the exit
// confirmation ("Config.cfg" again and "Configdat.cfg").
std::string NameThenLeave(const std::string& name) {
  return At(kNameScreen, "text " + name) + At(kNameScreen + 2, "key enter") +
         At(kNameScreen + 40, "key escape") + At(kNameScreen + 50, "key enter");
}

// One of the two games.
struct TPlayer {
  std::string Name;
  std::unique_ptr<TGameProcess> Game;
  std::unique_ptr<TSaveGate> Gate;
};

// The settings file whose save is held: the one with a temporary file beside it.
std::string HeldFile(const TGameFolder& folder) {
  for (const char* name : {"Config.cfg", "Configdat.cfg", "controls.ini", "options.ini"}) {
    if (std::filesystem::exists(folder.ConfigFile(name) + ".tmp")) return name;
  }
  return "";
}

TEST(TwoGames, SavesTakeTurnsAndTheLaterWriterWinsWithACompleteFile) {
  const TGameFolder folder;
  std::ofstream(folder.ConfigFile("controls.ini"), std::ios::binary)
      << robust::DefaultControlsText();
  std::array<TPlayer, 2> players{TPlayer{"Ann", nullptr, nullptr},
                                 TPlayer{"Bob", nullptr, nullptr}};
  for (TPlayer& p : players) {
    p.Game = std::make_unique<TGameProcess>(folder.Dir(), p.Name);
    p.Gate = std::make_unique<TSaveGate>(folder.Dir() + "/paused-" + p.Name);
  }
  for (TPlayer& p : players) {
    p.Game->Start(NameThenLeave(p.Name), kNameScreen + 100, {"--config-dir", folder.ConfigDir()},
                  {p.Gate->Variable()});
  }

  // Hold the first save until the other game is inside a save as well: waiting for its turn,
  // or (were the saves not taking turns) paused in its own.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
  const auto inTime = [&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return std::chrono::steady_clock::now() < deadline;
  };
  const auto paused = [&] {
    return std::find_if(players.begin(), players.end(),
                        [](const TPlayer& p) { return p.Gate->Paused(); });
  };
  while (paused() == players.end()) ASSERT_TRUE(inTime()) << "no game saved";
  TPlayer& held = *paused();
  TPlayer& other = &held == &players[0] ? players[1] : players[0];
  while (!robust::WaitsForALock(other.Game->Pid()) && !other.Gate->Paused()) {
    ASSERT_FALSE(other.Game->Ended()) << other.Name << ": " << other.Game->Errors();
    ASSERT_TRUE(inTime()) << "the other game never saved";
  }

  // From then on every held save goes on in turn; the last "Config.cfg" let go is the writer
  // whose file must stay.
  std::string lastConfigWriter = held.Name;
  held.Gate->Release();
  while (!players[0].Game->Ended() || !players[1].Game->Ended()) {
    ASSERT_TRUE(inTime()) << "the games did not end";
    for (TPlayer& p : players) {
      if (!p.Gate->Paused()) continue;
      if (HeldFile(folder) == "Config.cfg") lastConfigWriter = p.Name;
      p.Gate->Release();
    }
  }

  for (const TPlayer& p : players) {
    EXPECT_TRUE(p.Game->Outcome().Clean()) << p.Name << ": " << p.Game->Outcome().Describe();
    EXPECT_EQ(p.Game->States(), (std::vector<int>{3, 1, 4, 10, 24})) << p.Name;
    EXPECT_EQ(p.Game->Errors().find("not saved"), std::string::npos)
        << p.Name << ": " << p.Game->Errors();
  }
  EXPECT_EQ(robust::ReadFileBytes(folder.ConfigFile("Config.cfg")),
            robust::ConfigBytes(robust::OneProfile(lastConfigWriter)))
      << "the last writer was " << lastConfigWriter;
  EXPECT_EQ(robust::ReadFileBytes(folder.ConfigFile("Configdat.cfg")), robust::NoBestTimesBytes());
  EXPECT_EQ(robust::ReadFileBytes(folder.ConfigFile("controls.ini")),
            robust::DefaultControlsText());
  // Both games found "options.ini" missing at their first save: one whole file is left.
  EXPECT_EQ(robust::ReadFileBytes(folder.ConfigFile("options.ini")), robust::DefaultOptionsText());
  EXPECT_EQ(folder.ConfigListing(), (std::vector<std::string>{"Config.cfg", "Configdat.cfg",
                                                              "controls.ini", "options.ini"}));
}

}  // namespace
