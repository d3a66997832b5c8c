// The twelve tracks the build makes: each one is raceable with its row of the track list.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "TrackFile.h"
#include "TrackModel.h"
#include "TrackSource.h"
#include "TrackTestSupport.h"
#include "TrackValidator.h"

namespace {

/// One row of the game's track list: which file it races and how.
struct TrackRow {
  int Slot;
  std::string File;
  int Laps;
  int Opponents;
  double Length;
};

const std::vector<TrackRow> TrackList{
    {0, "data2", 5, 4, 540.4},  {1, "data1", 6, 4, 662.7},   {2, "data3", 5, 5, 470.3},
    {3, "data4", 5, 5, 710.4},  {4, "data5", 6, 6, 785.1},   {5, "data6", 5, 6, 992.4},
    {6, "data7", 6, 7, 692.4},  {7, "data8", 5, 7, 643.2},   {8, "data9", 6, 7, 812.8},
    {9, "data10", 7, 7, 910.4}, {10, "data11", 8, 7, 952.7}, {11, "data12", 8, 7, 856.2},
};

/// Names a row by its file in test output.
void PrintTo(const TrackRow& row, std::ostream* out) {
  *out << row.File;
}

std::string TrackFile(const TrackRow& row) {
  return std::string(CLD_TRACK_DATA_DIR) + "/" + row.File + ".prd";
}

class ShippedTrack : public ::testing::TestWithParam<TrackRow> {};

TEST_P(ShippedTrack, PassesValidationWithItsOpponents) {
  const TrackRow& row = GetParam();
  const auto problems = tracktool::ValidateTrack(tracktool::ReadTrackFile(TrackFile(row)),
                                                 tracktest::Sizes(), row.Opponents);
  for (const auto& p : problems) ADD_FAILURE() << tracktool::FormatProblem(row.File, p);
}

TEST_P(ShippedTrack, LapLengthIsWithinTenPercentOfTheListedLength) {
  const TrackRow& row = GetParam();
  const tracktool::TTrackModel model = tracktool::BuildTrackModel(
      tracktool::ReadTrackFile(TrackFile(row)).Records, tracktest::Sizes());
  const double wanted = row.Length * 10;
  EXPECT_LE(std::abs(model.LapLength() - wanted), wanted * 0.10)
      << row.File << " lap " << model.LapLength() << " px";
}

TEST_P(ShippedTrack, SourceNamesTheLapsAndOpponentsOfItsRow) {
  const TrackRow& row = GetParam();
  const tracktool::TTrackSource src =
      tracktool::LoadTrackSource(std::string(CLD_TRACK_SOURCE_DIR) + "/" + row.File + ".txt");
  EXPECT_EQ(src.Laps, row.Laps);
  EXPECT_EQ(src.Opponents, row.Opponents);
  EXPECT_DOUBLE_EQ(std::stod(src.LengthText), row.Length);
}

TEST_P(ShippedTrack, EveryTagFromOneToTheLastIsUsedOnce) {
  const TrackRow& row = GetParam();
  const tracktool::TTrackModel model = tracktool::BuildTrackModel(
      tracktool::ReadTrackFile(TrackFile(row)).Records, tracktest::Sizes());
  std::multiset<int> tags;
  for (const tracktool::TPathPoint& p : model.Path) {
    if (p.Tag > 0) tags.insert(p.Tag);
  }
  ASSERT_GE(model.TaggedPathCount, 4);
  for (int tag = 1; tag <= model.TaggedPathCount; ++tag) EXPECT_EQ(tags.count(tag), 1u) << tag;
}

INSTANTIATE_TEST_SUITE_P(TrackList, ShippedTrack, ::testing::ValuesIn(TrackList),
                         [](const ::testing::TestParamInfo<TrackRow>& p) {
                           return "Slot" + std::to_string(p.param.Slot) + "_" + p.param.File;
                         });

TEST(ShippedTracks, AllTwelveAreDifferent) {
  std::vector<std::vector<tracktool::TrackRecord>> tracks;
  for (const TrackRow& row : TrackList)
    tracks.push_back(tracktool::ReadTrackFile(TrackFile(row)).Records);
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    for (std::size_t j = i + 1; j < tracks.size(); ++j) {
      EXPECT_NE(tracks[i], tracks[j]) << TrackList[i].File << " and " << TrackList[j].File;
    }
  }
}

TEST(ShippedTracks, LaterTracksHaveMoreObstacles) {
  const auto obstacles = [](const std::string& file) {
    const auto data =
        tracktool::ReadTrackFile(std::string(CLD_TRACK_DATA_DIR) + "/" + file + ".prd");
    return std::count_if(
        data.Records.begin(), data.Records.end(),
        [](const tracktool::TrackRecord& r) { return r.Kind == tracktool::Kind::Obstacle; });
  };
  EXPECT_EQ(obstacles("data2"), 0) << "the first track is clear";
  EXPECT_EQ(obstacles("data1"), 0);
  long firstHalf = 0;
  long secondHalf = 0;
  for (std::size_t i = 0; i < TrackList.size(); ++i) {
    (i < TrackList.size() / 2 ? firstHalf : secondHalf) += obstacles(TrackList[i].File);
  }
  EXPECT_GT(secondHalf, firstHalf);
}

}  // namespace
