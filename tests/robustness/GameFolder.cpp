#include "GameFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "GameProcess.h"
#include "game/ControlBindings.h"
#include "game/GameConstants.h"
#include "game/OptionsIni.h"
#include "game/SettingsFile.h"

namespace robust {
namespace {

namespace fs = std::filesystem;

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The bytes a settings writer leaves in a scratch file.
template <typename Save>
std::string SavedBytes(const std::string& name, Save save) {
  const TGameFolder scratch("scratch-" + name);
  const std::string path = scratch.ConfigFile(name);
  std::string error;
  EXPECT_TRUE(save(path, error)) << error;
  return ReadFileBytes(path);
}

}  // namespace

const char* DamageName(TDamage damage) {
  switch (damage) {
    case TDamage::CutToAThird:
      return "CutToAThird";
    case TDamage::BytesFlipped:
      return "BytesFlipped";
    case TDamage::RandomBytes:
      return "RandomBytes";
    case TDamage::Removed:
      return "Removed";
  }
  return "?";
}

TGameFolder::TGameFolder(const std::string& tag) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("cld-robust-") + test->test_suite_name() + "-" + test->name();
  if (!tag.empty()) name += "-" + tag;
  std::replace(name.begin(), name.end(), '/', '_');
  const fs::path dir = fs::path(::testing::TempDir()) / name;
  fs::remove_all(dir);
  fs::create_directories(dir / "config");
  Dir_ = dir.string();
}

void TGameFolder::CopyData() const {
  fs::copy(CLD_GAME_DATA_DIR, DataDir(), fs::copy_options::recursive);
}

void TGameFolder::RemoveData() const {
  fs::remove_all(DataDir());
}

void TGameFolder::Damage(const std::string& dataFile, TDamage damage) const {
  const std::string path = DataDir() + "/" + dataFile;
  std::string bytes = ReadFileBytes(path);
  ASSERT_FALSE(bytes.empty()) << path;
  std::mt19937 random(7);
  switch (damage) {
    case TDamage::CutToAThird:
      bytes.resize(bytes.size() / 3);
      break;
    case TDamage::BytesFlipped:
      // 64 bytes inverted, evenly spread from the header to the end.
      for (size_t at = 3; at < bytes.size(); at += std::max<size_t>(1, bytes.size() / 64)) {
        bytes[at] = static_cast<char>(~bytes[at]);
      }
      break;
    case TDamage::RandomBytes:
      for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
      break;
    case TDamage::Removed:
      fs::remove(path);
      return;
  }
  WriteFileBytes(path, bytes);
}

void TGameFolder::WriteSettings(const game::TGameSettings& settings) const {
  WriteFileBytes(ConfigFile("Config.cfg"), ConfigBytes(settings));
  WriteFileBytes(ConfigFile("controls.ini"), DefaultControlsText());
  WriteFileBytes(ConfigFile("options.ini"), DefaultOptionsText());
}

std::vector<std::string> TGameFolder::ConfigListing() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(ConfigDir())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

game::TGameSettings OneProfile(const std::string& name) {
  game::TGameSettings settings;
  settings.Profiles.ProfileCount = 1;
  settings.Profiles.CurrentProfile = 0;
  settings.Profiles.Profiles[0] = {name, 2, 3, 0, 300, 0};
  settings.PlayerName = name;
  return settings;
}

std::string ConfigBytes(const game::TGameSettings& settings) {
  return SavedBytes("Config.cfg", [&](const std::string& path, std::string& error) {
    return game::TSettingsFile::SaveConfig(path, settings, error);
  });
}

std::string NoBestTimesBytes() {
  const game::TGameCatalogue catalogue;
  std::array<game::TRaceTime, game::TrackSlotCount> times{};
  for (size_t i = 0; i < times.size(); ++i) times[i] = catalogue.TrackInfo[i].BestTime;
  return SavedBytes("Configdat.cfg", [&](const std::string& path, std::string& error) {
    return game::TSettingsFile::SaveBestTimes(path, times, error);
  });
}

std::string DefaultControlsText() {
  return game::TControlBindings().Text();
}

std::string DefaultOptionsText() {
  return game::TOptionsIni().Text();
}

}  // namespace robust
