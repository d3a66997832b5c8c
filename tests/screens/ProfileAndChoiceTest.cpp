// The profile screens, the track and car carousels and the high-score screens, played as a
// player would through the real game.

#include <gtest/gtest.h>

#include <filesystem>

#include "GameRun.h"
#include "game/SettingsFile.h"
#include "game/race/GhostRun.h"

namespace {

using testgame::LogoEnd;
using testgame::TGameRun;

std::string At(long frame, const std::string& event) {
  return std::to_string(frame) + " " + event + "\n";
}

// Writes a "Config.cfg" with the given players (the first current) before the game starts.
void WriteProfiles(const TGameRun& run, const std::vector<std::string>& names) {
  game::TGameSettings settings;
  for (const std::string& name : names) {
    settings.Profiles.Profiles[static_cast<size_t>(settings.Profiles.ProfileCount++)].Name = name;
  }
  settings.PlayerName = names.empty() ? "" : names.front();
  settings.HighScores.Rows[0] = {"1", "Vera", "5000"};
  std::string error;
  ASSERT_TRUE(game::TSettingsFile::SaveConfig(run.ConfigDir() + "/Config.cfg", settings, error))
      << error;
}

// The main menu appears right after the logo once a profile exists.
constexpr long kMenu = LogoEnd + 30;

TEST(Profiles, AddUpToTenThenTheAddButtonIsRefused) {
  TGameRun run("ten");
  WriteProfiles(run, {"P1"});
  std::string script = At(kMenu, "click 725 299");  // "b_presshere"
  long f = kMenu + 40;
  for (int i = 2; i <= 11; ++i) {
    script += At(f, "click 539 530");  // "b_add"
    script += At(f + 35, "text N" + std::to_string(i));
    script += At(f + 37, "key enter");
    f += 75;
  }
  ASSERT_EQ(run.Run(script, f + 10), 0) << run.Errors();
  game::TGameSettings settings;
  ASSERT_TRUE(run.ReadSettings(settings));
  EXPECT_EQ(settings.Profiles.ProfileCount, 10);
  EXPECT_EQ(settings.Profiles.Profiles[9].Name, "N10");
  EXPECT_EQ(settings.Profiles.CurrentProfile, 9);
  EXPECT_EQ(run.LastState(), 20) << "the eleventh add must not open the name screen";
  EXPECT_EQ(run.DecodedLines("Config.cfg").size(), 27u + 60u);
}

TEST(Profiles, SelectWithKeysAndDeleteTheCurrentAndAMiddleOne) {
  TGameRun run("delete");
  WriteProfiles(run, {"A", "B", "C", "D"});
  // Highlight C with two downs, select it; then delete B (a middle one, before the current).
  const std::string script = At(kMenu, "click 725 299") + At(kMenu + 40, "key down") +
                             At(kMenu + 42, "key down") + At(kMenu + 44, "key enter") +
                             At(kMenu + 46, "key up") + At(kMenu + 50, "click 619 530") +
                             At(kMenu + 90, "click 535 494") + At(kMenu + 130, "key escape");
  ASSERT_EQ(run.Run(script, kMenu + 140), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 20, 22, 20, 4}));
  game::TGameSettings settings;
  ASSERT_TRUE(run.ReadSettings(settings));
  ASSERT_EQ(settings.Profiles.ProfileCount, 3);
  EXPECT_EQ(settings.Profiles.Profiles[0].Name, "A");
  EXPECT_EQ(settings.Profiles.Profiles[1].Name, "C");
  EXPECT_EQ(settings.Profiles.Profiles[2].Name, "D");
  EXPECT_EQ(settings.Profiles.CurrentProfile, 1) << "C stays the current player";
  EXPECT_EQ(settings.PlayerName, "C");

  // Next start: the list opens on the current player C; deleting it moves D into its slot,
  // and D becomes current.
  const std::string again = At(kMenu, "click 725 299") + At(kMenu + 40, "click 619 530") +
                            At(kMenu + 80, "click 535 494") + At(kMenu + 120, "key escape");
  ASSERT_EQ(run.Run(again, kMenu + 130), 0) << run.Errors();
  ASSERT_TRUE(run.ReadSettings(settings));
  EXPECT_EQ(settings.Profiles.ProfileCount, 2);
  EXPECT_EQ(settings.Profiles.Profiles[1].Name, "D");
  EXPECT_EQ(settings.Profiles.CurrentProfile, 1);
  EXPECT_EQ(settings.PlayerName, "D");
}

// Writes a one-frame time-trial record of a profile slot on a track with a car; its date tells
// whose it is.
void WriteGhost(const TGameRun& run, int32_t profile, int32_t track, int32_t car, time_t date) {
  game::TGhostRun ghost;
  ghost.TrackSlot = track;
  ghost.Car = car;
  ghost.TimeFrames = 4000;
  ghost.BestLapFrames = 1300;
  ghost.Date = date;
  ghost.Frames = {{1, 2, 90}};
  ghost.Save(game::TGhostRun::PathFor(run.ConfigDir(), profile, track, car));
}

TEST(Profiles, DeletingAProfileTakesItsGhostsAndMovesTheNextOnesDown) {
  TGameRun run("ghosts");
  WriteProfiles(run, {"A", "B"});
  WriteGhost(run, 0, 0, 0, 100);
  WriteGhost(run, 0, 4, 2, 100);
  WriteGhost(run, 1, 2, 1, 200);
  // The list opens on A, the current player; delete it.
  const std::string script = At(kMenu, "click 725 299") + At(kMenu + 40, "click 619 530") +
                             At(kMenu + 80, "click 535 494") + At(kMenu + 120, "key escape");
  ASSERT_EQ(run.Run(script, kMenu + 130), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 20, 22, 20, 4}));
  game::TGameSettings settings;
  ASSERT_TRUE(run.ReadSettings(settings));
  ASSERT_EQ(settings.Profiles.ProfileCount, 1);
  EXPECT_EQ(settings.Profiles.Profiles[0].Name, "B");
  namespace fs = std::filesystem;
  const fs::path ghosts = fs::path(run.ConfigDir()) / "ghosts";
  EXPECT_FALSE(fs::exists(ghosts / "profile-2"));
  EXPECT_FALSE(fs::exists(game::TGhostRun::PathFor(run.ConfigDir(), 0, 0, 0)));
  EXPECT_FALSE(fs::exists(game::TGhostRun::PathFor(run.ConfigDir(), 0, 4, 2)));
  EXPECT_EQ(game::TGhostRun::Load(game::TGhostRun::PathFor(run.ConfigDir(), 0, 2, 1)).Date, 200);
  EXPECT_EQ(std::distance(fs::directory_iterator(ghosts / "profile-1"), fs::directory_iterator()),
            1);
}

TEST(Profiles, WithoutProfilesOnlyAddingLeadsOn) {
  TGameRun run("none");
  WriteProfiles(run, {"Solo"});
  // Delete the only player; escape and "b_back2" then do nothing, "b_add" makes a new one.
  const std::string script = At(kMenu, "click 725 299") + At(kMenu + 40, "click 619 530") +
                             At(kMenu + 80, "click 535 494") + At(kMenu + 120, "key escape") +
                             At(kMenu + 125, "click 459 530") + At(kMenu + 130, "click 539 530") +
                             At(kMenu + 170, "text Neo") + At(kMenu + 172, "key enter");
  ASSERT_EQ(run.Run(script, kMenu + 190), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 20, 22, 20, 21, 20}));
  game::TGameSettings settings;
  ASSERT_TRUE(run.ReadSettings(settings));
  ASSERT_EQ(settings.Profiles.ProfileCount, 1);
  EXPECT_EQ(settings.Profiles.Profiles[0], (game::TPlayerProfile{"Neo", 2, 3, 0, 300, 0}));
}

TEST(TrackAndCar, LockedEntriesCannotBeRaced) {
  TGameRun run("carousel");
  WriteProfiles(run, {"Ann"});
  // Three tracks are open: the fourth refuses enter. Two cars: the third refuses enter.
  const std::string script =
      At(kMenu, "click 697 219") + At(kMenu + 40, "key right") + At(kMenu + 42, "key right") +
      At(kMenu + 44, "key right") + At(kMenu + 46, "key enter") + At(kMenu + 50, "key left") +
      At(kMenu + 52, "key left") + At(kMenu + 54, "key left") + At(kMenu + 56, "key left") +
      At(kMenu + 58, "key right") + At(kMenu + 60, "key enter") + At(kMenu + 100, "key right") +
      At(kMenu + 102, "key right") + At(kMenu + 104, "key enter") + At(kMenu + 110, "key escape") +
      At(kMenu + 140, "key escape");
  ASSERT_EQ(run.Run(script, kMenu + 160), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 14, 15, 14, 4}));
  // A key acts on the frame its release arrives, the one after it was pressed.
  EXPECT_EQ(run.FrameOf(15), kMenu + 61) << "enter on a locked track must do nothing";
}

TEST(HighScores, KeepWithEnterAndResetWithRightThenEnter) {
  TGameRun run("scores");
  WriteProfiles(run, {"Ann"});
  const long h = kMenu + 40;
  // Back on the main menu, its buttons take about 25 frames to slide into place.
  const std::string keep = At(kMenu, "click 700 339") + At(h, "click 415 507") +
                           At(h + 10, "key enter") + At(h + 20, "key escape") +
                           At(h + 60, "click 703 459") + At(h + 100, "key enter");
  ASSERT_EQ(run.Run(keep, h + 120), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 8, 9, 8, 4, 10, 24}));
  game::TGameSettings settings;
  ASSERT_TRUE(run.ReadSettings(settings));
  EXPECT_EQ(settings.HighScores.Rows[0].Name, "Vera");

  const std::string reset = At(kMenu, "click 700 339") + At(h, "click 415 507") +
                            At(h + 10, "key right") + At(h + 12, "key enter") +
                            At(h + 20, "key escape") + At(h + 60, "click 703 459") +
                            At(h + 100, "key enter");
  ASSERT_EQ(run.Run(reset, h + 120), 0) << run.Errors();
  game::TGameSettings cleared;
  ASSERT_TRUE(run.ReadSettings(cleared));
  EXPECT_EQ(cleared.HighScores.Rows[0].Name, "Anonymous");
  EXPECT_EQ(cleared.HighScores.Rows[0].Points, "1000");
}

}  // namespace
