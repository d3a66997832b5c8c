#include "GameRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/SettingsFile.h"
#include "online/TextCodec.h"

namespace testgame {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Quote(const std::string& text) {
  return "'" + text + "'";
}

}  // namespace

TGameRun::TGameRun(const std::string& tag) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const fs::path dir =
      fs::path(::testing::TempDir()) /
      ("cld-screens-" + std::string(test->test_suite_name()) + "-" + test->name() + "-" + tag);
  fs::remove_all(dir);
  fs::create_directories(dir / "config");
  Dir_ = dir.string();
  ConfigDir_ = (dir / "config").string();
}

int TGameRun::Run(const std::string& script, long frames, const std::vector<std::string>& extra) {
  const fs::path dir(Dir_);
  std::ofstream(dir / "input.txt") << script;
  std::string command = "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy " +
                        Quote(CLD_GAME_EXECUTABLE) + " --unpaced --seed 7 --frames " +
                        std::to_string(frames) + " --config-dir " + Quote(ConfigDir_) +
                        " --trace " + Quote((dir / "trace.txt").string()) + " --input " +
                        Quote((dir / "input.txt").string());
  // Without a screenshot to take, nothing needs drawing: the null display runs the same frames
  // far quicker.
  const bool drawn = std::find(extra.begin(), extra.end(), "--screenshot") != extra.end();
  if (!drawn && std::find(extra.begin(), extra.end(), "--null-display") == extra.end()) {
    command += " --null-display";
  }
  for (const std::string& arg : extra) {
    command += ' ';
    command += Quote(arg);
  }
  command += " 2>";
  command += Quote((dir / "stderr.txt").string());
  const int status = std::system(command.c_str());
  Errors_ = ReadAll(dir / "stderr.txt");
  Trace_.clear();
  std::istringstream trace(ReadAll(dir / "trace.txt"));
  long frame = 0;
  int state = 0;
  while (trace >> frame >> state) Trace_.emplace_back(frame, state);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::vector<int> TGameRun::States() const {
  std::vector<int> states;
  for (const auto& [frame, state] : Trace_) states.push_back(state);
  return states;
}

long TGameRun::FrameOf(int state) const {
  for (const auto& [frame, s] : Trace_) {
    if (s == state) return frame;
  }
  return -1;
}

bool TGameRun::ReadSettings(game::TGameSettings& settings) const {
  std::string warning;
  const bool read = game::TSettingsFile::ReadConfig(ConfigDir_ + "/Config.cfg", settings, warning);
  EXPECT_EQ(warning, "");
  return read;
}

std::vector<std::string> TGameRun::DecodedLines(const std::string& file) const {
  std::vector<std::string> lines;
  std::istringstream in(Bytes(file));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(game::TSettingsFile::StripPadding(online::DecodeText(line)));
  }
  return lines;
}

std::string TGameRun::Bytes(const std::string& file) const {
  return ReadAll(fs::path(ConfigDir_) / file);
}

}  // namespace testgame
