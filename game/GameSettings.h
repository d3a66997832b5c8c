#pragma once
// Everything the game keeps in its main settings file.

#include <string>

#include "HighScoreTable.h"
#include "PlayerProfiles.h"

namespace game {

/// The switches, texts, high-score table and profiles of "Config.cfg", with their defaults.
struct TGameSettings {
  bool FullScreen = false;
  bool MusicOn = true;
  bool SoundOn = true;
  /// Free text typed on the options screen, sent with submitted scores (code page 1251 bytes).
  std::string OptionsText;
  /// Name of the current player (code page 1251 bytes).
  std::string PlayerName;
  THighScoreTable HighScores;
  TPlayerProfiles Profiles;
};

}  // namespace game
