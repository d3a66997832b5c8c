// The menus as a player meets them: first start, options, help, exit and the closing screen.

#include <gtest/gtest.h>

#include <filesystem>

#include "GameRun.h"

namespace {

using testgame::LogoEnd;
using testgame::TGameRun;

// A script that waits out the logo of a first start and types a first name.
const std::string kFirstName =
    std::to_string(LogoEnd + 10) + " text Ann\n" + std::to_string(LogoEnd + 12) + " key enter\n";

// Main-menu buttons once they have slid in (centres, back-buffer pixels).
const char* const kOptions = "726 259";
const char* const kHelp = "745 379";
const char* const kExit = "703 459";

// A script line at frame `frame`.
std::string At(long frame, const std::string& event) {
  return std::to_string(frame) + " " + event + "\n";
}

// A run whose first start has made the profile "Ann"; returns the frame the menu appeared.
long MakeProfile(TGameRun& run) {
  EXPECT_EQ(run.Run(kFirstName, LogoEnd + 20), 0) << run.Errors();
  return run.FrameOf(4);
}

TEST(FirstStart, LogoThenFirstNameThenMainMenuWithOneProfileWritten) {
  TGameRun quiet("quiet");
  ASSERT_EQ(quiet.Run("100 move 400 300\n", LogoEnd + 5), 0) << quiet.Errors();
  EXPECT_EQ(quiet.States(), (std::vector<int>{3, 1}));
  EXPECT_EQ(quiet.FrameOf(1), LogoEnd);
  EXPECT_FALSE(std::filesystem::exists(quiet.ConfigDir() + "/Config.cfg"))
      << "nothing is written before the first name";

  TGameRun run("first");
  ASSERT_EQ(run.Run(kFirstName, LogoEnd + 30), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 1, 4}));
  const std::vector<std::string> lines = run.DecodedLines("Config.cfg");
  ASSERT_EQ(lines.size(), 27u + 6u);
  EXPECT_EQ(lines[0], "false");
  EXPECT_EQ(lines[4], "Ann");
  EXPECT_EQ(lines[25], "1");
  EXPECT_EQ(lines[26], "0");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 27, lines.end()),
            (std::vector<std::string>{"Ann", "2", "3", "0", "300", "0"}));
  const std::string bytes = run.Bytes("Config.cfg");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_FALSE(std::filesystem::exists(run.ConfigDir() + "/Configdat.cfg"));
}

// Any key, click or controller button skips the logo sequence once it is let go.
class LogoSkip : public ::testing::TestWithParam<const char*> {};

TEST_P(LogoSkip, GoesStraightToTheFirstNameScreen) {
  TGameRun run("skip");
  ASSERT_EQ(run.Run(At(50, GetParam()), 80), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 1}));
  EXPECT_GE(run.FrameOf(1), 51);
  EXPECT_LE(run.FrameOf(1), 53);
  EXPECT_FALSE(std::filesystem::exists(run.ConfigDir() + "/Config.cfg"));
}

INSTANTIATE_TEST_SUITE_P(ByAnyInput, LogoSkip,
                         ::testing::Values("key escape", "key space", "key enter", "click 400 300",
                                           "click 10 10", "pad a", "pad y"));

TEST(FirstStart, TheSkippingKeyDoesNotActOnTheNextScreen) {
  TGameRun run("skipkey");
  MakeProfile(run);
  // Escape skips the logo; on the main menu a released escape would open the exit question.
  ASSERT_EQ(run.Run(At(50, "key escape"), 120), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4}));
}

TEST(FirstStart, ANameOfBlanksIsRefused) {
  TGameRun run("blanks");
  const std::string script = At(LogoEnd + 10, "text   ") + At(LogoEnd + 12, "key enter") +
                             At(LogoEnd + 40, "click 569 498");
  ASSERT_EQ(run.Run(script, LogoEnd + 60), 0) << run.Errors();
  EXPECT_EQ(run.LastState(), 1);
}

TEST(Options, SwitchesAndTextAreAppliedAndWritten) {
  TGameRun run("apply");
  const long menu = MakeProfile(run);
  ASSERT_GT(menu, 0);
  // Second start: the menu comes straight after the logo.
  const long m = LogoEnd + 30;
  const std::string script = At(m, std::string("click ") + kOptions) +
                             At(m + 40, "click 696 378") +  // music off
                             At(m + 45, "click 696 410") +  // sound off
                             At(m + 50, "click 679 445") +  // focus the text
                             At(m + 55, "text Fast1") + At(m + 60, "key backspace") +
                             At(m + 65, "click 525 494");  // apply
  ASSERT_EQ(run.Run(script, m + 80), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 7, 4}));
  game::TGameSettings settings;
  ASSERT_TRUE(run.ReadSettings(settings));
  EXPECT_FALSE(settings.MusicOn);
  EXPECT_FALSE(settings.SoundOn);
  EXPECT_FALSE(settings.FullScreen);
  EXPECT_EQ(settings.OptionsText, "Fast");
}

TEST(Options, EscapeRestoresTheSwitchesWhichTheExitThenWrites) {
  const long m = LogoEnd + 30;
  const std::string toggle = At(m, std::string("click ") + kOptions) + At(m + 40, "click 696 378") +
                             At(m + 50, "key escape");
  TGameRun shown("shown");
  MakeProfile(shown);
  ASSERT_EQ(shown.Run(toggle, m + 60), 0) << shown.Errors();
  EXPECT_EQ(shown.States(), (std::vector<int>{3, 4, 7, 4}));
  game::TGameSettings settings;
  ASSERT_TRUE(shown.ReadSettings(settings));
  EXPECT_FALSE(settings.MusicOn) << "leaving writes the values shown";

  TGameRun restored("restored");
  MakeProfile(restored);
  const std::string exit = toggle + At(m + 70, "key escape") + At(m + 80, "key enter");
  ASSERT_EQ(restored.Run(exit, m + 100), 0) << restored.Errors();
  EXPECT_EQ(restored.States(), (std::vector<int>{3, 4, 7, 4, 10, 24}));
  game::TGameSettings written;
  ASSERT_TRUE(restored.ReadSettings(written));
  EXPECT_TRUE(written.MusicOn) << "the exit writes the restored values";
  EXPECT_TRUE(std::filesystem::exists(restored.ConfigDir() + "/Configdat.cfg"));
}

TEST(Help, PagesTurnAndEscapeReturns) {
  TGameRun run("help");
  MakeProfile(run);
  const long m = LogoEnd + 30;
  const std::string script = At(m, std::string("click ") + kHelp) + At(m + 40, "click 699 524") +
                             At(m + 45, "click 699 524") + At(m + 50, "click 699 524") +
                             At(m + 55, "click 587 524") + At(m + 60, "click 587 524") +
                             At(m + 65, "click 587 524") + At(m + 70, "click 474 524") +
                             At(m + 100, "click " + std::string(kHelp)) + At(m + 140, "key escape");
  ASSERT_EQ(run.Run(script, m + 150), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 6, 4, 6, 4}));
}

TEST(Exit, TheClosingScreenCountsDownThenItsButtonEndsTheGame) {
  TGameRun run("exit");
  MakeProfile(run);
  const long m = LogoEnd + 30;
  // The exit confirmation, "b_yes", then the promotion screen's exit button, refused while the
  // five-second countdown runs. A run that reaches its last frame leaves its screenshot; one
  // that the game ends itself does not.
  const std::string early = At(m, std::string("click ") + kExit) + At(m + 40, "click 533 469") +
                            At(m + 100, "click 400 507");
  const std::string shot = run.Dir() + "/last.png";
  ASSERT_EQ(run.Run(early, m + 200, {"--screenshot", shot}), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 10, 24}));
  EXPECT_TRUE(std::filesystem::exists(shot)) << "closed before the countdown ran out";
  EXPECT_EQ(run.DecodedLines("Configdat.cfg").size(), 75u);

  std::filesystem::remove(shot);
  ASSERT_EQ(run.Run(early + At(m + 460, "click 400 507"), m + 1000, {"--screenshot", shot}), 0)
      << run.Errors();
  EXPECT_EQ(run.LastState(), 24);
  EXPECT_FALSE(std::filesystem::exists(shot)) << "the exit button did not end the game";
}

TEST(Exit, TheWindowsCloseBoxEndsTheGameEvenDuringTheCountdown) {
  TGameRun run("exitbox");
  MakeProfile(run);
  const long m = LogoEnd + 30;
  const std::string shot = run.Dir() + "/last.png";
  const std::string script =
      At(m, std::string("click ") + kExit) + At(m + 40, "click 533 469") + At(m + 101, "close");
  ASSERT_EQ(run.Run(script, m + 1000, {"--screenshot", shot}), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 10, 24}));
  EXPECT_FALSE(std::filesystem::exists(shot)) << "the close box did not end the game";
  EXPECT_EQ(run.DecodedLines("Configdat.cfg").size(), 75u);
}

}  // namespace
