#include "GamePaths.h"

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Shell.h"

namespace game {
namespace {

namespace fs = std::filesystem;

std::string ExecutableDir() {
  char* base = SDL_GetBasePath();
  std::string dir = base ? base : "./";
  SDL_free(base);
  return dir;
}

std::string DefaultDataDir() {
  const fs::path exe = ExecutableDir();
  const fs::path candidates[] = {exe / "data", exe / ".." / "share" / "comet-lane-derby"};
  for (const auto& dir : candidates) {
    std::error_code error;
    if (fs::is_directory(dir, error)) return fs::weakly_canonical(dir, error).string();
  }
  return (exe / "data").string();
}

std::string DefaultConfigDir() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    return (fs::path(xdg) / "comet-lane-derby").string();
  }
  if (const char* home = std::getenv("HOME"); home && *home) {
    return (fs::path(home) / ".config" / "comet-lane-derby").string();
  }
  return (fs::path(ExecutableDir()) / "config").string();
}

// The data files without which no screen can be shown; the others (sounds, music, tracks, the
// closing screen) each have their own fallback.
constexpr const char* kRequiredDataFiles[] = {"Data\\data1.oil", "Data\\data2.oil"};

}  // namespace

TGamePaths::TGamePaths(const std::string& dataDir, const std::string& configDir)
    : DataDir_(dataDir.empty() ? DefaultDataDir() : dataDir),
      ConfigDir_(configDir.empty() ? DefaultConfigDir() : configDir) {
  std::error_code error;
  fs::create_directories(ConfigDir_, error);
}

std::string TGamePaths::DataFile(const std::string& gamePath) const {
  return (fs::path(DataDir_) / platform::NativePath(gamePath)).string();
}

std::string TGamePaths::ConfigFile(const std::string& name) const {
  return (fs::path(ConfigDir_) / name).string();
}

std::string TGamePaths::DataProblem() const {
  std::error_code error;
  if (!fs::exists(DataDir_, error)) return "The game's data folder " + DataDir_ + " is missing.";
  if (!fs::is_directory(DataDir_, error)) {
    return "The game's data folder " + DataDir_ + " is not a folder.";
  }
  fs::directory_iterator listing(DataDir_, error);
  if (error) return "The game's data folder " + DataDir_ + " cannot be read.";
  for (const char* gamePath : kRequiredDataFiles) {
    const std::string file = DataFile(gamePath);
    if (!fs::exists(file, error)) return "The game's data file " + file + " is missing.";
    if (!fs::is_regular_file(file, error) || !std::ifstream(file, std::ios::binary)) {
      return "The game's data file " + file + " cannot be read.";
    }
  }
  return {};
}

}  // namespace game
