#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "CellLayout.h"

namespace artgen {

/// The fixed cell layouts of the race pictures that track design depends on, read from
/// lines "key columns rows tile_width tile_height" ("#" starts a comment line).
class RaceSizes {
 public:
  /// Reads the table; throws std::runtime_error with file:line on a malformed line.
  static RaceSizes load(const std::filesystem::path& path);
  /// Parses the table from text; origin names it in messages.
  static RaceSizes parse(const std::string& text, const std::string& origin);

  /// The layout fixed for key, if the table has one.
  std::optional<CellLayout> find(const std::string& key) const;

 private:
  std::map<std::string, CellLayout> layouts_;
};

}  // namespace artgen
