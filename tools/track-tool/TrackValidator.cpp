#include "TrackValidator.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "PathLoop.h"
#include "TrackModel.h"

namespace tracktool {

namespace {

constexpr int MinPathPoints = 3;
constexpr int MaxPathPoints = 255;
constexpr int MinTaggedPoints = 3;
constexpr int MinCheckLines = 3;
constexpr int MaxGridSlot = 9;
/// An opponent moves on to its next path point inside a box of this half-size.
constexpr double TargetBox = 160;
/// A run of path off the road this long lets both ground probes leave the road.
constexpr double ProbeSpan = 40;
/// The player collides with obstacles only while their centres are closer than this.
constexpr double CollisionRange = 200;
/// Room kept between the path and any obstacle: half a car and the opponents' feeler reach.
constexpr double ObstacleClearance = 44;
constexpr double EdgeTolerance = 0.5;
constexpr double WalkLimit = 2000;
/// Longest path segment checked; a damaged file's far-flung point is reported instead.
constexpr double MaxSegment = 20000;

std::string Xy(TVec2 p) {
  std::ostringstream out;
  out << "(" << std::lround(p.X) << ", " << std::lround(p.Y) << ")";
  return out.str();
}

/// Runs every rule over one track and collects what is broken.
class TTrackChecker {
 public:
  TTrackChecker(const TTrackFileData& data, const TRaceSizes& sizes, int opponents)
      : Data_(data),
        Sizes_(sizes),
        Opponents_(opponents),
        Model_(BuildTrackModel(data.Records, sizes)) {}

  std::vector<TTrackProblem> Run() {
    CheckFileSize();
    CheckCheckLineNumbers();
    CheckGridNumbers();
    CheckFinishLineCount();
    if (CheckPathCount()) {
      Loop_.emplace(PathPoints());
      CheckTags();
      CheckRoadUnderPath();
      CheckObstacles();
      if (Model_.FinishLines.size() == 1) {
        CheckFinishLine();
        CheckCheckLines();
        CheckGrid();
        CheckTagsAwayFromFinish();
      }
    }
    return std::move(Problems_);
  }

 private:
  void Fail(const std::string& rule, const std::string& message, std::optional<TVec2> at = {}) {
    Problems_.push_back({rule, message, at});
  }

  std::vector<TVec2> PathPoints() const {
    std::vector<TVec2> points;
    for (const TPathPoint& p : Model_.Path) points.push_back(p.P);
    return points;
  }

  void CheckFileSize() {
    if (Data_.ByteSize % RecordSize != 0) {
      Fail("file size", std::to_string(Data_.ByteSize) + " bytes is not a whole number of " +
                            std::to_string(RecordSize) + "-byte records");
    }
  }

  bool CheckPathCount() {
    const int count = static_cast<int>(Model_.Path.size());
    if (count < MinPathPoints) {
      Fail("path points", "a closed path needs at least " + std::to_string(MinPathPoints) +
                              " points, found " + std::to_string(count));
      return false;
    }
    if (count > MaxPathPoints) {
      Fail("path points", "at most " + std::to_string(MaxPathPoints) + " path points, found " +
                              std::to_string(count));
    }
    return true;
  }

  void CheckTags() {
    const int tagged = Model_.TaggedPathCount;
    if (tagged < MinTaggedPoints) {
      Fail("tags", "at least " + std::to_string(MinTaggedPoints) +
                       " tagged path points are needed to prove a lap, found " +
                       std::to_string(tagged));
      return;
    }
    for (int tag = 2; tag < tagged; ++tag) {
      const bool present = std::any_of(Model_.Path.begin(), Model_.Path.end(),
                                       [tag](const TPathPoint& p) { return p.Tag == tag; });
      if (!present) Fail("tags", "no path point carries tag " + std::to_string(tag));
    }
  }

  void CheckTagsAwayFromFinish() {
    const TVec2 finish = Model_.FinishLines.front().Centre;
    const double keepOff = TargetBox + Sizes_.LargestCar().Height;
    const std::size_t n = Model_.Path.size();
    for (std::size_t i = 0; i < n; ++i) {
      const int tag = Model_.Path[i].Tag;
      if (tag < 2 || tag >= Model_.TaggedPathCount) continue;
      for (const std::size_t k : {i, (i + n - 1) % n}) {
        const TVec2 d = Model_.Path[k].P - finish;
        if (std::max(std::abs(d.X), std::abs(d.Y)) < keepOff) {
          Fail("tags",
               "the point carrying tag " + std::to_string(tag) +
                   (k == i ? "" : ", or the point before it,") + " lies within " +
                   std::to_string(std::lround(keepOff)) + " px of the finish line",
               Model_.Path[k].P);
        }
      }
    }
  }

  void CheckRoadUnderPath() {
    for (std::size_t i = 0; i < Loop_->SegmentCount(); ++i) {
      const TVec2 a = Loop_->SegmentStart(i);
      const TVec2 b = Loop_->SegmentEnd(i);
      if (Distance(a, b) > MaxSegment) {
        Fail("path points",
             "point " + std::to_string(i + 1) + " lies more than " +
                 std::to_string(std::lround(MaxSegment)) + " px from the next",
             a);
        continue;
      }
      CheckRoadAlong(i, a, b);
    }
  }

  /// Samples a path segment pixel by pixel for a stretch off the road as long as the probes' span.
  void CheckRoadAlong(std::size_t segment, TVec2 a, TVec2 b) {
    const int steps = std::max(1, static_cast<int>(std::ceil(Distance(a, b))));
    int offRoad = 0;
    for (int s = 0; s <= steps; ++s) {
      const TVec2 p = a + (b - a) * (static_cast<double>(s) / steps);
      offRoad = Model_.OnRoad(p) ? 0 : offRoad + 1;
      if (offRoad * Distance(a, b) / steps >= ProbeSpan) {
        Fail("road",
             "the path from point " + std::to_string(segment + 1) + " runs " +
                 std::to_string(std::lround(ProbeSpan)) + " px or more off the road",
             p);
        return;
      }
    }
  }

  void CheckCheckLineNumbers() {
    const int n = static_cast<int>(Model_.CheckLines.size());
    if (n < MinCheckLines) {
      Fail("checkpoints", "at least " + std::to_string(MinCheckLines) +
                              " checkpoint lines are needed, found " + std::to_string(n));
    }
    std::map<int, int> seen;
    for (const TCheckLineShape& c : Model_.CheckLines) {
      if (c.Number < 0 || c.Number >= n) {
        Fail("checkpoints",
             "number " + std::to_string(c.Number) + " is outside 0.." + std::to_string(n - 1),
             c.Area.Centre());
      } else if (++seen[c.Number] == 2) {
        Fail("checkpoints", "number " + std::to_string(c.Number) + " is used twice",
             c.Area.Centre());
      }
    }
    for (int k = 0; k < n; ++k) {
      if (!seen.contains(k)) Fail("checkpoints", "number " + std::to_string(k) + " is missing");
    }
  }

  /// The ends of the road's cross-section through p, perpendicular to the driving direction.
  std::array<TVec2, 2> CrossSection(TVec2 p, TVec2 direction) const {
    const TVec2 normal{-direction.Y, direction.X};
    std::array<TVec2, 2> ends{p, p};
    for (std::size_t side = 0; side < 2; ++side) {
      const TVec2 step = normal * (side == 0 ? 1.0 : -1.0);
      for (double t = 1; t < WalkLimit && Model_.OnRoad(p + step * t); t += 1) {
        ends[side] = p + step * t;
      }
    }
    return ends;
  }

  void CheckCheckLines() {
    std::vector<std::pair<int, double>> order;
    for (const TCheckLineShape& c : Model_.CheckLines) {
      const TPathPosition at = Loop_->Locate(c.Area.Centre());
      if (!c.Area.Contains(at.Nearest)) {
        Fail("checkpoints", "the path does not pass through checkpoint " + std::to_string(c.Number),
             c.Area.Centre());
        continue;
      }
      for (const TVec2& end : CrossSection(at.Nearest, at.Direction)) {
        if (!c.Area.Contains(end, EdgeTolerance)) {
          Fail("checkpoints",
               "checkpoint " + std::to_string(c.Number) +
                   " does not span the road; a car can pass it",
               end);
          break;
        }
      }
      order.emplace_back(c.Number, Loop_->Ahead(FinishAlong_, at.Along));
    }
    std::sort(order.begin(), order.end());
    for (std::size_t i = 1; i < order.size(); ++i) {
      if (order[i].second <= order[i - 1].second) {
        Fail("checkpoints", "checkpoint " + std::to_string(order[i].first) +
                                " comes before checkpoint " + std::to_string(order[i - 1].first) +
                                " in driving order from the finish line");
      }
    }
  }

  void CheckFinishLineCount() {
    if (Model_.FinishLines.size() != 1) {
      Fail("finish line", "a track needs exactly one finish line, found " +
                              std::to_string(Model_.FinishLines.size()));
    }
  }

  void CheckFinishLine() {
    const TFinishLineShape& f = Model_.FinishLines.front();
    const TPathPosition at = Loop_->Locate(f.Centre);
    FinishAlong_ = at.Along;
    if (!PointInQuad(at.Nearest, f.Shape, EdgeTolerance)) {
      Fail("finish line", "the path does not cross the finish line", f.Centre);
      return;
    }
    for (const TVec2& end : CrossSection(at.Nearest, at.Direction)) {
      if (!PointInQuad(end, f.Shape, EdgeTolerance)) {
        Fail("finish line", "the finish line does not span the road", end);
        return;
      }
    }
  }

  void CheckGridNumbers() {
    std::map<int, int> seen;
    for (const TGridSlotShape& s : Model_.Slots) {
      if (s.Number < 1 || s.Number > MaxGridSlot) {
        Fail("grid",
             "slot number " + std::to_string(s.Number) + " is outside 1.." +
                 std::to_string(MaxGridSlot),
             s.Centre);
      } else if (++seen[s.Number] == 2) {
        Fail("grid", "slot " + std::to_string(s.Number) + " is given twice", s.Centre);
      }
    }
    for (int k = 1; k <= Opponents_ + 1; ++k) {
      if (!seen.contains(k)) {
        Fail("grid", "slot " + std::to_string(k) + " is missing; a race with " +
                         std::to_string(Opponents_) + " opponents needs slots 1.." +
                         std::to_string(Opponents_ + 1));
      }
    }
  }

  std::vector<const TGridSlotShape*> NeededSlots() const {
    std::vector<const TGridSlotShape*> slots;
    for (const TGridSlotShape& s : Model_.Slots) {
      if (s.Number >= 1 && s.Number <= Opponents_ + 1) slots.push_back(&s);
    }
    return slots;
  }

  void CheckGrid() {
    const std::vector<const TGridSlotShape*> slots = NeededSlots();
    std::map<int, double> behind;
    for (const TGridSlotShape* s : slots) {
      if (CheckSlotPlace(*s))
        behind[s->Number] = Loop_->Ahead(Loop_->Locate(s->Centre).Along, FinishAlong_);
    }
    const int player = Opponents_ + 1;
    if (behind.contains(player)) {
      for (const auto& [number, distance] : behind) {
        if (number != player && distance >= behind[player]) {
          Fail("grid", "the player's slot " + std::to_string(player) + " is not behind slot " +
                           std::to_string(number));
        }
      }
    }
    for (std::size_t i = 0; i < slots.size(); ++i) {
      for (std::size_t j = i + 1; j < slots.size(); ++j) {
        if (QuadsOverlap(slots[i]->Car, slots[j]->Car)) {
          Fail("grid",
               "the cars on slots " + std::to_string(slots[i]->Number) + " and " +
                   std::to_string(slots[j]->Number) + " overlap",
               slots[i]->Centre);
        }
      }
    }
  }

  /// Checks that a slot stands on the road behind the finish line facing it.
  bool CheckSlotPlace(const TGridSlotShape& s) {
    const std::string name = "slot " + std::to_string(s.Number);
    const TPathPosition at = Loop_->Locate(s.Centre);
    if (!Model_.OnRoad(s.Centre)) {
      Fail("grid", name + " is not on the road", s.Centre);
      return false;
    }
    const double behind = Loop_->Ahead(at.Along, FinishAlong_);
    if (QuadsOverlap(s.Car, Model_.FinishLines.front().Shape) || behind > Loop_->Length() / 2) {
      Fail("grid", name + " is not behind the finish line", s.Centre);
      return false;
    }
    if (Dot(FromDegrees(s.Heading), at.Direction) < std::cos(std::acos(-1.0) / 4)) {
      Fail("grid", name + " does not face along the road towards the finish line", s.Centre);
      return false;
    }
    return true;
  }

  void CheckObstacles() {
    const TCellSize car = Sizes_.LargestCar();
    const double carReach = std::hypot(car.Width / 2.0, car.Height / 2.0);
    for (const TObstacleShape& o : Model_.Obstacles) {
      if (o.Reach + carReach >= CollisionRange) {
        Fail("obstacles",
             "obstacle too large: the player only collides with obstacles whose "
             "centre is within 200 px",
             o.Centre);
      }
      const double clearance = PathClearance(o);
      if (clearance < ObstacleClearance) {
        Fail("obstacles",
             "obstacle " + std::to_string(std::max(0L, std::lround(clearance))) +
                 " px from the path blocks the racing line (keep " +
                 std::to_string(std::lround(ObstacleClearance)) + " px clear)",
             o.Centre);
      }
      for (const TGridSlotShape* s : NeededSlots()) {
        if (ObstacleTouches(o, s->Car)) {
          Fail("obstacles", "obstacle on grid slot " + std::to_string(s->Number), o.Centre);
        }
      }
    }
  }

  double PathClearance(const TObstacleShape& o) const {
    double best = WalkLimit;
    for (std::size_t i = 0; i < Loop_->SegmentCount(); ++i) {
      const TVec2 a = Loop_->SegmentStart(i);
      const TVec2 b = Loop_->SegmentEnd(i);
      best = std::min(best, o.RandomRotation ? PointSegmentDistance(o.Centre, a, b) - o.Reach
                                             : QuadSegmentDistance(o.Shape, a, b));
    }
    return best;
  }

  static bool ObstacleTouches(const TObstacleShape& o, const Quad& car) {
    if (!o.RandomRotation) return QuadsOverlap(o.Shape, car);
    for (std::size_t i = 0; i < 4; ++i) {
      if (PointSegmentDistance(o.Centre, car[i], car[(i + 1) % 4]) < o.Reach) return true;
    }
    return PointInQuad(o.Centre, car);
  }

  const TTrackFileData& Data_;
  const TRaceSizes& Sizes_;
  const int Opponents_;
  const TTrackModel Model_;
  std::optional<TPathLoop> Loop_;
  double FinishAlong_ = 0;
  std::vector<TTrackProblem> Problems_;
};

}  // namespace

std::vector<TTrackProblem> ValidateTrack(const TTrackFileData& data, const TRaceSizes& sizes,
                                         int opponents) {
  return TTrackChecker(data, sizes, opponents).Run();
}

std::string FormatProblem(const std::string& track, const TTrackProblem& problem) {
  std::string line = track + ": " + problem.Rule + ": " + problem.Message;
  if (problem.Place) line += " at " + Xy(*problem.Place);
  return line;
}

}  // namespace tracktool
