#pragma once
// The player's game options, kept in the settings file "options.ini".

#include <string>
#include <vector>

#include "CameraMode.h"
#include "IniReader.h"

namespace game {

/// The options a player sets by editing "options.ini" in the settings folder, one
/// "name = value" line each; lines starting with ; or # are comments. A missing file means
/// every default; a line that does not parse keeps its option's default and is noted as a
/// problem. The game writes the file with its settings when it is missing (the safe way, whole)
/// and never writes over the player's own.
class TOptionsIni {
 public:
  /// The file's name in the settings folder.
  static constexpr const char* kFileName = "options.ini";

  /// How the race's view follows the player's car ("camera = look-ahead" or "classic").
  TCameraMode Camera = TCameraMode::LookAhead;

  /// Applies the lines of an options file, noting each line that does not parse.
  void Parse(const std::string& text);
  /// The problems noted by Parse and Load, one message each.
  const std::vector<std::string>& Problems() const { return Problems_; }
  /// The file form of these options, with a comment for every line.
  std::string Text() const;
  /// Reads the file; a missing file leaves the defaults. Each problem is reported once on
  /// standard error. True when the file was there.
  bool Load(const std::string& path);
  /// Replaces the file with Text() (temporary file, then rename). False, with the reason in
  /// error, when it could not be written; the previous file then stays as it was.
  bool Save(const std::string& path, std::string& error) const;
  /// Writes the file with Text() the same safe way only when there is nothing at path. False,
  /// with the reason in error, when it was missing and could not be written.
  bool SaveIfMissing(const std::string& path, std::string& error) const;

 private:
  void ParseEntry(const TIniReader::TEntry& entry);
  void Note(int lineNumber, const std::string& problem);

  std::vector<std::string> Problems_;
};

}  // namespace game
