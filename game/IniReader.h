#pragma once
// Reading the game's "name = value" settings files.

#include <functional>
#include <string>

namespace game {

/// Reads the lines of "controls.ini" and "options.ini" alike: a leading byte-order mark is
/// skipped, text after ';' or '#' and "[section]" lines are ignored, names are taken in lower
/// case and names and values without the blanks around them.
class TIniReader {
 public:
  /// One "name = value" line.
  struct TEntry {
    int LineNumber = 0;
    std::string Name;
    std::string Value;
  };
  /// Hands every "name = value" line of text to entry, and every other line that is not blank
  /// to malformed with its number and its text.
  static void Read(const std::string& text, const std::function<void(const TEntry&)>& entry,
                   const std::function<void(int, const std::string&)>& malformed);
  /// The text without blanks, tabs and carriage returns at either end.
  static std::string Trim(const std::string& text);
  /// The text in lower case (ASCII letters only).
  static std::string Lower(std::string text);
};

}  // namespace game
