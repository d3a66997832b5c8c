#include "RaceSizeTable.h"

#include <fstream>
#include <sstream>

namespace racesizes {

TRaceSizeTable TRaceSizeTable::Parse(std::string_view text, const std::string& origin) {
  TRaceSizeTable table;
  std::istringstream in{std::string(text)};
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::istringstream fields(line);
    std::string key;
    if (!(fields >> key)) continue;
    if (key[0] == '#') {
      table.Comments_.push_back(line);
      continue;
    }
    const std::string where = origin + ":" + std::to_string(lineNumber);
    TRaceCell cell;
    std::string extra;
    if (!(fields >> cell.Columns >> cell.Rows >> cell.Width >> cell.Height) || (fields >> extra)) {
      throw TRaceSizeError(where + ": expected \"key columns rows tile_width tile_height\"");
    }
    if (cell.Columns < 1 || cell.Rows < 1 || cell.Width < 1 || cell.Height < 1) {
      throw TRaceSizeError(where + ": sizes and counts must be positive");
    }
    if (!table.Cells_.emplace(key, cell).second) {
      throw TRaceSizeError(where + ": \"" + key + "\" listed twice");
    }
  }
  return table;
}

TRaceSizeTable TRaceSizeTable::Load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw TRaceSizeError("cannot read race sizes file " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  return Parse(text.str(), file.string());
}

std::optional<TRaceCell> TRaceSizeTable::Find(std::string_view key) const {
  const auto it = Cells_.find(key);
  if (it == Cells_.end()) return std::nullopt;
  return it->second;
}

}  // namespace racesizes
