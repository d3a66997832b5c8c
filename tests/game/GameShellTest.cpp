// The game shell: key flags, the race clocks, closing, and whole headless runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestFolder.h"
#include "game/RaceSetup.h"
#include "game/SettingsFile.h"
#include "game/Unit_pr.h"
#include "game/race/EnemyCar.h"
#include "game/race/Player.h"
#include "game/screens/RaceOverScreen.h"
#include "platform/VirtualKeys.h"

namespace {

namespace fs = std::filesystem;
using gametest::FreshDir;

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() : Form(Application, Options()) { Form.FormCreate(); }
  static game::TGameOptions Options() {
    game::TGameOptions options;
    options.RecordingDisplay = true;
    options.ConfigDir = FreshDir("shell");
    return options;
  }
  platform::TApplication Application;
  game::TForm1 Form;
};

TEST_F(ShellTest, KeysAreHeldUntilReleasedAndReleasesWaitForAConsumer) {
  Form.FormKeyDown(platform::VK_LEFT);
  EXPECT_TRUE(Form.KeyDown[platform::VK_LEFT]);
  EXPECT_FALSE(Form.KeyReleased[platform::VK_LEFT]);
  Form.FormKeyUp(platform::VK_LEFT);
  EXPECT_FALSE(Form.KeyDown[platform::VK_LEFT]);
  EXPECT_TRUE(Form.KeyReleased[platform::VK_LEFT]);
  Form.FormKeyDown(999);  // codes outside the table are ignored
  Form.FormKeyUp(-1);
}

TEST_F(ShellTest, EnteringAScreenForgetsReleasesButNotHeldKeys) {
  Form.FormKeyDown(platform::VK_UP);
  Form.FormKeyDown(platform::VK_RETURN);
  Form.FormKeyUp(platform::VK_RETURN);
  Form.ChangeState(4, game::TStateChange::Over);
  EXPECT_FALSE(Form.KeyReleased[platform::VK_RETURN]);
  EXPECT_TRUE(Form.KeyDown[platform::VK_UP]);
  EXPECT_EQ(Form.GameState, 4);
  EXPECT_EQ(Form.ScreenTick, 0);
}

TEST_F(ShellTest, TheClosingScreensOwnRequestWaitsForItsCountdown) {
  for (uint8_t state : {uint8_t{3}, uint8_t{4}, uint8_t{12}, uint8_t{16}}) {
    Form.ChangeState(state, game::TStateChange::Over);
    Form.Close();
    EXPECT_FALSE(Application.Terminated()) << int(state);
    EXPECT_FALSE(Form.FormCloseQuery());
  }
  Form.ChangeState(24, game::TStateChange::Over);
  EXPECT_FALSE(Application.Terminated()) << "the promotion screen's countdown runs first";
  Form.ShareScreen->Countdown = 0;
  Form.Close();
  EXPECT_TRUE(Application.Terminated());
}

// Quitting (close box, Alt+F4, SIGINT, SIGTERM) ends the game from any screen and saves the
// settings and best times, except on the closing screen, after the exit confirmation saved them.
class QuitTest : public ShellTest, public ::testing::WithParamInterface<int> {};

TEST_P(QuitTest, EndsTheGameAndSavesOutsideTheClosingScreen) {
  const auto state = static_cast<uint8_t>(GetParam());
  Form.ChangeState(state, game::TStateChange::Over);
  Form.Quit();
  EXPECT_TRUE(Application.Terminated());
  const bool saved = state != 24;
  EXPECT_EQ(fs::exists(Form.Paths.ConfigFile("Config.cfg")), saved);
  EXPECT_EQ(fs::exists(Form.Paths.ConfigFile("Configdat.cfg")), saved);
  Form.Quit();  // a second request while ending changes nothing
  EXPECT_TRUE(Application.Terminated());
}

INSTANTIATE_TEST_SUITE_P(States, QuitTest, ::testing::Values(3, 4, 6, 7, 8, 12, 14, 15, 16, 24));

TEST_F(ShellTest, QuittingOnTheOptionsDropsTheirUnappliedChanges) {
  Form.ChangeState(7, game::TStateChange::Over);
  Form.MusicOn = false;  // as the music switch does before apply or cancel
  Form.OptionsText = "changed";
  Form.Quit();
  game::TGameSettings saved;
  std::string warning;
  ASSERT_TRUE(game::TSettingsFile::ReadConfig(Form.Paths.ConfigFile("Config.cfg"), saved, warning))
      << warning;
  EXPECT_TRUE(saved.MusicOn);
  EXPECT_EQ(game::TSettingsFile::StripPadding(saved.OptionsText), "");
}

TEST_F(ShellTest, AFailedSaveIsShownInTheTicker) {
  Form.CreateMenuScenery();
  ASSERT_TRUE(Form.Scenery.Ticker);
  const std::string blocker = FreshDir("blocked") + "/file";
  std::ofstream(blocker) << "a file, not a folder";
  Form.Paths = game::TGamePaths(Form.Options.DataDir, blocker + "/config");
  Form.SaveConfig();
  EXPECT_NE(Form.Scenery.Ticker->Text.find("Progress cannot be saved: cannot create \""),
            std::string::npos)
      << Form.Scenery.Ticker->Text;
  EXPECT_EQ(Form.Scenery.Ticker->Text.find("settings not saved"), std::string::npos);

  Form.Paths = game::TGamePaths(Form.Options.DataDir, FreshDir("writable"));
  Form.SaveBestTimes();
  EXPECT_EQ(Form.SaveProblem, "");
  EXPECT_EQ(Form.Scenery.Ticker->Text.find("Progress cannot be saved"), std::string::npos);
  Form.RemoveMenuScenery();
}

TEST_F(ShellTest, ClosingWaitsForTheCountdown) {
  Form.GameState = 24;
  ASSERT_TRUE(Form.ShareScreen);
  Form.ShareScreen->Countdown = 3;
  EXPECT_FALSE(Form.FormCloseQuery());
  Form.ShareScreen->Countdown = 0;
  EXPECT_TRUE(Form.FormCloseQuery());
}

TEST_F(ShellTest, RaceClocksCarryAtHundredthsAndSecondsWithUnboundedMinutes) {
  struct Case {
    int Ticks;
    game::TRaceTime Expected;
  };
  const Case cases[] = {{99, {0, 0, 99}},  {100, {0, 1, 0}},     {5999, {0, 59, 99}},
                        {6000, {1, 0, 0}}, {360000, {60, 0, 0}}, {366101, {61, 1, 1}}};
  for (const auto& c : cases) {
    game::TRaceTime clock;
    for (int i = 0; i < c.Ticks; ++i) clock.AddHundredth();
    EXPECT_EQ(clock, c.Expected) << c.Ticks << " ticks gave " << clock.Text();
  }
  EXPECT_EQ((game::TRaceTime{61, 1, 1}).Text(), "61:01:01");
}

TEST_F(ShellTest, RaceTimerAdvancesTheClocksOfTheRunningRace) {
  Form.RaceTimerTimer();  // no race: nothing to advance
  ASSERT_TRUE(Form.GameImageList.ImageList.LoadFromFile(Form.Paths.DataFile("Data\\data2.oil")));
  Form.GameImageList.Prepare();
  Form.Race = std::make_unique<game::TRaceWorld>(Form.VexelSprite1, Form.GameImageList,
                                                 Form.Catalogue, Form.Random, Form.KeyDown,
                                                 Form.KeyReleased, Form.Paths.DataDir());
  game::SetupRace(*Form.Race);
  ASSERT_GT(Form.Race->EnemyCount, 0);
  for (int i = 0; i < 150; ++i) Form.RaceTimerTimer();
  EXPECT_EQ(Form.Race->Player->RaceTime, (game::TRaceTime{0, 1, 50}));
  EXPECT_EQ(Form.Race->Player->LapClock, (game::TRaceTime{}));  // waits for the first crossing
  for (int i = 0; i < Form.Race->EnemyCount; ++i) {
    EXPECT_EQ(Form.Race->Enemy(i).RaceTime, (game::TRaceTime{0, 1, 50})) << i;
  }
  Form.Race->Player->LapTiming = true;
  Form.RaceTimerTimer();
  EXPECT_EQ(Form.Race->Player->LapClock, (game::TRaceTime{0, 0, 1}));
}

TEST_F(ShellTest, StandingsListFinishedCarsByPlaceThenTheRestInRunningOrder) {
  ASSERT_TRUE(Form.GameImageList.ImageList.LoadFromFile(Form.Paths.DataFile("Data\\data2.oil")));
  Form.GameImageList.Prepare();
  Form.Race = std::make_unique<game::TRaceWorld>(Form.VexelSprite1, Form.GameImageList,
                                                 Form.Catalogue, Form.Random, Form.KeyDown,
                                                 Form.KeyReleased, Form.Paths.DataDir());
  game::SetupRace(*Form.Race);
  game::TRaceWorld& race = *Form.Race;
  ASSERT_EQ(race.EnemyCount, 4);
  // Running order: opponent 2, the player, opponents 0, 3, 1.
  race.Enemy(2).RacePosition = 1;
  race.Player->RacePosition = 2;
  race.Enemy(0).RacePosition = 3;
  race.Enemy(3).RacePosition = 4;
  race.Enemy(1).RacePosition = 5;
  using game::TStanding;
  const auto standings = [&] { return game::TRaceOverScreen::Standings(race); };
  EXPECT_EQ(standings(), (std::vector<TStanding>{{1, 2, false, {}},
                                                 {2, game::PlayerWho, false, {}},
                                                 {3, 0, false, {}},
                                                 {4, 3, false, {}},
                                                 {5, 1, false, {}}}));

  // Opponent 3 finishes first, then the player: they lead, the rest follow as they run.
  race.TakeFinishPlace(3, {1, 2, 3});
  race.TakeFinishPlace(game::PlayerWho, {1, 4, 0});
  EXPECT_EQ(standings(), (std::vector<TStanding>{{1, 3, true, {1, 2, 3}},
                                                 {2, game::PlayerWho, true, {1, 4, 0}},
                                                 {3, 2, false, {}},
                                                 {4, 0, false, {}},
                                                 {5, 1, false, {}}}));
  race.TakeFinishPlace(1, {1, 5, 0});
  race.TakeFinishPlace(2, {1, 6, 0});
  race.TakeFinishPlace(0, {1, 7, 0});
  EXPECT_TRUE(race.AllFinished());
  EXPECT_EQ(standings(), (std::vector<TStanding>{{1, 3, true, {1, 2, 3}},
                                                 {2, game::PlayerWho, true, {1, 4, 0}},
                                                 {3, 1, true, {1, 5, 0}},
                                                 {4, 2, true, {1, 6, 0}},
                                                 {5, 0, true, {1, 7, 0}}}));
}

// The points a locked entry shows: the target at which the ladder, going on from where the
// profile stands, reaches the stage that opens it.
struct TOpeningCase {
  bool Car;
  int32_t Index;
  int32_t AtStart;
  int32_t AfterTwoStages;
};

class OpeningScoreTest : public ::testing::TestWithParam<TOpeningCase> {};

TEST_P(OpeningScoreTest, FollowsTheLadderFromTheCurrentStage) {
  const TOpeningCase& c = GetParam();
  game::TGameCatalogue catalogue;
  catalogue.ApplyAvailability();
  EXPECT_EQ(catalogue.OpeningScore(c.Car, c.Index), c.AtStart);
  catalogue.AdvanceUnlockStage();
  catalogue.AdvanceUnlockStage();
  EXPECT_EQ(catalogue.OpeningScore(c.Car, c.Index), c.AfterTwoStages);
}

INSTANTIATE_TEST_SUITE_P(
    Ladder, OpeningScoreTest,
    ::testing::Values(TOpeningCase{false, 0, -1, -1}, TOpeningCase{false, 2, -1, -1},
                      TOpeningCase{false, 3, 300, -1}, TOpeningCase{false, 4, 300, -1},
                      TOpeningCase{true, 1, -1, -1}, TOpeningCase{true, 2, 700, -1},
                      TOpeningCase{false, 5, 1200, 1200}, TOpeningCase{true, 3, 2200, 2200},
                      TOpeningCase{false, 8, 2700, 2700}, TOpeningCase{true, 4, 4700, 4700},
                      TOpeningCase{false, 11, 13200, 13200}, TOpeningCase{false, 12, -1, -1}));

/// Runs the real game with a real OpenGL window on Mesa's offscreen driver.
class HeadlessRunTest : public ::testing::Test {
 protected:
  long RunGame(game::TGameOptions options, const std::string& script = "") {
    options.Unpaced = true;
    options.ConfigDir = FreshDir("run");
    if (!script.empty()) {
      options.InputFile = options.ConfigDir + "/input.txt";
      std::ofstream(options.InputFile) << script;
    }
    platform::TApplication application;
    game::TForm1 form(application, options);
    EXPECT_EQ(form.Run(), 0);
    return form.FrameCount;
  }
};

TEST_F(HeadlessRunTest, RunsTheAskedFramesAndSavesTheLastOne) {
  game::TGameOptions options;
  options.Frames = 12;
  options.ScreenshotFile = FreshDir("shot") + "/last.png";
  EXPECT_EQ(RunGame(options), 12);
  EXPECT_GT(fs::file_size(options.ScreenshotFile), 1000u);
}

TEST_F(HeadlessRunTest, AWindowCloseDuringTheLogoEndsTheRun) {
  game::TGameOptions options;
  options.Frames = 40;
  EXPECT_EQ(RunGame(options, "2 close\n5 key escape\n"), 3);
}

}  // namespace
