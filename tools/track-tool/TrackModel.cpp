#include "TrackModel.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tracktool {

namespace {

constexpr int PatchSize = 10;
/// A car's collision shape is its picture inset by this many pixels on every side.
constexpr int CarInset = 3;

TRect CentredRect(TVec2 c, TCellSize s) {
  return {c.X - s.Width / 2.0, c.Y - s.Height / 2.0, c.X + s.Width / 2.0, c.Y + s.Height / 2.0};
}

TRect TopLeftRect(TVec2 p, TCellSize s) {
  return {p.X, p.Y, p.X + s.Width, p.Y + s.Height};
}

/// The road area of a road piece or paint record; false for other kinds.
bool RoadAreaOf(const TrackRecord& r, const TRaceSizes& sizes, TRect& area) {
  const TVec2 p{static_cast<double>(r.PosX), static_cast<double>(r.PosY)};
  if (r.Kind == Kind::RoadHorizontal) {
    area = TopLeftRect(p, sizes.Cell("roadstr"));
  } else if (r.Kind == Kind::RoadVertical) {
    area = TopLeftRect(p, sizes.Cell("roadstrvert"));
  } else if (r.Kind >= Kind::RoadPatchFirst && r.Kind <= Kind::RoadPatchLast) {
    area = TopLeftRect(p, {PatchSize, PatchSize});
  } else if (r.Kind >= Kind::RoadCornerFirst && r.Kind <= Kind::RoadCornerLast) {
    area = TopLeftRect(p, sizes.Cell("roadroters"));
  } else if (r.Kind == Kind::PaintFlowersHorizontal) {
    area = CentredRect(p, sizes.Cell("romhor"));
  } else if (r.Kind == Kind::PaintFlowersVertical) {
    area = CentredRect(p, sizes.Cell("romver"));
  } else if (r.Kind == Kind::PaintStartLine) {
    area = CentredRect(p, sizes.Cell("startline"));
  } else if (r.Kind == Kind::PaintDecal) {
    area = CentredRect(p, sizes.Cell("inplace"));
  } else {
    return false;
  }
  return true;
}

/// Picture of an obstacle kind and whether the game turns it at random; empty key for the
/// invisible 10 by 10 obstacle.
std::pair<std::string, bool> ObstaclePicture(int32_t kind) {
  if (kind >= 1 && kind <= 7) return {"bigblocks", true};
  switch (kind) {
    case 8:
      return {"rock1", true};
    case 9:
      return {"ark", true};
    case 10:
      return {"horwall", false};
    case 11:
      return {"vertwall", false};
    case 12:
      return {"horwalls", false};
    case 13:
      return {"vertwalls", false};
    default:
      return {"", false};
  }
}

TObstacleShape ObstacleOf(const TrackRecord& r, const TRaceSizes& sizes) {
  const auto [picture, rotates] = ObstaclePicture(r.ParamB);
  const TCellSize size = picture.empty() ? TCellSize{PatchSize, PatchSize} : sizes.Cell(picture);
  TVec2 c{static_cast<double>(r.PosX), static_cast<double>(r.PosY)};
  if (r.ParamB == 12) c.X += size.Width / 2.0;
  if (r.ParamB == 13) c.Y += size.Height / 2.0;
  TObstacleShape o;
  o.ObstacleKind = r.ParamB;
  o.Centre = c;
  o.Shape = RectQuad(CentredRect(c, size));
  o.RandomRotation = rotates;
  o.Reach = std::hypot(size.Width / 2.0, size.Height / 2.0);
  return o;
}

void AddRecord(TTrackModel& m, const TrackRecord& r, const TRaceSizes& sizes) {
  const TVec2 p{static_cast<double>(r.PosX), static_cast<double>(r.PosY)};
  TRect area;
  if (RoadAreaOf(r, sizes, area)) {
    const bool turned = r.Kind == Kind::PaintStartLine || r.Kind == Kind::PaintDecal;
    m.Road.push_back({area, r.Kind, turned ? static_cast<double>(r.ParamA) : 0.0});
  }
  switch (r.Kind) {
    case Kind::PathPoint:
      m.Path.push_back({p, r.ParamB, r.ParamA});
      if (r.ParamA > 0) ++m.TaggedPathCount;
      break;
    case Kind::CheckLine:
      m.CheckLines.push_back({r.ParamB, CentredRect(p, sizes.Cell("checkline"))});
      break;
    case Kind::FinishLine: {
      const TCellSize f = sizes.Cell("fline");
      const TVec2 c = p + TVec2{f.Width / 2.0, 0};
      m.FinishLines.push_back(
          {c, static_cast<double>(r.ParamA), RotatedRect(c, f.Width, f.Height, r.ParamA)});
      break;
    }
    case Kind::GridSlot: {
      const TCellSize car = sizes.LargestCar();
      m.Slots.push_back(
          {r.ParamB, p, static_cast<double>(r.ParamA),
           RotatedRect(p, car.Height - 2 * CarInset, car.Width - 2 * CarInset, r.ParamA)});
      break;
    }
    case Kind::Obstacle:
      m.Obstacles.push_back(ObstacleOf(r, sizes));
      break;
    default:
      break;
  }
}

/// Sorts the path as the race setup does: a selection sort that swaps the first smallest key
/// of the rest into place.
void SortPath(std::vector<TPathPoint>& path) {
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    std::size_t best = i;
    for (std::size_t j = i + 1; j < path.size(); ++j) {
      if (path[j].Order < path[best].Order) best = j;
    }
    if (best != i) std::swap(path[i], path[best]);
  }
}

}  // namespace

bool TTrackModel::OnRoad(TVec2 p) const {
  return std::any_of(Road.begin(), Road.end(),
                     [p](const TRoadArea& a) { return a.Area.Contains(p); });
}

double TTrackModel::LapLength() const {
  double length = 0;
  for (std::size_t i = 1; i < Path.size(); ++i) length += Distance(Path[i - 1].P, Path[i].P);
  return length;
}

TTrackModel BuildTrackModel(const std::vector<TrackRecord>& records, const TRaceSizes& sizes) {
  TTrackModel m;
  for (const TrackRecord& r : records) AddRecord(m, r, sizes);
  SortPath(m.Path);
  return m;
}

}  // namespace tracktool
