// Track files and race setup: records, the grid, the world shift, and the files a race refuses.

#include <gtest/gtest.h>

#include <filesystem>

#include "RaceFixture.h"
#include "game/race/Background.h"
#include "game/race/CheckLine.h"
#include "game/race/FinishLine.h"
#include "game/race/RoadPaint.h"
#include "game/race/RoadPart.h"
#include "game/race/RoadRock.h"
#include "game/race/TrackFileError.h"

namespace racetest {
namespace {

namespace fs = std::filesystem;
using game::TrackKind::CheckLine;
using game::TrackKind::FinishLine;
using game::TrackKind::GridSlot;
using game::TrackKind::PathPoint;

class TrackLoad : public RaceFixture {};

TEST_F(TrackLoad, EmptyFileMakesOnlyTheBackground) {
  const std::string path = PutTrack("empty.prd", {});
  game::LoadTrack(World, game::ReadTrackRecords(path, World.DataFile(path)));
  EXPECT_EQ(Engine.Count(), 1);
  EXPECT_EQ(Count<game::TBackground>(), 1);
  EXPECT_EQ(World.PathCount, 0);
  EXPECT_EQ(World.CheckLineCount, 0);
}

TEST_F(TrackLoad, TrailingPieceShorterThanARecordIsNotRead) {
  const std::string path =
      PutTrack("short.prd", {{10, 20, CheckLine, 0, 0}, {30, 40, PathPoint, 2, 7}}, 44);
  ASSERT_EQ(fs::file_size(World.DataFile(path)), 300u);
  const auto records = game::ReadTrackRecords(path, World.DataFile(path));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].PosX, 30);
  EXPECT_EQ(records[1].PosY, 40);
  EXPECT_EQ(records[1].ParamA, 2);
  EXPECT_EQ(records[1].ParamB, 7);
  game::LoadTrack(World, records);
  EXPECT_EQ(World.CheckLineCount, 1);
  EXPECT_EQ(World.PathCount, 1);
  EXPECT_EQ(World.TaggedPathCount, 1);
  EXPECT_EQ(World.PathPoints[0].Order, 7);
  EXPECT_EQ(World.PathPoints[0].Tag, 2);
}

TEST_F(TrackLoad, EveryKindMakesItsObject) {
  const std::string path = PutTrack("kinds.prd", {{0, 0, 1, 0, 0},
                                                  {0, 0, 2, 0, 0},
                                                  {0, 0, 5, 0, 0},
                                                  {0, 0, 14, 0, 0},
                                                  {0, 0, 20, 0, 9},
                                                  {0, 0, 53, 0, 0},
                                                  {0, 0, 54, 0, 0},
                                                  {0, 0, 99, 45, 0},
                                                  {0, 0, 160, 30, 0},
                                                  {0, 0, 101, 0, 0},
                                                  {0, 0, 105, 90, 0},
                                                  {0, 0, 15, 0, 0},
                                                  {0, 0, 77, 0, 0},
                                                  {5, 6, GridSlot, 180, 3}});
  game::LoadTrack(World, game::ReadTrackRecords(path, World.DataFile(path)));
  EXPECT_EQ(Count<game::TRoadPart>(), 4);
  EXPECT_EQ(Count<game::TRoadRock>(), 1);
  EXPECT_EQ(Count<game::TRoadPaint>(), 4);
  EXPECT_EQ(Count<game::TCheckLine>(), 1);
  EXPECT_EQ(Count<game::TFinishLine>(), 1);
  EXPECT_EQ(Engine.Count(), 12);
  EXPECT_TRUE(World.StartSlots[3].Present);
  EXPECT_EQ(World.StartSlots[3].X, 5);
  EXPECT_EQ(World.StartSlots[3].Y, 6);
  EXPECT_EQ(World.StartSlots[3].Heading, 180);
}

TEST_F(TrackLoad, GridSlotOutsideOneToNineIsSkipped) {
  std::vector<TRecord> records = MinimalTrack(4);
  records.push_back({1, 1, GridSlot, 0, 0});
  records.push_back({2, 2, GridSlot, 0, 10});
  records.push_back({3, 3, GridSlot, 0, -1});
  records.push_back({4, 4, GridSlot, 0, 1000000});
  SelectTrack(PutTrack("slots.prd", records), 4);
  game::SetupRace(World);
  EXPECT_FALSE(World.StartSlots[0].Present);
  EXPECT_EQ(World.EnemyCount, 4);
}

TEST_F(TrackLoad, SetupPlacesPlayerBehindTheOpponentsAndShiftsTheWorld) {
  std::vector<TRecord> records = MinimalTrack(4);
  records.push_back({2000, 2000, GridSlot, 45, 6});  // beyond the field: ignored
  records.push_back({250, 300, GridSlot, 33, 5});    // a second slot 5 replaces the first
  SelectTrack(PutTrack("grid.prd", records), 4, 5);
  game::SetupRace(World);
  const double dx = 396 - 250.0;
  const double dy = 321 - 300.0;
  ASSERT_NE(World.Player, nullptr);
  EXPECT_EQ(World.Player->Heading, 33);
  EXPECT_DOUBLE_EQ(World.Player->Centre().X, 396);
  EXPECT_DOUBLE_EQ(World.Player->Centre().Y, 321);
  ASSERT_EQ(World.EnemyCount, 4);
  for (int32_t i = 0; i < 4; ++i) {
    const game::TStartSlot& slot = World.StartSlots[static_cast<size_t>(i + 1)];
    EXPECT_NEAR(World.Enemy(i).Centre().X, slot.X + dx, 1e-3) << i;
    EXPECT_NEAR(World.Enemy(i).Centre().Y, slot.Y + dy, 1e-3) << i;
    EXPECT_EQ(World.Enemy(i).Index, i);
  }
  EXPECT_EQ(World.RaceLaps, 5);
  EXPECT_EQ(World.OpponentsWanted, 4);
  EXPECT_EQ(World.PathCount, 3);
  EXPECT_EQ(World.PathPoints[0].X, 1100 + dx);
  EXPECT_EQ(World.PathPoints[0].Y, 300 + dy);
  EXPECT_DOUBLE_EQ(World.LapLength(), (400 + 500) / 10.0);
  EXPECT_EQ(World.CheckLineCount, 3);
  EXPECT_FALSE(World.PlayerFinished);
  EXPECT_GE(World.WallVariant, 0);
  EXPECT_LT(World.WallVariant, 5);
}

TEST_F(TrackLoad, OpponentCarTypesCanBeGiven) {
  SelectTrack(PutTrack("types.prd", MinimalTrack(3)), 3);
  World.OpponentCarTypes = {4, 1, 2};
  game::SetupRace(World);
  EXPECT_EQ(World.Enemy(0).CarType, 4);
  EXPECT_EQ(World.Enemy(1).CarType, 1);
  EXPECT_EQ(World.Enemy(2).CarType, 2);
}

TEST_F(TrackLoad, SameSeedSameRace) {
  SelectTrack(PutTrack("seeded.prd", MinimalTrack(4)), 4);
  game::SetupRace(World);
  std::mt19937 again(12345);
  vexel::TVexelSprite otherEngine;
  game::TRaceWorld other(otherEngine, Images, Catalogue, again, KeyDown, KeyReleased, Dir);
  game::SetupRace(other);
  EXPECT_EQ(other.WallVariant, World.WallVariant);
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(other.Enemy(i).CarType, World.Enemy(i).CarType);
}

/// A track a race must refuse, and the words its error must hold.
struct TBadTrack {
  const char* Name;
  std::vector<TRecord> Records;
  const char* Reason;
};

std::vector<TRecord> Without(std::vector<TRecord> records, int32_t kind, int32_t paramB = -99) {
  std::erase_if(records, [&](const TRecord& r) {
    return r.Kind == kind && (paramB == -99 || r.ParamB == paramB);
  });
  return records;
}

std::vector<TRecord> WithPathPoints(int32_t count) {
  std::vector<TRecord> records = Without(MinimalTrack(4), PathPoint);
  for (int32_t i = 0; i < count; ++i) records.push_back({i * 10, 0, PathPoint, 0, i});
  return records;
}

class RefusedTrack : public RaceFixture, public ::testing::WithParamInterface<TBadTrack> {};

TEST_P(RefusedTrack, RaceIsNotStartedAndNothingStays) {
  const TBadTrack& bad = GetParam();
  SelectTrack(PutTrack(bad.Name, bad.Records), 4);
  const std::mt19937 before = Random;
  try {
    game::SetupRace(World);
    FAIL() << "the race started";
  } catch (const game::TTrackFileError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find(std::string("Data\\") + bad.Name), std::string::npos) << message;
    EXPECT_NE(message.find(bad.Reason), std::string::npos) << message;
  }
  EXPECT_EQ(Engine.Count(), 0);
  EXPECT_EQ(World.Player, nullptr);
  EXPECT_EQ(World.EnemyCount, 0);
  EXPECT_EQ(Random, before);
}

INSTANTIATE_TEST_SUITE_P(
    TrackLoad, RefusedTrack,
    ::testing::Values(
        TBadTrack{"empty.prd", {}, "no path points"},
        TBadTrack{"nofinish.prd", Without(MinimalTrack(4), FinishLine), "no finish line"},
        TBadTrack{"noslot3.prd", Without(MinimalTrack(4), GridSlot, 3), "no grid slot 3"},
        TBadTrack{"noplayerslot.prd", Without(MinimalTrack(4), GridSlot, 5), "no grid slot 5"},
        TBadTrack{"nopath.prd", Without(MinimalTrack(4), PathPoint), "no path points"},
        TBadTrack{"longpath.prd", WithPathPoints(256), "256 path points"}),
    [](const auto& param) {
      std::string name = param.param.Name;
      return name.substr(0, name.find('.'));
    });

TEST_F(TrackLoad, LargestFieldFitsTheGrid) {
  SelectTrack(PutTrack("eight.prd", MinimalTrack(8)), 8);
  game::SetupRace(World);
  ASSERT_EQ(World.EnemyCount, game::MaxOpponents);
  World.ReleaseStart();
  for (int n = 0; n < 200; ++n) Frame();
  EXPECT_EQ(World.Enemy(7).Index, 7);
  EXPECT_NE(World.EnemyProgress[7], 0);
}

TEST_F(TrackLoad, NineOpponentsNeedAGridSlotThatCannotExist) {
  SelectTrack(PutTrack("nine.prd", MinimalTrack(8)), 9);
  EXPECT_THROW(game::SetupRace(World), game::TTrackFileError);
  EXPECT_EQ(Engine.Count(), 0);
}

TEST_F(TrackLoad, MostPathPointsThatFit) {
  SelectTrack(PutTrack("path255.prd", WithPathPoints(255)), 4);
  game::SetupRace(World);
  EXPECT_EQ(World.PathCount, 255);
}

TEST_F(TrackLoad, MissingFileNamesTheFile) {
  SelectTrack("Data\\nowhere.prd", 4);
  try {
    game::SetupRace(World);
    FAIL() << "the race started";
  } catch (const game::TTrackFileError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find("Data\\nowhere.prd"), std::string::npos) << message;
    EXPECT_NE(message.find("cannot be opened"), std::string::npos) << message;
  }
  EXPECT_EQ(Engine.Count(), 0);
}

TEST_F(TrackLoad, FolderInPlaceOfTheFileCannotBeOpened) {
  fs::create_directories(fs::path(Dir) / "Data" / "folder.prd");
  SelectTrack("Data\\folder.prd", 4);
  EXPECT_THROW(game::SetupRace(World), game::TTrackFileError);
  EXPECT_EQ(Engine.Count(), 0);
}

TEST_F(TrackLoad, ShiftWorldMovesTrackOpponentsAndPathButNotThePlayer) {
  SelectTrack(PutTrack("shift.prd", MinimalTrack(4)), 4);
  game::SetupRace(World);
  const game::TPoint2 player = World.Player->Centre();
  const game::TPoint2 enemy = World.Enemy(2).Centre();
  const game::TPathPoint point = World.PathPoints[1];
  std::vector<float> xs;
  for (vexel::TSprite* sprite : World.WorldSprites) xs.push_back(sprite->X());
  game::ShiftWorld(World, 10, -4);
  EXPECT_EQ(World.Player->Centre().X, player.X);
  EXPECT_NEAR(World.Enemy(2).Centre().X, enemy.X + 10, 1e-3);
  EXPECT_NEAR(World.Enemy(2).Centre().Y, enemy.Y - 4, 1e-3);
  EXPECT_EQ(World.PathPoints[1].X, point.X + 10);
  EXPECT_EQ(World.PathPoints[1].Y, point.Y - 4);
  for (size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(World.WorldSprites[i]->X(), xs[i] + 10, 1e-3);
}

}  // namespace
}  // namespace racetest
