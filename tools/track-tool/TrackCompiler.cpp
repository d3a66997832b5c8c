#include "TrackCompiler.h"

#include <cmath>
#include <string>

#include "Circuit.h"
#include "RacingLine.h"

namespace tracktool {

namespace {

constexpr double CentreLineStep = 2.0;
/// Half-width, in pixels of arc length, of the averaging that cuts the bends.
constexpr double SmoothingWindow = 110;
/// Wanted distance between consecutive path points.
constexpr double PathSpacing = 240;
constexpr int MaxPathPoints = 255;
constexpr int MinCheckLines = 3;
/// Pixels between a grid car's nose and the finish line's edge.
constexpr int GridNoseGap = 12;
/// Pixels between two cars one behind the other in the same grid column.
constexpr int GridTailGap = 16;
constexpr double LengthTolerance = 0.10;

int32_t Round(double v) {
  return static_cast<int32_t>(std::lround(v));
}

TVec2 Unit(Dir d) {
  return {static_cast<double>(DirDx(d)), static_cast<double>(DirDy(d))};
}

std::string CellPlace(const TTrackSource& src, const TCircuitCell& cell) {
  return src.Name + " map row " + std::to_string(cell.Row + 1) + " column " +
         std::to_string(cell.Col + 1);
}

/// Collects the records of one track.
class TRecordBuilder {
 public:
  TRecordBuilder(const TTrackSource& src, const TRaceSizes& sizes)
      : Src_(src), Sizes_(sizes), Circuit_(TraceCircuit(src)), Grid_(sizes.GridSize()) {}

  std::vector<TrackRecord> Build() {
    AddFinishLine();
    AddCheckLines();
    AddGrid();
    AddPlacedItems();
    AddRoad();
    AddPath();
    return std::move(Out_);
  }

 private:
  void Add(TVec2 p, int32_t kind, int32_t a, int32_t b) {
    Out_.push_back({Round(p.Y), Round(p.X), kind, a, b});
  }

  TVec2 StartCentre() const {
    return CellCentre(Circuit_.Cells[0].Row, Circuit_.Cells[0].Col, Grid_);
  }

  void AddFinishLine() {
    const Dir d = Circuit_.Cells[0].Out;
    const int angle = IsHorizontal(d) ? 0 : 90;
    const TCellSize fline = Sizes_.Cell("fline");
    Add(StartCentre() - TVec2{fline.Width / 2.0, 0}, Kind::FinishLine, angle, 0);
    Add(StartCentre(), Kind::PaintStartLine, angle, 0);
  }

  void AddCheckLines() {
    int number = 0;
    for (const TCircuitCell& cell : Circuit_.Cells) {
      if (cell.Checkpoint) Add(CellCentre(cell.Row, cell.Col, Grid_), Kind::CheckLine, 0, number++);
    }
    if (number < MinCheckLines) {
      throw TSourceError(Src_.Name + ": a track needs at least " + std::to_string(MinCheckLines) +
                         " checkpoints ('C' on a straight)");
    }
  }

  /// Straight cells of the start run behind the start cell.
  int StraightCellsBehindStart() const {
    int count = 0;
    for (std::size_t i = Circuit_.Cells.size() - 1; i > 0 && !Circuit_.Cells[i].IsCorner(); --i) {
      ++count;
    }
    return count;
  }

  void AddGrid() {
    const TCellSize car = Sizes_.LargestCar();
    const TCellSize fline = Sizes_.Cell("fline");
    const double front = fline.Width / 2.0 + GridNoseGap + car.Height / 2.0;
    const double row = (car.Height + GridTailGap) / 2.0;
    const double lateral = Grid_ / 4.0;
    const int slots = Src_.Opponents + 1;
    const double needed = front + row * (slots - 1) + car.Height / 2.0;
    if (needed > Grid_ / 2.0 + Grid_ * StraightCellsBehindStart()) {
      throw TSourceError(CellPlace(Src_, Circuit_.Cells[0]) + ": the straight before the start " +
                         "is too short for a grid of " + std::to_string(slots) + " cars");
    }
    const Dir d = Circuit_.Cells[0].Out;
    const TVec2 forward = Unit(d);
    const TVec2 left{forward.Y, -forward.X};
    for (int slot = 1; slot <= slots; ++slot) {
      const double side = slot % 2 == 1 ? lateral : -lateral;
      const TVec2 p = StartCentre() - forward * (front + row * (slot - 1)) + left * side;
      Add(p, Kind::GridSlot, DirDegrees(d), slot);
    }
  }

  TVec2 AnchorCentre(const TPlacedItem& item) const {
    const auto it = Circuit_.Anchors.find(item.Anchor);
    if (it == Circuit_.Anchors.end()) {
      throw TSourceError(Src_.Name + " line " + std::to_string(item.Line) + ": anchor '" +
                         std::string(1, item.Anchor) + "' is not on the map");
    }
    return CellCentre(it->second.first, it->second.second, Grid_) +
           TVec2{static_cast<double>(item.Dx), static_cast<double>(item.Dy)};
  }

  void AddPlacedItems() {
    constexpr int StripedHorizontal = 12;
    constexpr int StripedVertical = 13;
    for (const TPlacedItem& item : Src_.Obstacles) {
      TVec2 p = AnchorCentre(item);
      if (item.Code == StripedHorizontal) p.X -= Sizes_.Cell("horwalls").Width / 2.0;
      if (item.Code == StripedVertical) p.Y -= Sizes_.Cell("vertwalls").Height / 2.0;
      Add(p, Kind::Obstacle, 0, item.Code);
    }
    for (const TPlacedItem& item : Src_.Decorations) {
      Add(AnchorCentre(item), item.Code, item.Code == Kind::PaintDecal ? item.Angle : 0, 0);
    }
  }

  void AddRoad() {
    for (const TStraightRun& run : StraightRuns(Circuit_, Src_.Name)) {
      const std::size_t n = Circuit_.Cells.size();
      const TCircuitCell& first = Circuit_.Cells[run.First];
      const TCircuitCell& last = Circuit_.Cells[(run.First + run.Count - 1) % n];
      const int row = std::min(first.Row, last.Row);
      const int col = std::min(first.Col, last.Col);
      const bool horizontal = IsHorizontal(first.In);
      const int count = static_cast<int>(run.Count);
      for (int k = 0; k < count; k += 2) {
        const int offset = std::min(k, count - 2);
        const int r = horizontal ? row : row + offset;
        const int c = horizontal ? col + offset : col;
        Out_.push_back(
            {r * Grid_, c * Grid_, horizontal ? Kind::RoadHorizontal : Kind::RoadVertical, 0, 0});
      }
    }
    for (const TCircuitCell& cell : Circuit_.Cells) {
      if (!cell.IsCorner()) continue;
      const int32_t kind = Sizes_.CornerKind(Opposite(cell.In), cell.Out);
      Out_.push_back({cell.Row * Grid_, cell.Col * Grid_, kind, 0, 0});
    }
  }

  void AddPath() {
    const std::vector<TVec2> line =
        SmoothLoop(CentreLine(Circuit_, Grid_, CentreLineStep), SmoothingWindow);
    const double length = PolylineLength(line);
    const int count = static_cast<int>(std::ceil(length / PathSpacing));
    if (count > MaxPathPoints) {
      throw TSourceError(Src_.Name + ": the lap is too long for " + std::to_string(MaxPathPoints) +
                         " path points");
    }
    const std::vector<TVec2> points = ResampleLoop(line, count);
    CheckLapLength(PolylineLength({points.begin(), points.end()}));
    for (int i = 0; i < count; ++i) {
      int tag = 0;
      for (int t = 1; t <= Src_.Tags; ++t) {
        if (static_cast<int>(std::lround(static_cast<double>(t - 1) * count / Src_.Tags)) == i) {
          tag = t;
        }
      }
      Add(points[static_cast<std::size_t>(i)], Kind::PathPoint, tag, i + 1);
    }
  }

  void CheckLapLength(double lapPixels) const {
    const double wanted = std::stod(Src_.LengthText) * 10.0;
    if (std::abs(lapPixels - wanted) > wanted * LengthTolerance) {
      throw TSourceError(Src_.Name + ": lap length " + std::to_string(std::lround(lapPixels)) +
                         " px is more than 10% away from the wanted " +
                         std::to_string(std::lround(wanted)) + " px");
    }
  }

  const TTrackSource& Src_;
  const TRaceSizes& Sizes_;
  const TCircuit Circuit_;
  const int Grid_;
  std::vector<TrackRecord> Out_;
};

}  // namespace

std::vector<TrackRecord> CompileTrack(const TTrackSource& src, const TRaceSizes& sizes) {
  return TRecordBuilder(src, sizes).Build();
}

}  // namespace tracktool
