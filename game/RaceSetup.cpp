#include "RaceSetup.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>

#include "AnglesAndRandom.h"
#include "QuadCollision.h"
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
  const int32_t opponents = world.TimeTrial ? 0 : track.Opponents;
  CheckRaceNeeds(records, opponents, track.DataFile);
  CheckCarType(catalogue.SelectedCar);
  for (int32_t type : world.OpponentCarTypes) CheckCarType(type);

  vexel::TVexelSprite& engine = world.Engine;
  engine.Create<TPanel>(world, 0.0f, 466.0f, 0);
  engine.Create<TPanel>(world, 0.0f, 472.0f, 1);
  world.OpponentsWanted = opponents;
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
