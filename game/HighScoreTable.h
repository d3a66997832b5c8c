#pragma once
// The local high-score table: ten ranked rows of names and points, kept as text.

#include <array>
#include <cstdint>
#include <string>

namespace game {

/// One row of the high-score table; every field is text as shown and stored.
struct THighScoreRow {
  std::string Rank;
  std::string Name;
  std::string Points;
  /// Rows are equal when all three texts are.
  bool operator==(const THighScoreRow&) const = default;
};

/// The ten rows of the high-score table, rank 1 first.
class THighScoreTable {
 public:
  /// Number of rows.
  static constexpr size_t RowCount = 10;

  /// A table holding the default rows.
  THighScoreTable() { ResetHighScores(); }

  /// Sets every row to its default: ranks "1".."10", "Anonymous", points "1000" down to "100".
  void ResetHighScores();

  /// Puts a player's result into the table when it beats a row: the name and score go to the
  /// first row whose points are lower, the rows below move down, and a lower row already holding
  /// the name is taken out instead of the last row. An empty name, a score that beats no row,
  /// or a name that already holds an equal or better row leaves the table as it is. Returns
  /// whether the table changed.
  bool Enter(const std::string& name, int32_t score);

  /// The points of a row as a number; text that is not a whole decimal number counts as 0.
  static int64_t PointsValue(const std::string& points);

  std::array<THighScoreRow, RowCount> Rows;
};

}  // namespace game
