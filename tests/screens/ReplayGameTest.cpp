// Replays in the real game: a race recorded with --save-replay plays again with --replay to the
// same places and times, saves nothing, and a replay that does not fit is refused.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "GameRun.h"
#include "RaceScript.h"
#include "game/race/RaceReplay.h"

namespace {

namespace fs = std::filesystem;
using testgame::At;
using testgame::IntoTheRace;
using testgame::TGameRun;
using testgame::WriteProfile;

/// Frames enough for a race of "Track 1" on the autopilot, from the menus to the results.
constexpr long kRaceFrames = 9000;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

/// What a run of the game printed and returned.
struct TPrinted {
  int ExitCode = -1;
  std::string Out;
  std::string Errors;
};

/// Runs the game headless with these arguments and a settings folder of its own.
TPrinted RunGame(const fs::path& dir, const std::string& args) {
  fs::create_directories(dir / "config");
  const std::string command =
      "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy '" CLD_GAME_EXECUTABLE
      "' --null-display --config-dir '" +
      (dir / "config").string() + "' " + args + " >'" + (dir / "out.txt").string() + "' 2>'" +
      (dir / "err.txt").string() + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(dir / "out.txt"),
          ReadAll(dir / "err.txt")};
}

TEST(ReplayGame, PlaysTheRecordedRaceToTheSamePlacesAndTimes) {
  const fs::path dir = fs::path(::testing::TempDir()) / "cld-replay-game";
  fs::remove_all(dir);
  // The recording run, with its printed lines captured.
  TGameRun run("record");
  WriteProfile(run, 0);
  const std::string replay = (dir / "race.rpl").string();
  fs::create_directories(dir / "record");
  std::ofstream(dir / "input.txt") << IntoTheRace();
  fs::copy(run.ConfigDir(), dir / "record" / "config", fs::copy_options::recursive);
  const TPrinted recorded =
      RunGame(dir / "record",
              "--unpaced --autopilot --seed 31 --frames " + std::to_string(kRaceFrames) +
                  " --input '" + (dir / "input.txt").string() + "' --save-replay '" + replay + "'");
  ASSERT_EQ(recorded.ExitCode, 0) << recorded.Errors;
  ASSERT_NE(recorded.Out.find("player place "), std::string::npos) << recorded.Out;
  ASSERT_TRUE(fs::exists(replay));
  EXPECT_LT(fs::file_size(replay), 50u * 1024);

  const TPrinted played = RunGame(dir / "play", "--unpaced --replay '" + replay + "'");
  EXPECT_EQ(played.ExitCode, 0) << played.Errors;
  EXPECT_EQ(played.Out, recorded.Out);
  // Playing saves nothing: no settings, best times or scores in the fresh folder.
  EXPECT_FALSE(fs::exists(dir / "play" / "config" / "Config.cfg"));
  EXPECT_FALSE(fs::exists(dir / "play" / "config" / "Configdat.cfg"));

  // The same replay paced as a player watches it: the clock counts frames, so the same lines.
  const TPrinted paced = RunGame(dir / "paced", "--replay '" + replay + "'");
  EXPECT_EQ(paced.Out, recorded.Out) << paced.Errors;

  // A cut replay is refused before anything starts.
  const std::string bytes = ReadAll(replay);
  std::ofstream(dir / "cut.rpl", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  const TPrinted cut = RunGame(dir / "cut", "--replay '" + (dir / "cut.rpl").string() + "'");
  EXPECT_EQ(cut.ExitCode, 2);
  EXPECT_NE(cut.Errors.find("cut short"), std::string::npos) << cut.Errors;
  EXPECT_EQ(cut.Out, "");
}

TEST(ReplayGame, ResultsPanelSavesTheReplayUnderAReadableName) {
  TGameRun run("save");
  WriteProfile(run, 0);
  // Clicks on the results' "SAVE REPLAY" from before the race can have ended until well after:
  // the button takes the first once the panel is up and is gone after it.
  std::string script = IntoTheRace();
  for (long frame = 3500; frame < kRaceFrames - 100; frame += 30) {
    script += At(frame, "click 270 405");
  }
  ASSERT_EQ(run.Run(script, kRaceFrames, {"--autopilot"}), 0) << run.Errors();
  ASSERT_NE(run.FrameOf(16), -1) << "the race did not end";
  const fs::path folder = fs::path(run.ConfigDir()) / "replays";
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  ASSERT_EQ(files.size(), 1u) << run.Errors();
  const std::string name = files[0].filename().string();
  EXPECT_TRUE(name.starts_with("track-1_")) << name;
  EXPECT_TRUE(name.ends_with(".rpl")) << name;
  EXPECT_NE(run.Errors().find("Replay saved as " + name), std::string::npos) << run.Errors();
  const game::TRaceReplay replay = game::TRaceReplay::Load(files[0].string());
  EXPECT_EQ(replay.TrackSlot, 0);
  EXPECT_GT(replay.FrameCount(), 250u);
}

}  // namespace
