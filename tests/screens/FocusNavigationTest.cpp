// The menus with the keyboard or a game controller alone, through the real game: up and down
// move a focus over a screen's buttons, enter (or A) presses the focused one, the mouse hides
// it; and a whole game, from the first name to the exit, played with each.

#include <gtest/gtest.h>

#include "GameRun.h"
#include "Screenshot.h"
#include "game/SettingsFile.h"

namespace {

using testgame::LogoEnd;
using testgame::TGameRun;

std::string At(long frame, const std::string& event) {
  return std::to_string(frame) + " " + event + "\n";
}

// The same moves made with the controller or with the keyboard.
struct TInputs {
  const char* Name;
  const char* Down;
  const char* Press;
  const char* Back;
  const char* GasOn;
  const char* GasOff;
};

const TInputs kPad = {"Gamepad",
                      "pad dpdown",
                      "pad a",
                      "pad back",
                      "padaxis righttrigger 32767",
                      "padaxis righttrigger 0"};
const TInputs kKeys = {"Keyboard", "key down", "key enter", "key escape", "keydown up", "keyup up"};

// A first start: the logo, then the first name typed, then the main menu (at frame 497).
const std::string kFirstName = At(LogoEnd + 10, "text Ann") + At(LogoEnd + 12, "key enter");

// The frames of the whole game below and the states they lead to.
constexpr long kRaceStart = 581;
constexpr long kQuitPanelFocused = 1100;

// A whole game: start race, take the shown track and car, race with the throttle held for 160
// frames after the green light, open the quit panel and resume through its focused "no", open
// it again, focus "yes" (a second press) and quit; then walk the main menu down to "exit",
// and leave through the exit confirmation's focused "yes". `gas` false leaves the throttle
// alone; `quitFocus` is the number of presses that focus the quit panel's button (1: "no").
std::string WholeGame(const TInputs& in, bool gas = true, int quitFocus = 2) {
  std::string script =
      kFirstName + At(530, in.Down) + At(540, in.Press) + At(560, in.Press) + At(580, in.Press);
  if (gas) script += At(840, in.GasOn) + At(1000, in.GasOff);
  script += At(1010, in.Back) + At(1030, in.Down) + At(1040, in.Press) + At(1060, in.Back);
  for (int i = 0; i < quitFocus; ++i) script += At(1080 + 10 * i, in.Down);
  script += At(1110, in.Press);
  for (int i = 0; i < 7; ++i) script += At(1130 + 10 * i, in.Down);
  return script + At(1200, in.Press) + At(1220, in.Down) + At(1230, in.Press);
}

using testgame::TScreenshot;

// A box of the back buffer, right and bottom exclusive.
struct TBox {
  int32_t Left, Top, Right, Bottom;
  bool Holds(int32_t x, int32_t y) const {
    return x >= Left && x < Right && y >= Top && y < Bottom;
  }
};

// How many pixels two screenshots differ in, inside and outside a box.
struct TDifference {
  long Inside = 0;
  long Outside = 0;
};

TDifference Compare(const TScreenshot& a, const TScreenshot& b, const TBox& box) {
  TDifference difference;
  EXPECT_EQ(a.Width, b.Width);
  EXPECT_EQ(a.Height, b.Height);
  if (a.Pixels.size() != b.Pixels.size()) return difference;
  for (int32_t y = 0; y < a.Height; ++y) {
    for (int32_t x = 0; x < a.Width; ++x) {
      const size_t i = static_cast<size_t>(y * a.Width + x);
      if (a.Pixels[i] == b.Pixels[i]) continue;
      ++(box.Holds(x, y) ? difference.Inside : difference.Outside);
    }
  }
  return difference;
}

// Runs a script to `frames` and returns the last frame.
TScreenshot ShotOf(TGameRun& run, const std::string& script, long frames) {
  const std::string file = run.Dir() + "/shot.png";
  EXPECT_EQ(run.Run(script, frames, {"--screenshot", file}), 0) << run.Errors();
  return TScreenshot::Load(file);
}

TEST(FocusNavigation, AFocusedMainMenuButtonShowsItsHoverPictureAndNothingElseChanges) {
  TGameRun plain("plain");
  TGameRun focused("focused");
  // Both runs have the controller plugged in; the second presses down twice: "b_stgame",
  // then "b_opt" (138 x 38 at (657, 240) once slid in).
  const TScreenshot before = ShotOf(plain, kFirstName + At(530, "padaxis rightx 0"), 560);
  const TScreenshot after =
      ShotOf(focused, kFirstName + At(530, "pad dpdown") + At(540, "pad dpdown"), 560);
  EXPECT_EQ(focused.States(), (std::vector<int>{3, 1, 4}));
  const TDifference difference = Compare(before, after, {657, 240, 657 + 138, 240 + 38});
  EXPECT_GT(difference.Inside, 500) << "the hover picture of \"b_opt\"";
  EXPECT_EQ(difference.Outside, 0) << "one focus, and the press changed nothing else";
}

class WholeGameWith : public ::testing::TestWithParam<TInputs> {};

TEST_P(WholeGameWith, OneInputAloneCarriesTheGameFromTheFirstNameToTheExit) {
  TGameRun run("game");
  ASSERT_EQ(run.Run(WholeGame(GetParam()), 1240), 0) << run.Errors();
  const std::vector<std::pair<long, int>> expected = {
      {0, 3},    {484, 1},   {497, 4},  {541, 14}, {561, 15},  {kRaceStart, 12},
      {1011, 0}, {1041, 12}, {1061, 0}, {1111, 4}, {1201, 10}, {1231, 24}};
  EXPECT_EQ(run.Trace(), expected) << run.Errors();
  game::TGameSettings settings;
  ASSERT_TRUE(run.ReadSettings(settings));
  EXPECT_EQ(settings.Profiles.ProfileCount, 1);
  EXPECT_EQ(settings.Profiles.Profiles[0].Name, "Ann");
  EXPECT_EQ(run.DecodedLines("Configdat.cfg").size(), 75u) << "the exit wrote the best times";
}

INSTANTIATE_TEST_SUITE_P(Inputs, WholeGameWith, ::testing::Values(kPad, kKeys),
                         [](const auto& param) { return std::string(param.param.Name); });

TEST(FocusNavigation, TheTriggerDrivesAsTheUpArrowDoesAndTheQuitPanelShowsTheFocus) {
  // The same race to the quit panel three times: with the controller ("yes" focused), with
  // the keyboard ("no" focused) and with the controller but no throttle.
  TGameRun pad("pad");
  TGameRun keys("keys");
  TGameRun idle("idle");
  const TScreenshot padShot = ShotOf(pad, WholeGame(kPad), kQuitPanelFocused);
  const TScreenshot keyShot = ShotOf(keys, WholeGame(kKeys, true, 1), kQuitPanelFocused);
  const TScreenshot idleShot = ShotOf(idle, WholeGame(kPad, false), kQuitPanelFocused);
  EXPECT_EQ(pad.LastState(), 0);
  EXPECT_EQ(keys.LastState(), 0);
  // "b_yes1" at (307, 340) and "b_no1" at (418, 340) once the panel has slid in.
  const TBox buttons{300, 330, 530, 390};
  const TDifference focus = Compare(padShot, keyShot, buttons);
  EXPECT_GT(focus.Inside, 500) << "\"yes\" and \"no\" swap their pictures";
  EXPECT_EQ(focus.Outside, 0) << "the trigger and the up arrow drove the same race";
  const TBox speedometer{0, 470, 210, 600};
  EXPECT_GT(Compare(padShot, idleShot, speedometer).Inside, 200) << "the car was moving";
}

TEST(FocusNavigation, EnterKeepsItsMeaningUntilAFocusIsShownAndTheMouseHidesTheFocus) {
  TGameRun run("enter");
  game::TGameSettings settings;
  settings.Profiles.ProfileCount = 1;
  settings.Profiles.Profiles[0].Name = settings.PlayerName = "Ann";
  settings.HighScores.Rows[0] = {"1", "Vera", "5000"};
  std::string error;
  ASSERT_TRUE(game::TSettingsFile::SaveConfig(run.ConfigDir() + "/Config.cfg", settings, error))
      << error;
  const long m = LogoEnd + 30;  // the main menu
  const std::string script =
      // Enter without a focus does nothing here; a focus hidden by the mouse neither.
      At(m, "key enter") + At(m + 10, "key down") + At(m + 20, "key down") +
      At(m + 30, "move 300 150") + At(m + 40, "key enter") +
      // Up starts again at "b_stgame"; three downs reach "b_hiscr".
      At(m + 50, "key up") + At(m + 60, "key down") + At(m + 70, "key down") +
      At(m + 80, "key down") + At(m + 90, "key enter") +
      // High scores: "b_clrhiscr"; the confirmation: right alone moves the unseen focus, down
      // shows the focus on "b_yes", right moves it to "b_no", enter resets the table.
      At(m + 120, "key down") + At(m + 130, "key enter") + At(m + 150, "key right") +
      At(m + 160, "key down") + At(m + 170, "key right") + At(m + 180, "key enter") +
      // Back to the menu and the exit confirmation: "b_no" focused and pressed goes back.
      At(m + 200, "key escape") + At(m + 240, "key escape") + At(m + 280, "key down") +
      At(m + 290, "key down") + At(m + 300, "key enter") +
      // Enter without a focus still means yes.
      At(m + 330, "key escape") + At(m + 360, "key enter");
  ASSERT_EQ(run.Run(script, m + 380), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 8, 9, 8, 4, 10, 4, 10, 24}));
  EXPECT_EQ(run.FrameOf(8), m + 91) << "nothing before the enter after the fresh focus";
  game::TGameSettings stored;
  ASSERT_TRUE(run.ReadSettings(stored));
  EXPECT_EQ(stored.HighScores.Rows[0].Name, "Anonymous") << "\"b_no\" reset the table";
}

}  // namespace
