#pragma once
// The table of race picture cell sizes (content/race-sizes.txt) that art-gen draws to and the
// track tools check tracks against.

#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace racesizes {

/// Raised when the sizes file cannot be read or a line of it is malformed.
class TRaceSizeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// How many cells a race picture has across and down, and the size of one cell in pixels.
struct TRaceCell {
  int Columns = 1;
  int Rows = 1;
  int Width = 0;
  int Height = 0;
};

/// The sizes file: lines "key columns rows tile_width tile_height", each number positive and
/// each key once; a line whose first word starts with "#" is a comment, and blank lines are
/// skipped.
class TRaceSizeTable {
 public:
  /// Parses the text of a sizes file; origin names it in messages ("origin:line: ...").
  static TRaceSizeTable Parse(std::string_view text, const std::string& origin);
  /// Reads and parses a sizes file; throws TRaceSizeError when it is missing or malformed.
  static TRaceSizeTable Load(const std::filesystem::path& file);

  /// The cell layout of a picture, if the table lists it.
  std::optional<TRaceCell> Find(std::string_view key) const;
  /// The comment lines, in order and whole, for readers that take notes from them.
  const std::vector<std::string>& Comments() const { return Comments_; }

 private:
  std::map<std::string, TRaceCell, std::less<>> Cells_;
  std::vector<std::string> Comments_;
};

}  // namespace racesizes
