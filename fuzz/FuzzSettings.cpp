// fuzz_settings: the settings files "Config.cfg" and "Configdat.cfg" read from any bytes. What a
// damaged file gives must be something the game can save and read back unchanged: reading
// what was saved notes no damage, and saving it again writes the same bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ScratchFolder.h"
#include "game/GameSettings.h"
#include "game/SettingsFile.h"

namespace {

namespace fs = std::filesystem;

using TBestTimes = std::array<game::TRaceTime, game::TrackSlotCount>;

void Require(bool condition) {
  if (!condition) std::abort();
}

const fs::path& Folder() {
  static const fuzzing::TScratchFolder kFolder("fuzz-settings");
  return kFolder.Path();
}

void WriteBytes(const fs::path& file, const uint8_t* data, size_t size) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  Require(static_cast<bool>(out));
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Saves the settings as "Config.cfg" at file and returns the bytes written.
std::string SaveConfig(const fs::path& file, const game::TGameSettings& settings) {
  std::string error;
  Require(game::TSettingsFile::SaveConfig(file.string(), settings, error));
  return ReadBytes(file);
}

std::string SaveBestTimes(const fs::path& file, const TBestTimes& times) {
  std::string error;
  Require(game::TSettingsFile::SaveBestTimes(file.string(), times, error));
  return ReadBytes(file);
}

void CheckConfig(const fs::path& input) {
  game::TGameSettings read;
  std::string warning;
  if (!game::TSettingsFile::ReadConfig(input.string(), read, warning)) return;
  const fs::path saved = Folder() / "Config.cfg";
  const std::string first = SaveConfig(saved, read);
  game::TGameSettings again;
  Require(game::TSettingsFile::ReadConfig(saved.string(), again, warning));
  Require(warning.empty());
  Require(SaveConfig(saved, again) == first);
}

void CheckBestTimes(const fs::path& input) {
  TBestTimes read{};
  std::string warning;
  if (!game::TSettingsFile::ReadBestTimes(input.string(), read, warning)) return;
  const fs::path saved = Folder() / "Configdat.cfg";
  const std::string first = SaveBestTimes(saved, read);
  TBestTimes again{};
  Require(game::TSettingsFile::ReadBestTimes(saved.string(), again, warning));
  Require(warning.empty());
  Require(SaveBestTimes(saved, again) == first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path input = Folder() / "input.cfg";
  WriteBytes(input, data, size);
  CheckConfig(input);
  CheckBestTimes(input);
  return 0;
}
