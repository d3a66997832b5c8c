#include "RaceSizes.h"

#include <algorithm>
#include <regex>
#include <utility>

#include "TrackFile.h"

namespace tracktool {

namespace {

constexpr int CornerCellCount = 4;

/// Road kind drawn with corner cell n (kind 14 is cell 0, kind 11 is cell 3).
int32_t KindOfCornerCell(int cell) {
  return Kind::RoadCornerLast - cell;
}

void ParseCornerComment(const std::string& line, std::array<std::array<Dir, 2>, 4>& sides,
                        std::array<bool, 4>& seen) {
  static const std::regex kPattern(R"(cell\s+(\d+)\s*:\s*(\w+)\s+and\s+(\w+))");
  for (std::sregex_iterator it(line.begin(), line.end(), kPattern), end; it != end; ++it) {
    const int cell = std::stoi((*it)[1].str());
    const auto a = ParseDir((*it)[2].str());
    const auto b = ParseDir((*it)[3].str());
    if (cell < 0 || cell >= CornerCellCount || !a || !b || *a == *b) {
      throw TRaceSizesError("race sizes: bad corner description \"" + it->str() + "\"");
    }
    sides[static_cast<std::size_t>(cell)] = {*a, *b};
    seen[static_cast<std::size_t>(cell)] = true;
  }
}

}  // namespace

TRaceSizes TRaceSizes::Parse(std::string_view text) {
  try {
    return FromTable(racesizes::TRaceSizeTable::Parse(text, "race sizes"));
  } catch (const racesizes::TRaceSizeError& e) {
    throw TRaceSizesError(e.what());
  }
}

TRaceSizes TRaceSizes::Load(const std::filesystem::path& file) {
  try {
    return FromTable(racesizes::TRaceSizeTable::Load(file));
  } catch (const racesizes::TRaceSizeError& e) {
    throw TRaceSizesError(e.what());
  }
}

TRaceSizes TRaceSizes::FromTable(racesizes::TRaceSizeTable table) {
  TRaceSizes sizes;
  sizes.Table_ = std::move(table);
  std::array<bool, 4> seen{};
  for (const std::string& line : sizes.Table_.Comments()) {
    ParseCornerComment(line, sizes.CornerCellSides_, seen);
  }
  if (!std::all_of(seen.begin(), seen.end(), [](bool s) { return s; })) {
    throw TRaceSizesError("race sizes: the sides of all four corner cells must be named");
  }
  sizes.CheckRoadGrid();
  return sizes;
}

TCellSize TRaceSizes::Cell(std::string_view key) const {
  const auto cell = Table_.Find(key);
  if (!cell) throw TRaceSizesError("race sizes: no entry \"" + std::string(key) + "\"");
  return {cell->Width, cell->Height};
}

int32_t TRaceSizes::CornerKind(Dir a, Dir b) const {
  for (int cell = 0; cell < CornerCellCount; ++cell) {
    const auto& s = CornerCellSides_[static_cast<std::size_t>(cell)];
    if ((s[0] == a && s[1] == b) || (s[0] == b && s[1] == a)) return KindOfCornerCell(cell);
  }
  return 0;
}

std::array<Dir, 2> TRaceSizes::CornerSides(int32_t kind) const {
  const int cell = Kind::RoadCornerLast - kind;
  if (cell < 0 || cell >= CornerCellCount) {
    throw TRaceSizesError("road kind " + std::to_string(kind) + " is not a corner");
  }
  return CornerCellSides_[static_cast<std::size_t>(cell)];
}

TCellSize TRaceSizes::LargestCar() const {
  TCellSize largest;
  for (const char* key : {"car1", "car2", "car3", "car4", "car5"}) {
    const TCellSize car = Cell(key);
    largest.Width = std::max(largest.Width, car.Width);
    largest.Height = std::max(largest.Height, car.Height);
  }
  return largest;
}

void TRaceSizes::CheckRoadGrid() const {
  const int grid = Cell("roadroters").Width;
  const TCellSize corner = Cell("roadroters");
  const TCellSize horizontal = Cell("roadstr");
  const TCellSize vertical = Cell("roadstrvert");
  if (corner.Height != grid || horizontal.Width != 2 * grid || horizontal.Height != grid ||
      vertical.Width != grid || vertical.Height != 2 * grid) {
    throw TRaceSizesError(
        "race sizes: road corners must be square and straights two corners long and one wide");
  }
  for (int cell = 0; cell < CornerCellCount; ++cell) {
    for (int other = cell + 1; other < CornerCellCount; ++other) {
      const auto& a = CornerCellSides_[static_cast<std::size_t>(cell)];
      const auto& b = CornerCellSides_[static_cast<std::size_t>(other)];
      if ((a[0] == b[0] && a[1] == b[1]) || (a[0] == b[1] && a[1] == b[0])) {
        throw TRaceSizesError("race sizes: two corner cells join the same sides");
      }
    }
    const auto& s = CornerCellSides_[static_cast<std::size_t>(cell)];
    if (IsHorizontal(s[0]) == IsHorizontal(s[1])) {
      throw TRaceSizesError("race sizes: a corner cell must join one side across and one along");
    }
  }
}

}  // namespace tracktool
