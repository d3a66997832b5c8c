#include "Circuit.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <set>
#include <string>

namespace tracktool {

namespace {

bool IsGrass(char ch) {
  return ch == ' ' || ch == '.';
}
bool IsAnchor(char ch) {
  return ch >= 'a' && ch <= 'z' && ch != 'v';
}
bool IsStartMark(char ch) {
  return ch == '>' || ch == '<' || ch == '^' || ch == 'v';
}

Dir StartDir(char ch) {
  switch (ch) {
    case '>':
      return Dir::Right;
    case '<':
      return Dir::Left;
    case '^':
      return Dir::Up;
    default:
      return Dir::Down;
  }
}

char At(const std::vector<std::string>& map, int row, int col) {
  if (row < 0 || row >= static_cast<int>(map.size())) return ' ';
  const std::string& line = map[static_cast<std::size_t>(row)];
  if (col < 0 || col >= static_cast<int>(line.size())) return ' ';
  return line[static_cast<std::size_t>(col)];
}

std::string Place(const std::string& name, int row, int col) {
  return name + " map row " + std::to_string(row + 1) + " column " + std::to_string(col + 1);
}

/// Direction after a corner character: '/' and '\' turn the road like mirrors.
Dir Turn(char corner, Dir moving) {
  if (corner == '/') {
    constexpr Dir kSlash[] = {Dir::Up, Dir::Left, Dir::Down, Dir::Right};
    return kSlash[static_cast<int>(moving)];
  }
  constexpr Dir kBackslash[] = {Dir::Down, Dir::Right, Dir::Up, Dir::Left};
  return kBackslash[static_cast<int>(moving)];
}

/// Where a car entering a cell moving `in` leaves it; nullopt when the cell does not carry
/// the road that way.
std::optional<Dir> Exit(char ch, Dir in) {
  if (ch == '/' || ch == '\\') return Turn(ch, in);
  if (ch == '-') return IsHorizontal(in) ? std::optional(in) : std::nullopt;
  if (ch == '|') return IsHorizontal(in) ? std::nullopt : std::optional(in);
  if (ch == 'C') return in;
  if (IsStartMark(ch)) return StartDir(ch) == in ? std::optional(in) : std::nullopt;
  return std::nullopt;
}

struct TStartCell {
  int Row = 0;
  int Col = 0;
  Dir Moving = Dir::Right;
};

TStartCell FindStart(const TTrackSource& src, std::map<char, std::pair<int, int>>& anchors,
                     int& roadCells) {
  std::optional<TStartCell> start;
  for (int row = 0; row < static_cast<int>(src.Map.size()); ++row) {
    const std::string& line = src.Map[static_cast<std::size_t>(row)];
    for (int col = 0; col < static_cast<int>(line.size()); ++col) {
      const char ch = line[static_cast<std::size_t>(col)];
      if (IsGrass(ch)) continue;
      if (IsAnchor(ch)) {
        if (!anchors.emplace(ch, std::pair{row, col}).second) {
          throw TSourceError(Place(src.Name, row, col) + ": anchor '" + std::string(1, ch) +
                             "' is used twice");
        }
        continue;
      }
      if (!Exit(ch, Dir::Right) && !Exit(ch, Dir::Down) && !Exit(ch, Dir::Up)) {
        throw TSourceError(Place(src.Name, row, col) + ": unknown map character '" +
                           std::string(1, ch) + "'");
      }
      ++roadCells;
      if (!IsStartMark(ch)) continue;
      if (start) throw TSourceError(Place(src.Name, row, col) + ": a second start cell");
      start = TStartCell{row, col, StartDir(ch)};
    }
  }
  if (!start) throw TSourceError(src.Name + ": the map has no start cell ('>', '<', '^' or 'v')");
  return *start;
}

}  // namespace

TCircuit TraceCircuit(const TTrackSource& src) {
  TCircuit circuit;
  int roadCells = 0;
  const TStartCell start = FindStart(src, circuit.Anchors, roadCells);
  std::set<std::pair<int, int>> visited;
  int row = start.Row;
  int col = start.Col;
  Dir moving = start.Moving;
  do {
    const char ch = At(src.Map, row, col);
    const auto out = Exit(ch, moving);
    if (!out) {
      throw TSourceError(Place(src.Name, row, col) + ": the road arriving " +
                         std::string(DirName(moving)) + " does not continue here");
    }
    if (!visited.insert({row, col}).second) {
      throw TSourceError(Place(src.Name, row, col) + ": the road crosses itself");
    }
    circuit.Cells.push_back({row, col, moving, *out, ch == 'C'});
    moving = *out;
    row += DirDy(moving);
    col += DirDx(moving);
  } while (row != start.Row || col != start.Col);
  if (moving != start.Moving) {
    throw TSourceError(Place(src.Name, row, col) + ": the road enters the start cell sideways");
  }
  if (static_cast<int>(circuit.Cells.size()) != roadCells) {
    for (int r = 0; r < static_cast<int>(src.Map.size()); ++r) {
      for (int c = 0; c < static_cast<int>(src.Map[static_cast<std::size_t>(r)].size()); ++c) {
        const char ch = At(src.Map, r, c);
        if (!IsGrass(ch) && !IsAnchor(ch) && !visited.contains({r, c})) {
          throw TSourceError(Place(src.Name, r, c) + ": road cell not on the circuit");
        }
      }
    }
  }
  return circuit;
}

std::vector<TStraightRun> StraightRuns(const TCircuit& circuit, const std::string& trackName) {
  const std::size_t n = circuit.Cells.size();
  std::size_t firstCorner = 0;
  while (firstCorner < n && !circuit.Cells[firstCorner].IsCorner()) ++firstCorner;
  if (firstCorner == n) throw TSourceError(trackName + ": the circuit has no corners");
  std::vector<TStraightRun> runs;
  for (std::size_t k = 1; k <= n; ++k) {
    const std::size_t i = (firstCorner + k) % n;
    if (circuit.Cells[i].IsCorner()) continue;
    const std::size_t prev = (i + n - 1) % n;
    if (circuit.Cells[prev].IsCorner()) {
      runs.push_back({i, 0});
    }
    ++runs.back().Count;
  }
  for (const TStraightRun& run : runs) {
    if (run.Count < 2) {
      const TCircuitCell& cell = circuit.Cells[run.First];
      throw TSourceError(Place(trackName, cell.Row, cell.Col) +
                         ": a straight must be at least two cells long");
    }
  }
  return runs;
}

TVec2 CellCentre(int row, int col, int grid) {
  return {(col + 0.5) * grid, (row + 0.5) * grid};
}

std::vector<TVec2> CentreLine(const TCircuit& circuit, int grid, double step) {
  const double half = grid / 2.0;
  std::vector<TVec2> line;
  const auto appendCell = [&](const TCircuitCell& cell, double from, double to) {
    const TVec2 c = CellCentre(cell.Row, cell.Col, grid);
    const TVec2 in{static_cast<double>(DirDx(cell.In)), static_cast<double>(DirDy(cell.In))};
    const TVec2 out{static_cast<double>(DirDx(cell.Out)), static_cast<double>(DirDy(cell.Out))};
    const TVec2 entry = c - in * half;
    const TVec2 exit = c + out * half;
    const TVec2 pivot = c + (out - in) * half;
    const double length = cell.IsCorner() ? std::numbers::pi * half / 2 : grid;
    const int count = std::max(1, static_cast<int>(std::lround(length * (to - from) / step)));
    for (int k = 0; k < count; ++k) {
      const double t = from + (to - from) * k / count;
      if (!cell.IsCorner()) {
        line.push_back(entry + (exit - entry) * t);
        continue;
      }
      const double angle = t * std::numbers::pi / 2;
      const TVec2 fromPivot = (entry - pivot) * std::cos(angle) + (exit - pivot) * std::sin(angle);
      line.push_back(pivot + fromPivot);
    }
  };
  appendCell(circuit.Cells[0], 0.5, 1.0);
  for (std::size_t i = 1; i < circuit.Cells.size(); ++i) appendCell(circuit.Cells[i], 0.0, 1.0);
  appendCell(circuit.Cells[0], 0.0, 0.5);
  line.push_back(CellCentre(circuit.Cells[0].Row, circuit.Cells[0].Col, grid));
  return line;
}

}  // namespace tracktool
