// A whole race as a player meets it: from the car screen through the start lights, the race
// on autopilot and the results back to the track choice, with what it stores and when.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "GameRun.h"
#include "RaceScript.h"
#include "game/SettingsFile.h"
#include "online/TextCodec.h"

namespace {

using testgame::At;
using testgame::IntoTheRace;
using testgame::TGameRun;
using testgame::ThroughTheResults;
using testgame::WriteProfile;

constexpr long kMenu = testgame::MenuFrame;

TEST(RaceFlow, AWholeRaceOnTrackOneStoresTheScoreNowAndTheBestTimeOnExit) {
  // The race drawn by nobody: the same frames, the same clock, far quicker.
  const std::vector<std::string> options = {"--autopilot", "--null-display"};
  const long raceEnd = kMenu + 9000;
  const std::string script =
      IntoTheRace() + ThroughTheResults(kMenu + 3000, raceEnd, "click 455 365");

  TGameRun run("race");
  WriteProfile(run, 0);
  ASSERT_EQ(run.Run(script, raceEnd + 20, options), 0) << run.Errors();
  ASSERT_EQ(run.States(), (std::vector<int>{3, 4, 14, 15, 12, 16, 14})) << run.Errors();
  EXPECT_GT(run.FrameOf(16) - run.FrameOf(12), 250 + 150)
      << "start lights and the finish delay at least";
  game::TGameSettings settings;
  ASSERT_TRUE(run.ReadSettings(settings));
  const int32_t score = settings.Profiles.Profiles[0].Score;
  const std::vector<int32_t> rewards = {100, 70, 50};
  EXPECT_TRUE(std::find(rewards.begin(), rewards.end(), score) != rewards.end())
      << "score " << score << " is not a place reward of Track 1";
  EXPECT_FALSE(std::filesystem::exists(run.ConfigDir() + "/Configdat.cfg"))
      << "best times reach the disk only through the exit confirmation";
  EXPECT_EQ(settings.HighScores.Rows[0].Name, "Anonymous") << "1000 points are not beaten";

  // The same race, then out through the exit confirmation: the best time is written now.
  TGameRun leave("leave");
  WriteProfile(leave, 0);
  const std::string out = script + At(raceEnd + 10, "key escape") + At(raceEnd + 40, "key escape") +
                          At(raceEnd + 80, "key enter");
  ASSERT_EQ(leave.Run(out, raceEnd + 100, options), 0) << leave.Errors();
  EXPECT_EQ(leave.States(), (std::vector<int>{3, 4, 14, 15, 12, 16, 14, 4, 10, 24}));
  const std::vector<std::string> times = leave.DecodedLines("Configdat.cfg");
  ASSERT_EQ(times.size(), 75u);
  // Slot 0: hundredths, seconds, minutes; a real race takes over ten seconds, under ten minutes.
  EXPECT_LT(std::stoi(times[2]), 10);
  EXPECT_GT(std::stoi(times[1]) + 60 * std::stoi(times[2]), 10);
  EXPECT_EQ(times[5], "1000") << "slot 1 keeps no best time";
}

TEST(RaceFlow, QuitFromTheRaceReturnsToTheMainMenu) {
  TGameRun run("quit");
  WriteProfile(run, 0);
  const long race = kMenu + 80;
  // Escape opens the quit panel; escape again resumes; escape and enter quit.
  const std::string script = IntoTheRace() + At(race + 100, "key escape") +
                             At(race + 130, "key escape") + At(race + 160, "key escape") +
                             At(race + 190, "key enter");
  ASSERT_EQ(run.Run(script, race + 230, {"--autopilot", "--null-display"}), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 14, 15, 12, 0, 12, 0, 4}));
}

TEST(RaceFlow, EscapeAndPReleasedTogetherOpenOnlyTheQuitPanel) {
  TGameRun run("both");
  WriteProfile(run, 0);
  const long race = kMenu + 80;
  const std::string script = IntoTheRace() + At(race + 100, "keyup escape") +
                             At(race + 100, "keyup p") + At(race + 130, "key p") +
                             At(race + 160, "key p");
  ASSERT_EQ(run.Run(script, race + 190, {"--null-display"}), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 14, 15, 12, 0}))
      << "P does nothing on the quit panel";
}

TEST(RaceFlow, PauseDuringTheStartLightsFreezesTheCountdown) {
  TGameRun run("pause");
  WriteProfile(run, 0);
  const long race = kMenu + 80;
  // Pause at start-light tick ~100 for 300 frames: without the freeze the green light (tick
  // 250) would come during the pause and the pause would resume into a running race.
  const std::string script = IntoTheRace() + At(race + 100, "key p") + At(race + 400, "key f1");
  const std::string shot = run.Dir() + "/lights.png";
  ASSERT_EQ(run.Run(script, race + 420, {"--screenshot", shot}), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 14, 15, 12, 23, 12}));
  EXPECT_TRUE(std::filesystem::exists(shot));
}

}  // namespace
