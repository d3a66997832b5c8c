#include "HighScoreTable.h"

#include <charconv>

namespace game {

void THighScoreTable::ResetHighScores() {
  for (size_t i = 0; i < RowCount; ++i) {
    const int rank = static_cast<int>(i) + 1;
    Rows[i] = {std::to_string(rank), "Anonymous", std::to_string(1100 - 100 * rank)};
  }
}

int64_t THighScoreTable::PointsValue(const std::string& points) {
  int64_t value = 0;
  const char* end = points.data() + points.size();
  const auto [stop, error] = std::from_chars(points.data(), end, value);
  return error == std::errc() && stop == end ? value : 0;
}

bool THighScoreTable::Enter(const std::string& name, int32_t score) {
  if (name.empty()) return false;
  size_t rank = 0;
  while (rank < RowCount && score <= PointsValue(Rows[rank].Points)) ++rank;
  if (rank == RowCount) return false;
  size_t held = 0;
  while (held < RowCount && Rows[held].Name != name) ++held;
  if (held < rank) return false;
  // The row that leaves the table: the name's old row, or else the last one.
  const size_t leaving = held < RowCount ? held : RowCount - 1;
  for (size_t i = leaving; i > rank; --i) Rows[i] = Rows[i - 1];
  Rows[rank].Name = name;
  Rows[rank].Points = std::to_string(score);
  for (size_t i = 0; i < RowCount; ++i) Rows[i].Rank = std::to_string(i + 1);
  return true;
}

}  // namespace game
