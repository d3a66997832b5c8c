#include "GamePaths.h"

#include <SDL.h>

#include <cstdlib>
#include <filesystem>

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

}  // namespace game
