// What the player is shown as the real game runs: a padlock and the points that open a locked
// track or car, a warning in the ticker when the progress cannot be saved, the high-score table
// above the menu scenery, and the standings beside the results.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "GameRun.h"
#include "RaceScript.h"
#include "Screenshot.h"

namespace {

using testgame::At;
using testgame::TGameRun;
using testgame::WriteProfile;

constexpr long kMenu = testgame::MenuFrame;

using testgame::TScreenshot;

// A box of the back buffer, right and bottom exclusive.
struct TBox {
  int32_t Left, Top, Right, Bottom;
};

// Runs a script to `frames` with the extra arguments and returns the last frame.
TScreenshot ShotOf(TGameRun& run, const std::string& script, long frames,
                   std::vector<std::string> extra = {}) {
  const std::string file = run.Dir() + "/shot.png";
  extra.insert(extra.end(), {"--screenshot", file});
  EXPECT_EQ(run.Run(script, frames, extra), 0) << run.Errors();
  return TScreenshot::Load(file);
}

// Pixels of the padlock's and the label's orange inside a box.
long OrangePixels(const TScreenshot& shot, const TBox& box) {
  long count = 0;
  for (int32_t y = box.Top; y < box.Bottom && y < shot.Height; ++y) {
    for (int32_t x = box.Left; x < box.Right && x < shot.Width; ++x) {
      const uint32_t p = shot.At(x, y);
      const uint32_t r = (p >> 16) & 0xFF;
      const uint32_t g = (p >> 8) & 0xFF;
      const uint32_t b = p & 0xFF;
      if (r > 200 && g > 90 && g < 180 && b < 90) ++count;
    }
  }
  return count;
}

// Pixels that differ between two screenshots inside a box by more than `tolerance` in a colour
// channel.
long Differing(const TScreenshot& a, const TScreenshot& b, const TBox& box, int32_t tolerance = 0) {
  long count = 0;
  for (int32_t y = box.Top; y < box.Bottom; ++y) {
    for (int32_t x = box.Left; x < box.Right; ++x) {
      const uint32_t pa = a.At(x, y);
      const uint32_t pb = b.At(x, y);
      for (int shift : {0, 8, 16}) {
        const auto ca = static_cast<int32_t>((pa >> shift) & 0xFF);
        const auto cb = static_cast<int32_t>((pb >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance) {
          ++count;
          break;
        }
      }
    }
  }
  return count;
}

// Where the choice screens show the padlock and the label, once slid in: the track's card and
// details; the car's card and the line under the title (the bars beside it have orange).
const std::vector<TBox> kTrackBoxes = {{390, 340, 800, 520}};
const std::vector<TBox> kCarBoxes = {{410, 358, 572, 506}, {380, 328, 780, 356}};

// A locked entry shows the padlock and "Opens at ... points" in orange; an open one does not.
struct TLockCase {
  const char* Name;
  std::string Steps;  // from the main menu
  bool Car;
  bool Locked;
};

void PrintTo(const TLockCase& c, std::ostream* out) {
  *out << c.Name;
}

class LockedEntries : public ::testing::TestWithParam<TLockCase> {};

TEST_P(LockedEntries, ShowAPadlockAndThePointsThatOpenThem) {
  const TLockCase& c = GetParam();
  TGameRun run("lock");
  WriteProfile(run, 0);
  const TScreenshot shot = ShotOf(run, At(kMenu, "click 697 219") + c.Steps, kMenu + 160);
  long orange = 0;
  for (const TBox& box : c.Car ? kCarBoxes : kTrackBoxes) orange += OrangePixels(shot, box);
  if (c.Locked) {
    EXPECT_GT(orange, 400) << "no padlock or label";
  } else {
    EXPECT_LT(orange, 50);
  }
}

const TLockCase kLockCases[] = {
    {"OpenTrack", "", false, false},
    {"LockedTrack", At(kMenu + 40, "key left"), false, true},
    {"OpenCar", At(kMenu + 40, "key enter"), true, false},
    {"LockedCar",
     At(kMenu + 40, "key enter") + At(kMenu + 80, "key right") + At(kMenu + 82, "key right"), true,
     true},
};

INSTANTIATE_TEST_SUITE_P(ChoiceScreens, LockedEntries, ::testing::ValuesIn(kLockCases),
                         [](const ::testing::TestParamInfo<TLockCase>& param) {
                           return std::string(param.param.Name);
                         });

TEST(SaveFailure, TheTickerSaysTheProgressCannotBeSaved) {
  // The first start's name is saved at once: into a folder that cannot be made (its parent is
  // a file), and into a fresh one.
  const std::string script =
      At(testgame::LogoEnd + 10, "text Ann") + At(testgame::LogoEnd + 12, "key enter");
  const long frames = testgame::LogoEnd + 900;
  TGameRun blocked("blocked");
  const std::string file = blocked.Dir() + "/file";
  std::ofstream(file) << "a file, not a folder";
  const TScreenshot warned = ShotOf(blocked, script, frames, {"--config-dir", file + "/config"});
  EXPECT_EQ(blocked.States(), (std::vector<int>{3, 1, 4}));
  EXPECT_NE(blocked.Errors().find("settings not saved"), std::string::npos) << blocked.Errors();

  TGameRun fine("fine");
  const TScreenshot plain = ShotOf(fine, script, frames);
  EXPECT_EQ(fine.States(), (std::vector<int>{3, 1, 4}));
  // The ticker's line differs; below it the menus are the same.
  EXPECT_GT(Differing(warned, plain, {0, 0, 800, 30}), 200);
  EXPECT_EQ(Differing(warned, plain, {0, 30, 800, 600}), 0);
}

// How far the scenery behind may shift a colour channel of the translucent panel.
constexpr int32_t kGlassBleed = 8;

TEST(HighScores, TheTableIsDrawnAboveTheOrbitingPlanets) {
  // Two seeds put the planets elsewhere on their orbits, which pass behind the table's left
  // part; the table and its buttons look the same in both (but for the faint orbit lines the
  // panel's glass lets through).
  const std::string script = At(kMenu, "click 660 339") + At(kMenu + 20, "move 790 20");
  const long frames = kMenu + 400;
  TGameRun one("seed7");
  WriteProfile(one, 0);
  const TScreenshot first = ShotOf(one, script, frames);
  TGameRun other("seed8");
  WriteProfile(other, 0);
  const TScreenshot second = ShotOf(other, script, frames, {"--seed", "8"});
  EXPECT_EQ(one.States(), (std::vector<int>{3, 4, 8}));
  EXPECT_GT(Differing(first, second, {0, 200, 266, 480}), 1000) << "the planets moved apart";
  EXPECT_EQ(Differing(first, second, {278, 268, 754, 478}, kGlassBleed), 0) << "the table";
  EXPECT_EQ(Differing(first, second, {334, 497, 496, 518}, kGlassBleed), 0) << "CLEAR SCORES";
}

}  // namespace
