#include "GameProcedures.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>

#include "race/Background.h"
#include "race/CheckLine.h"
#include "race/EnemyCar.h"
#include "race/FinishLine.h"
#include "race/MiniMap.h"
#include "race/Panel.h"
#include "race/Player.h"
#include "race/PlayerMark.h"
#include "race/RaceWorld.h"
#include "race/RadarArrow.h"
#include "race/RoadPaint.h"
#include "race/RoadPart.h"
#include "race/RoadRock.h"
#include "race/SpeedArrow.h"
#include "race/TrackFileError.h"

namespace game {
namespace {

/// Angle sum from which a point counts as inside a quad.
constexpr double kInsideAngleSum = 355;

TTrackFileError TrackError(const std::string& gamePath, const std::string& fileName,
                           const std::string& reason) {
  return TTrackFileError("Track file " + gamePath + " (" + fileName + ") " + reason);
}

std::vector<uint8_t> ReadWholeFile(const std::string& gamePath, const std::string& fileName) {
  std::error_code error;
  if (std::filesystem::is_directory(fileName, error)) {
    throw TrackError(gamePath, fileName, "cannot be opened: it is a folder");
  }
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw TrackError(gamePath, fileName, "cannot be opened");
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) throw TrackError(gamePath, fileName, "cannot be read");
  if (size > MaxTrackFileBytes) {
    throw TrackError(gamePath, fileName,
                     "is too large (" + std::to_string(size) + " bytes) to be a track file");
  }
  in.seekg(0, std::ios::beg);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!bytes.empty() && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
    throw TrackError(gamePath, fileName, "cannot be read");
  }
  return bytes;
}

bool HasGridSlot(const std::vector<TTrackRecord>& records, int32_t slot) {
  return std::any_of(records.begin(), records.end(), [slot](const TTrackRecord& record) {
    return record.Kind == TrackKind::GridSlot && record.ParamB == slot;
  });
}

int32_t CountKind(const std::vector<TTrackRecord>& records, int32_t kind) {
  return static_cast<int32_t>(std::count_if(
      records.begin(), records.end(), [kind](const TTrackRecord& r) { return r.Kind == kind; }));
}

void PlaceRecord(TRaceWorld& world, const TTrackRecord& r) {
  vexel::TVexelSprite& engine = world.Engine;
  const auto x = static_cast<float>(r.PosX);
  const auto y = static_cast<float>(r.PosY);
  switch (r.Kind) {
    case TrackKind::PathPoint:
      world.PathPoints.push_back(
          {static_cast<double>(r.PosX), static_cast<double>(r.PosY), r.ParamB, r.ParamA});
      if (r.ParamA > 0) ++world.TaggedPathCount;
      break;
    case TrackKind::GridSlot:
      if (r.ParamB >= 1 && r.ParamB <= MaxGridSlots) {
        world.StartSlots[static_cast<size_t>(r.ParamB)] = {static_cast<double>(r.PosX),
                                                           static_cast<double>(r.PosY),
                                                           static_cast<double>(r.ParamA), true};
      }
      break;
    case TrackKind::CheckLine:
      engine.Create<TCheckLine>(world, static_cast<double>(r.PosX), static_cast<double>(r.PosY),
                                r.ParamB);
      ++world.CheckLineCount;
      break;
    case TrackKind::FinishLine:
      engine.Create<TFinishLine>(world, static_cast<double>(r.PosX), static_cast<double>(r.PosY),
                                 static_cast<double>(r.ParamA));
      break;
    case TrackKind::PaintStartLine:
      engine.Create<TRoadPaint>(world, x, y, static_cast<double>(r.ParamA), 1);
      break;
    case TrackKind::PaintDecal:
      engine.Create<TRoadPaint>(world, x, y, static_cast<double>(r.ParamA), 0);
      break;
    case TrackKind::PaintFlowersHorizontal:
      engine.Create<TRoadPaint>(world, x, y, 0.0, 5);
      break;
    case TrackKind::PaintFlowersVertical:
      engine.Create<TRoadPaint>(world, x, y, 0.0, 6);
      break;
    case TrackKind::Obstacle:
      engine.Create<TRoadRock>(world, x, y, r.ParamB);
      break;
    default:
      if (r.Kind >= TrackKind::RoadFirst && r.Kind <= TrackKind::RoadLast) {
        engine.Create<TRoadPart>(world, x, y, r.Kind);
      }
      break;
  }
}

void CheckCarType(int32_t type) {
  if (type < 0 || type >= CarCount) {
    throw std::invalid_argument("car type " + std::to_string(type) + " does not exist");
  }
}

int32_t OpponentCarType(TRaceWorld& world, int32_t index) {
  if (static_cast<size_t>(index) < world.OpponentCarTypes.size()) {
    return world.OpponentCarTypes[static_cast<size_t>(index)];
  }
  return RandomBelow(world.Random, world.Catalogue.CarsAvailable);
}

}  // namespace

double CosDeg(double degrees) {
  return std::cos(degrees * DegToRad);
}

double SinDeg(double degrees) {
  return std::sin(degrees * DegToRad);
}

double ArcTanDeg(double value) {
  return std::atan(value) * RadToDeg;
}

double ArcTan2Deg(double y, double x) {
  return std::atan2(y, x) * RadToDeg;
}

int64_t NearestEven(double value) {
  constexpr double kLimit = 9.0e18;
  return static_cast<int64_t>(std::nearbyint(std::clamp(value, -kLimit, kLimit)));
}

int32_t RandomBelow(std::mt19937& random, int32_t range) {
  if (range <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(random()) * static_cast<uint64_t>(range)) >>
                              32);
}

namespace {

/// The bounding box of a quad widened by the band in which a point outside can still count as
/// inside: from a point farther than that outside a convex quad the quad spans less than 177.5
/// degrees, so the angle sum (twice the span) stays below 355.
struct TQuadReach {
  double MinX, MaxX, MinY, MaxY;

  explicit TQuadReach(const TQuad& quad)
      : MinX(quad[0].X), MaxX(quad[0].X), MinY(quad[0].Y), MaxY(quad[0].Y) {
    for (const TPoint2& v : quad) {
      MinX = std::min(MinX, v.X);
      MaxX = std::max(MaxX, v.X);
      MinY = std::min(MinY, v.Y);
      MaxY = std::max(MaxY, v.Y);
    }
    const double margin = ((MaxX - MinX) + (MaxY - MinY)) / 50;
    MinX -= margin;
    MaxX += margin;
    MinY -= margin;
    MaxY += margin;
  }
  bool Holds(const TPoint2& p) const {
    return p.X >= MinX && p.X <= MaxX && p.Y >= MinY && p.Y <= MaxY;
  }
  bool Meets(const TQuadReach& other) const {
    return MinX <= other.MaxX && other.MinX <= MaxX && MinY <= other.MaxY && other.MinY <= MaxY;
  }
};

bool AngleSumInside(const TPoint2& p, const TQuad& quad) {
  std::array<TPoint2, 4> units;
  for (size_t k = 0; k < quad.size(); ++k) {
    const double dx = quad[k].X - p.X;
    const double dy = quad[k].Y - p.Y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0) return true;
    units[k] = {dx / length, dy / length};
  }
  double sum = 0;
  for (size_t k = 0; k < units.size(); ++k) {
    const TPoint2& a = units[k];
    const TPoint2& b = units[(k + 1) % units.size()];
    sum += std::acos(std::clamp(a.X * b.X + a.Y * b.Y, -1.0, 1.0)) * RadToDeg;
  }
  return sum >= kInsideAngleSum;
}

bool AnyCornerInside(const TQuad& corners, const TQuad& quad, const TQuadReach& reach) {
  for (const TPoint2& corner : corners) {
    if (reach.Holds(corner) && AngleSumInside(corner, quad)) return true;
  }
  return false;
}

}  // namespace

bool PointInQuad(const TPoint2& p, const TQuad& quad) {
  return TQuadReach(quad).Holds(p) && AngleSumInside(p, quad);
}

bool QuadsOverlap(const TQuad& a, const TQuad& b) {
  const TQuadReach reachA(a);
  const TQuadReach reachB(b);
  // Corners of one quad lie in its own box: without a meeting of the boxes none can be inside.
  if (!reachA.Meets(reachB)) return false;
  return AnyCornerInside(b, a, reachA) || AnyCornerInside(a, b, reachB);
}

TQuad SquareAround(const TPoint2& centre, double half) {
  return {{{centre.X - half, centre.Y - half},
           {centre.X - half, centre.Y + half},
           {centre.X + half, centre.Y + half},
           {centre.X + half, centre.Y - half}}};
}

TPoint2 UnitVector(const TPoint2& from, const TPoint2& to) {
  const double length = Distance(from, to);
  if (length == 0) return {1, 1};
  return {(to.X - from.X) / length, (to.Y - from.Y) / length};
}

double Distance(const TPoint2& a, const TPoint2& b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  return std::sqrt(dx * dx + dy * dy);
}

void SortPathPoints(std::vector<TPathPoint>& points) {
  const auto first = points.begin();
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    size_t smallest = i;
    for (size_t j = i + 1; j < points.size(); ++j) {
      if (points[j].Order < points[smallest].Order) smallest = j;
    }
    // Moving the smallest point to the front of the rest keeps equal keys in file order, where
    // exchanging it with position i could move an equal key behind its twin.
    if (smallest != i) std::rotate(first + i, first + smallest, first + smallest + 1);
  }
}

std::vector<double> BuildPathDistance(const std::vector<TPathPoint>& points) {
  std::vector<double> distance(std::max<size_t>(points.size(), 1), 0.0);
  for (size_t i = 1; i < points.size(); ++i) {
    distance[i] = distance[i - 1] +
                  Distance({points[i - 1].X, points[i - 1].Y}, {points[i].X, points[i].Y}) / 10;
  }
  return distance;
}

std::vector<TTrackRecord> ReadTrackRecords(const std::string& gamePath,
                                           const std::string& fileName) {
  const std::vector<uint8_t> bytes = ReadWholeFile(gamePath, fileName);
  std::vector<TTrackRecord> records = DecodeTrackRecords(bytes);
  const int32_t pathPoints = CountKind(records, TrackKind::PathPoint);
  if (pathPoints > MaxPathPoints) {
    throw TrackError(gamePath, fileName,
                     "holds " + std::to_string(pathPoints) + " path points; at most " +
                         std::to_string(MaxPathPoints) + " fit");
  }
  return records;
}

void CheckRaceNeeds(const std::vector<TTrackRecord>& records, int32_t opponents,
                    const std::string& gamePath) {
  const auto fail = [&gamePath](const std::string& reason) {
    return TTrackFileError("Track file " + gamePath + " " + reason);
  };
  if (CountKind(records, TrackKind::PathPoint) == 0) throw fail("has no path points");
  if (CountKind(records, TrackKind::FinishLine) == 0) throw fail("has no finish line");
  for (int32_t slot = 1; slot <= opponents + 1; ++slot) {
    if (!HasGridSlot(records, slot)) {
      throw fail("has no grid slot " + std::to_string(slot) + " (a race with " +
                 std::to_string(opponents) + " opponents needs slots 1 to " +
                 std::to_string(opponents + 1) + ")");
    }
  }
}

void LoadTrack(TRaceWorld& world, const std::vector<TTrackRecord>& records) {
  world.Engine.Create<TBackground>(world);
  world.PathPoints.clear();
  world.CheckLineCount = 0;
  world.TaggedPathCount = 0;
  for (const TTrackRecord& record : records) PlaceRecord(world, record);
  world.PathCount = static_cast<int32_t>(world.PathPoints.size());
}

void SetupRace(TRaceWorld& world) {
  const TGameCatalogue& catalogue = world.Catalogue;
  const TTrackInfo& track = catalogue.TrackInfo.at(static_cast<size_t>(catalogue.SelectedTrack));
  const std::vector<TTrackRecord> records =
      ReadTrackRecords(track.DataFile, world.DataFile(track.DataFile));
  CheckRaceNeeds(records, track.Opponents, track.DataFile);
  CheckCarType(catalogue.SelectedCar);
  for (int32_t type : world.OpponentCarTypes) CheckCarType(type);

  vexel::TVexelSprite& engine = world.Engine;
  engine.Create<TPanel>(world, 0.0f, 466.0f, 0);
  engine.Create<TPanel>(world, 0.0f, 472.0f, 1);
  world.OpponentsWanted = track.Opponents;
  world.WallVariant = RandomBelow(world.Random, 5);
  LoadTrack(world, records);
  world.RaceLaps = track.Laps;
  const TStartSlot& own = world.StartSlots[static_cast<size_t>(world.OpponentsWanted + 1)];
  world.Player = engine.Create<TPlayer>(world, PlayerScreenX, PlayerScreenY, catalogue.SelectedCar,
                                        "player", own.Heading);
  engine.Create<TPlayerMark>(world);
  engine.Create<TSpeedArrow>(world, 0.0f, 480.0f, world.Player->MaxSpeed,
                             world.Player->ReverseLimit);
  engine.Create<TRadarArrow>(world, 171.0, 569.0);
  world.EnemyCount = 0;
  for (int32_t i = 0; i < world.OpponentsWanted; ++i) {
    const TStartSlot& slot = world.StartSlots[static_cast<size_t>(i + 1)];
    const int32_t type = OpponentCarType(world, i);
    world.Enemies[static_cast<size_t>(i)] =
        engine.Create<TEnemyCar>(world, slot.X, slot.Y, type, "enemy", i, slot.Heading);
  }
  ShiftWorld(world, PlayerScreenX - own.X, PlayerScreenY - own.Y);
  SortPathPoints(world.PathPoints);
  world.PathDistance = BuildPathDistance(world.PathPoints);
  world.PlayerFinished = false;
  engine.Create<TMiniMap>(world);
}

void ShiftWorld(TRaceWorld& world, double dx, double dy) {
  for (int32_t i = 0; i < world.EnemyCount; ++i) world.Enemy(i).MoveBy(dx, dy);
  for (TPathPoint& point : world.PathPoints) {
    point.X += dx;
    point.Y += dy;
  }
  for (vexel::TSprite* sprite : world.WorldSprites) {
    sprite->SetX(static_cast<float>(sprite->X() + dx));
    sprite->SetY(static_cast<float>(sprite->Y() + dy));
  }
}

void TrackPathPoints(TRaceWorld& world) {
  const TPlayer& player = *world.Player;
  const double dx = player.ShiftX + player.BounceX;
  const double dy = player.ShiftY + player.BounceY;
  for (TPathPoint& point : world.PathPoints) {
    point.X += dx;
    point.Y += dy;
  }
}

}  // namespace game
