#pragma once
// A test's own folder for runs of the real game: a settings folder, and when asked a copy of
// the game's data files to damage.

#include <string>
#include <vector>

#include "game/GameSettings.h"

namespace robust {

/// Ways a data file is damaged.
enum class TDamage { CutToAThird, BytesFlipped, RandomBytes, Removed };

/// The damage's name for test names and messages.
const char* DamageName(TDamage damage);

/// A fresh folder named after the running test (tests run side by side), holding the settings
/// folder "config" and, after CopyData, the data folder "data".
class TGameFolder {
 public:
  /// A new empty folder; a tag gives the test another one.
  explicit TGameFolder(const std::string& tag = "");

  /// The folder itself.
  const std::string& Dir() const { return Dir_; }
  /// The settings folder (made empty with the folder).
  std::string ConfigDir() const { return Dir_ + "/config"; }
  /// The copied data folder.
  std::string DataDir() const { return Dir_ + "/data"; }
  /// A file of the settings folder.
  std::string ConfigFile(const std::string& name) const { return ConfigDir() + "/" + name; }

  /// Copies the game's built data folder into DataDir().
  void CopyData() const;
  /// Removes the copied data folder again (a passed test need not keep it).
  void RemoveData() const;
  /// Damages one file of the copied data folder, given by its path inside it ("Data/data2.prd").
  /// The damage is the same on every run.
  void Damage(const std::string& dataFile, TDamage damage) const;

  /// Writes "Config.cfg" with these settings, "controls.ini" with the default controls and
  /// "options.ini" with the default options, as the game itself would.
  void WriteSettings(const game::TGameSettings& settings) const;
  /// The names in the settings folder, sorted.
  std::vector<std::string> ConfigListing() const;

 private:
  std::string Dir_;
};

/// Settings with one profile of this name (two cars and three tracks open, no points), which is
/// also the current player.
game::TGameSettings OneProfile(const std::string& name);

/// The bytes the game writes into "Config.cfg" for these settings.
std::string ConfigBytes(const game::TGameSettings& settings);

/// The bytes the game writes into "Configdat.cfg" when no track has a best time yet.
std::string NoBestTimesBytes();

/// The bytes of "controls.ini" as the game writes it at its first start.
std::string DefaultControlsText();

/// The bytes of "options.ini" as the game writes it at its first save.
std::string DefaultOptionsText();

}  // namespace robust
