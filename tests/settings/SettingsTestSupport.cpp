#include "SettingsTestSupport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "online/TextCodec.h"

namespace settings_test {

namespace fs = std::filesystem;

std::string FreshDir(const std::string& tag) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name =
      std::string("cld-settings-") + test->test_suite_name() + "-" + test->name() + tag;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  const fs::path dir = fs::path(::testing::TempDir()) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

std::string Encoded(const std::string& plain) {
  return online::EncodeText(plain);
}

game::TGameSettings SampleSettings(int32_t profileCount) {
  game::TGameSettings settings;
  settings.FullScreen = true;
  settings.MusicOn = false;
  settings.SoundOn = false;
  settings.OptionsText = "Club \xC0\xE1\xE2 #7";  // code page 1251 letters
  settings.PlayerName = "\xCD\xE8\xED\xE0 P2";
  settings.HighScores.Rows[0] = {"1", "Zed", "5200"};
  settings.HighScores.Rows[4] = {"5", "\xC8\xE2\xE0\xED", "640"};
  auto& profiles = settings.Profiles;
  for (int32_t i = 0; i < profileCount; ++i) {
    profiles.Profiles[i] = {"\xCD\xE8\xED\xE0 P" + std::to_string(i),
                            2 + i % 4,
                            3 + i,
                            1000 * i - 50,
                            300 + 400 * i,
                            i % 10};
  }
  profiles.ProfileCount = profileCount;
  profiles.CurrentProfile = profileCount > 2 ? 2 : 0;
  return settings;
}

int WaitFor(pid_t child) {
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return -1000;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

bool AwaitFile(const std::string& path) {
  for (int i = 0; i < 2000; ++i) {
    if (fs::exists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

}  // namespace settings_test
