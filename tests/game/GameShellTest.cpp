// The game shell: key flags, the race clocks, closing, and whole headless runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestFolder.h"
#include "game/RaceSetup.h"
#include "game/Unit_pr.h"
#include "game/race/EnemyCar.h"
#include "game/race/Player.h"
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

TEST_F(ShellTest, ClosingIsRefusedOutsideTheClosingScreen) {
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
    int ticks;
    game::TRaceTime expected;
  };
  const Case cases[] = {{99, {0, 0, 99}},  {100, {0, 1, 0}},     {5999, {0, 59, 99}},
                        {6000, {1, 0, 0}}, {360000, {60, 0, 0}}, {366101, {61, 1, 1}}};
  for (const auto& c : cases) {
    game::TRaceTime clock;
    for (int i = 0; i < c.ticks; ++i) clock.AddHundredth();
    EXPECT_EQ(clock, c.expected) << c.ticks << " ticks gave " << clock.Text();
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

TEST_F(HeadlessRunTest, WindowCloseAndKeysDuringTheLogoAreRefused) {
  game::TGameOptions options;
  options.Frames = 40;
  EXPECT_EQ(RunGame(options, "2 close\n5 key escape\n"), 40);
}

}  // namespace
