#pragma once
// Cell sizes of the race pictures, and which sides each road corner cell joins.

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "GridDirection.h"
#include "RaceSizeTable.h"

namespace tracktool {

/// Raised when the race sizes file is missing, malformed or lacks an entry the tools need.
class TRaceSizesError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Width and height of one cell of a race picture.
struct TCellSize {
  int Width = 0;
  int Height = 0;
};

/// The race picture sizes the track tools build on: the shared sizes table, whose comment lines
/// "cell N: side and side" name the two sides each corner cell joins.
class TRaceSizes {
 public:
  /// Parses the text of a sizes file; throws TRaceSizesError when it is unusable.
  static TRaceSizes Parse(std::string_view text);
  /// Reads and parses a sizes file; throws TRaceSizesError.
  static TRaceSizes Load(const std::filesystem::path& file);

  /// The cell size of a picture; throws TRaceSizesError for an unknown key.
  TCellSize Cell(std::string_view key) const;
  /// Edge of a grid square: the road width and the size of a corner cell.
  int GridSize() const { return Cell("roadroters").Width; }
  /// The road kind (11..14) of the corner cell joining sides a and b; 0 when none does.
  int32_t CornerKind(Dir a, Dir b) const;
  /// The two sides a corner road kind (11..14) joins.
  std::array<Dir, 2> CornerSides(int32_t kind) const;
  /// The largest car cell (the widest and the longest of the five car pictures).
  TCellSize LargestCar() const;

 private:
  /// Takes the corner descriptions from the table's comments and checks the road grid.
  static TRaceSizes FromTable(racesizes::TRaceSizeTable table);
  void CheckRoadGrid() const;

  racesizes::TRaceSizeTable Table_;
  /// Sides joined by corner cells 0..3 (road kinds 14, 13, 12, 11).
  std::array<std::array<Dir, 2>, 4> CornerCellSides_{};
};

}  // namespace tracktool
