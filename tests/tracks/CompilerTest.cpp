// Compiling track sources: the records made from a map, and sources that cannot make a track.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "TrackCompiler.h"
#include "TrackModel.h"
#include "TrackSource.h"
#include "TrackTestSupport.h"

namespace {

using tracktool::TrackRecord;
using tracktool::Kind::CheckLine;
using tracktool::Kind::FinishLine;
using tracktool::Kind::GridSlot;
using tracktool::Kind::PaintStartLine;
using tracktool::Kind::PathPoint;

std::vector<TrackRecord> OfKind(const std::vector<TrackRecord>& records, int32_t kind) {
  std::vector<TrackRecord> out;
  std::copy_if(records.begin(), records.end(), std::back_inserter(out),
               [kind](const TrackRecord& r) { return r.Kind == kind; });
  return out;
}

std::vector<TrackRecord> Compile(const std::string& source) {
  return tracktool::CompileTrack(tracktool::ParseTrackSource(source, "test.txt"),
                                 tracktest::Sizes());
}

std::string WithMap(const std::string& map, const std::string& settings = "",
                    const std::string& length = "300") {
  return "laps 3\nopponents 4\nlength " + length + "\n" + settings + "map\n" + map + "end\n";
}

TEST(TrackCompiler, FinishLineAndStartPaintCrossTheMiddleOfTheStartSquare) {
  const auto records = tracktest::SmallTrack();
  const auto finish = OfKind(records, FinishLine);
  ASSERT_EQ(finish.size(), 1u);
  EXPECT_EQ(finish[0], (TrackRecord{80, 720 - 12, FinishLine, 0, 0}));
  EXPECT_EQ(OfKind(records, PaintStartLine),
            (std::vector<TrackRecord>{{80, 720, PaintStartLine, 0, 0}}));
}

TEST(TrackCompiler, CheckpointsAreNumberedInDrivingOrderAfterTheFinishLine) {
  const auto checks = OfKind(tracktest::SmallTrack(), CheckLine);
  const std::vector<TrackRecord> expected{
      {400, 1200, CheckLine, 0, 0}, {720, 560, CheckLine, 0, 1}, {400, 80, CheckLine, 0, 2}};
  EXPECT_EQ(checks, expected);
}

TEST(TrackCompiler, GridHasOneSlotPerCarBehindTheLineWithThePlayerLast) {
  const auto slots = OfKind(tracktest::SmallTrack(), GridSlot);
  ASSERT_EQ(slots.size(), 5u);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    EXPECT_EQ(slots[i].ParamB, static_cast<int32_t>(i + 1));
    EXPECT_EQ(slots[i].ParamA, 0) << "heading towards +x, the driving direction";
    EXPECT_LT(slots[i].PosX, 708 - 32) << "nose behind the finish line";
    if (i > 0) {
      EXPECT_LT(slots[i].PosX, slots[i - 1].PosX);
    }
  }
  EXPECT_NE(slots[0].PosY, slots[1].PosY) << "two columns";
}

TEST(TrackCompiler, PathRunsFromJustPastTheLineRoundToItWithEachTagOnce) {
  const auto points = OfKind(tracktest::SmallTrack(), PathPoint);
  ASSERT_GE(points.size(), 4u);
  ASSERT_LE(points.size(), 255u);
  std::map<int32_t, int> tags;
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].ParamB, static_cast<int32_t>(i + 1)) << "order keys 1..n";
    if (points[i].ParamA > 0) ++tags[points[i].ParamA];
  }
  EXPECT_EQ(tags, (std::map<int32_t, int>{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}));
  EXPECT_EQ(points.front().ParamA, 1);
  EXPECT_GT(points.front().PosX, 720) << "first point ahead of the line";
  EXPECT_EQ(points.back().PosX, 720);
  EXPECT_EQ(points.back().PosY, 80);
}

TEST(TrackCompiler, EveryMapSquareIsCoveredByRoadAndEachCornerPieceMatchesItsBend) {
  const auto records = tracktest::SmallTrack();
  const tracktool::TTrackModel model = tracktool::BuildTrackModel(records, tracktest::Sizes());
  const std::vector<std::string> map{"/--->--\\", "|      |", "C      C", "|      |", "\\--C---/"};
  for (int row = 0; row < static_cast<int>(map.size()); ++row) {
    for (int col = 0; col < static_cast<int>(map[static_cast<std::size_t>(row)].size()); ++col) {
      const bool road = map[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] != ' ';
      EXPECT_EQ(model.OnRoad({col * 160.0 + 80, row * 160.0 + 80}), road) << row << "," << col;
    }
  }
  std::set<std::pair<int32_t, int32_t>> corners;
  for (const TrackRecord& r : records) {
    if (r.Kind >= 11 && r.Kind <= 14) corners.insert({r.Kind, r.PosX * 10000 + r.PosY});
  }
  const std::set<std::pair<int32_t, int32_t>> expected{
      {14, 0}, {13, 1120 * 10000}, {12, 1120 * 10000 + 640}, {11, 640}};
  EXPECT_EQ(corners, expected);
}

TEST(TrackCompiler, VerticalStartDrivingDownTurnsTheLineAndTheGrid) {
  const auto records =
      Compile(WithMap("/------\\\n"
                      "|      |\n"
                      "|      C\n"
                      "C      |\n"
                      "|      v\n"
                      "|      |\n"
                      "\\--C---/\n",
                      "", "360"));
  const auto finish = OfKind(records, FinishLine);
  ASSERT_EQ(finish.size(), 1u);
  EXPECT_EQ(finish[0].ParamA, 90);
  EXPECT_EQ(finish[0].PosY, 4 * 160 + 80);
  for (const TrackRecord& slot : OfKind(records, GridSlot)) {
    EXPECT_EQ(slot.ParamA, 90);
    EXPECT_LT(slot.PosY, 4 * 160 + 80 - 12 - 32);
  }
}

TEST(TrackCompiler, ObstaclesAndDecorationsArePlacedFromTheirAnchors) {
  const auto records =
      Compile(WithMap("/--->--\\\n"
                      "|  a   |\n"
                      "C      C\n"
                      "|   b  |\n"
                      "\\--C---/\n",
                      "obstacle a rock 10 -20\n"
                      "obstacle b stripes-h 0 0\n"
                      "decor a decal 0 -160 180\n"));
  const auto obstacles = OfKind(records, tracktool::Kind::Obstacle);
  ASSERT_EQ(obstacles.size(), 2u);
  EXPECT_EQ(obstacles[0], (TrackRecord{240 - 20, 560 + 10, tracktool::Kind::Obstacle, 0, 8}));
  EXPECT_EQ(obstacles[1], (TrackRecord{560, 720 - 80, tracktool::Kind::Obstacle, 0, 12}))
      << "striped horizontal walls are placed by their left edge";
  EXPECT_EQ(OfKind(records, tracktool::Kind::PaintDecal),
            (std::vector<TrackRecord>{{80, 560, tracktool::Kind::PaintDecal, 180, 0}}));
}

TEST(TrackCompiler, SameSourceGivesTheSameRecords) {
  EXPECT_EQ(tracktest::SmallTrack(), tracktest::SmallTrack());
}

TEST(TrackCompiler, SourcesThatCannotMakeATrackAreRefusedWithThePlace) {
  struct Case {
    std::string What;
    std::string Source;
    std::string Message;
  };
  const std::vector<Case> cases{
      {"no start", WithMap("/-----\\\n|     |\nC     C\n\\--C--/\n"), "no start cell"},
      {"two starts", WithMap("/->->-\\\n|     |\nC     C\n\\--C--/\n"), "second start"},
      {"one-square straight",
       WithMap("/--->--\\\n|      |\nC      C\n\\\\     |\n |     |\n \\-C---/\n"),
       "row 5 column 2: a straight must be at least two cells long"},
      {"road running off", WithMap("/--->--\\\n|      |\nC      C\n|       \n\\--C---/\n"),
       "does not continue"},
      {"stray road", WithMap("/--->--\\\n|      |  --\nC      C\n|      |\n\\--C---/\n"),
       "not on the circuit"},
      {"unknown character", WithMap("/--->--\\\n|   #  |\nC      C\n|      |\n\\--C---/\n"),
       "unknown map character"},
      {"start entered sideways", WithMap(" >--\\\n |  |\n \\--/\n"), "sideways"},
      {"two checkpoints", WithMap("/--->--\\\n|      |\nC      C\n|      |\n\\------/\n"),
       "at least 3 checkpoints"},
      {"grid too short", WithMap("/->----\\\n|      |\nC      C\n|      |\n\\--C---/\n"),
       "too short for a grid of 5 cars"},
      {"unknown anchor",
       WithMap("/--->--\\\n|      |\nC      C\n|      |\n\\--C---/\n", "obstacle q rock 0 0\n"),
       "anchor 'q' is not on the map"},
      {"anchor used twice", WithMap("/--->--\\\n| a  a |\nC      C\n|      |\n\\--C---/\n"),
       "used twice"},
      {"lap far too long",
       "laps 3\nopponents 4\nlength 100\nmap\n/--->--\\\n|      |\nC      C\n"
       "|      |\n\\--C---/\nend\n",
       "more than 10%"},
      {"unknown obstacle",
       WithMap("/--->--\\\n| a    |\nC      C\n|      |\n\\--C---/\n", "obstacle a boulder 0 0\n"),
       "line 4: unknown obstacle kind"},
      {"bad number",
       WithMap("/--->--\\\n|      |\nC      C\n|      |\n\\--C---/\n", "tags three\n"), "line 4"},
      {"too many opponents", "laps 3\nopponents 9\nlength 300\nmap\n/\nend\n", "line 2"},
      {"no map end", "laps 3\nopponents 4\nlength 300\nmap\n/--->--\\\n", "no \"end\""},
      {"missing laps", "opponents 4\nlength 300\nmap\n/\nend\n", "laps, opponents and length"},
      {"unknown setting", "speed 3\n", "unknown setting"},
  };
  for (const Case& c : cases) {
    try {
      Compile(c.Source);
      ADD_FAILURE() << c.What << ": compiled";
    } catch (const tracktool::TSourceError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("test.txt"), std::string::npos) << c.What << ": " << message;
      EXPECT_NE(message.find(c.Message), std::string::npos) << c.What << ": " << message;
    }
  }
}

}  // namespace
