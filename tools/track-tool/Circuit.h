#pragma once
// The road of a track source followed cell by cell in driving order.

#include <map>
#include <utility>
#include <vector>

#include "GridDirection.h"
#include "TrackGeometry.h"
#include "TrackSource.h"

namespace tracktool {

/// One road cell of the circuit: where it is and which way a car enters and leaves it.
struct TCircuitCell {
  int Row = 0;
  int Col = 0;
  /// Driving direction on entering the cell.
  Dir In = Dir::Right;
  /// Driving direction on leaving it; differs from In for a corner.
  Dir Out = Dir::Right;
  bool Checkpoint = false;

  bool IsCorner() const { return In != Out; }
};

/// A run of straight cells in driving order.
struct TStraightRun {
  /// Index in TCircuit::Cells of the first cell of the run.
  std::size_t First = 0;
  std::size_t Count = 0;
};

/// The closed road of a track source.
struct TCircuit {
  /// Road cells in driving order; Cells[0] is the start straight with the finish line.
  std::vector<TCircuitCell> Cells;
  /// Anchor letters of the map and their cells (row, column).
  std::map<char, std::pair<int, int>> Anchors;
};

/// Follows the road of the map from its start cell round to it again; throws SourceError
/// naming the cell where the road breaks, crosses itself or leaves cells unused.
TCircuit TraceCircuit(const TTrackSource& src);

/// The straight runs of a circuit, each at least two cells long; throws SourceError for a
/// single-cell straight, which no road piece fits.
std::vector<TStraightRun> StraightRuns(const TCircuit& circuit, const std::string& trackName);

/// Centre of a cell on a grid of the given size.
TVec2 CellCentre(int row, int col, int grid);

/// The centre line of the road as a closed polyline, about one point per step pixels, starting
/// and ending at the centre of the start cell; corners follow quarter circles.
std::vector<TVec2> CentreLine(const TCircuit& circuit, int grid, double step);

}  // namespace tracktool
