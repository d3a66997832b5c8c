#pragma once
// Where the game finds its data files and keeps its settings files.

#include <string>

namespace game {

/// The data folder (pictures, tracks, sounds, shortcuts) and the settings folder. Game paths
/// are written with backslashes ("Data\data1.oil") and resolved inside these folders.
class TGamePaths {
 public:
  /// Chooses the folders: the given ones when not empty, otherwise the data folder beside the
  /// executable (or the installed one) and the user's settings folder.
  TGamePaths(const std::string& dataDir, const std::string& configDir);
  /// A data file by its game path.
  std::string DataFile(const std::string& gamePath) const;
  /// A settings file by its name.
  std::string ConfigFile(const std::string& name) const;
  /// The data folder.
  const std::string& DataDir() const { return DataDir_; }
  /// The settings folder (created when missing).
  const std::string& ConfigDir() const { return ConfigDir_; }
  /// What keeps the game from starting on its data folder: the folder or one of the files the
  /// game cannot go without (the menu and race pictures) missing or unreadable, said with its
  /// path; "" when the folder can be used.
  std::string DataProblem() const;

 private:
  std::string DataDir_;
  std::string ConfigDir_;
};

}  // namespace game
