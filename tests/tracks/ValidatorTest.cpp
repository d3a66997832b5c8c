// The track validator: a good track passes, and each broken rule is reported with its place.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "TrackTestSupport.h"
#include "TrackValidator.h"

namespace {

using tracktool::TrackRecord;
using tracktool::TTrackFileData;
using tracktool::TTrackProblem;
namespace Kind = tracktool::Kind;

std::vector<TTrackProblem> Validate(const TTrackFileData& data, int opponents = 4) {
  return tracktool::ValidateTrack(data, tracktest::Sizes(), opponents);
}

std::string Describe(const std::vector<TTrackProblem>& problems) {
  std::string text;
  for (const TTrackProblem& p : problems) text += tracktool::FormatProblem("small.prd", p) + "\n";
  return text;
}

TrackRecord& Find(std::vector<TrackRecord>& records, int32_t kind, int32_t paramB) {
  const auto it = std::find_if(records.begin(), records.end(), [&](const TrackRecord& r) {
    return r.Kind == kind && r.ParamB == paramB;
  });
  if (it == records.end()) throw std::runtime_error("fixture record missing");
  return *it;
}

void Erase(std::vector<TrackRecord>& records, const std::function<bool(const TrackRecord&)>& what) {
  records.erase(std::remove_if(records.begin(), records.end(), what), records.end());
}

/// One broken rule: how to break the small track and what the validator must say.
struct BrokenRule {
  std::string What;
  std::function<void(TTrackFileData&)> Break;
  std::string Rule;
  std::string Message;
  bool HasPlace;
};

const std::vector<BrokenRule>& BrokenRules() {
  static const std::vector<BrokenRule> kRules{
      {"missing checkpoint number",
       [](TTrackFileData& d) { Find(d.Records, Kind::CheckLine, 1).ParamB = 3; }, "checkpoints",
       "number 1 is missing", false},
      {"duplicated checkpoint",
       [](TTrackFileData& d) { Find(d.Records, Kind::CheckLine, 2).ParamB = 1; }, "checkpoints",
       "number 1 is used twice", true},
      {"too few checkpoints",
       [](TTrackFileData& d) {
         Erase(d.Records,
               [](const TrackRecord& r) { return r.Kind == Kind::CheckLine && r.ParamB == 2; });
       },
       "checkpoints", "at least 3 checkpoint lines", false},
      {"checkpoints out of driving order",
       [](TTrackFileData& d) {
         Find(d.Records, Kind::CheckLine, 0).ParamB = 9;
         Find(d.Records, Kind::CheckLine, 2).ParamB = 0;
         Find(d.Records, Kind::CheckLine, 9).ParamB = 2;
       },
       "checkpoints", "comes before checkpoint", false},
      {"checkpoint beside the road",
       [](TTrackFileData& d) { Find(d.Records, Kind::CheckLine, 0).PosX += 300; }, "checkpoints",
       "does not pass through checkpoint 0", true},
      {"gap in the road under the path",
       [](TTrackFileData& d) {
         Erase(d.Records,
               [](const TrackRecord& r) { return r.Kind == Kind::RoadVertical && r.PosX == 1120; });
       },
       "road", "off the road", true},
      {"grid slot missing",
       [](TTrackFileData& d) {
         Erase(d.Records,
               [](const TrackRecord& r) { return r.Kind == Kind::GridSlot && r.ParamB == 3; });
       },
       "grid", "slot 3 is missing", false},
      {"slot in front of the line",
       [](TTrackFileData& d) { Find(d.Records, Kind::GridSlot, 1).PosX += 200; }, "grid",
       "slot 1 is not behind the finish line", true},
      {"slot facing away from the line",
       [](TTrackFileData& d) { Find(d.Records, Kind::GridSlot, 2).ParamA = 180; }, "grid",
       "slot 2 does not face", true},
      {"slot off the road",
       [](TTrackFileData& d) { Find(d.Records, Kind::GridSlot, 4).PosY += 200; }, "grid",
       "slot 4 is not on the road", true},
      {"slots overlapping",
       [](TTrackFileData& d) {
         Find(d.Records, Kind::GridSlot, 3).PosX = Find(d.Records, Kind::GridSlot, 1).PosX - 30;
       },
       "grid", "slots 1 and 3 overlap", true},
      {"player ahead of an opponent",
       [](TTrackFileData& d) {
         std::swap(Find(d.Records, Kind::GridSlot, 1).ParamB,
                   Find(d.Records, Kind::GridSlot, 5).ParamB);
       },
       "grid", "the player's slot 5 is not behind slot 1", false},
      {"slot number outside the grid",
       [](TTrackFileData& d) {
         d.Records.push_back({40, 300, Kind::GridSlot, 0, 12});
       },
       "grid", "slot number 12 is outside 1..9", true},
      {"too few tags",
       [](TTrackFileData& d) {
         for (TrackRecord& r : d.Records) {
           if (r.Kind == Kind::PathPoint && r.ParamA > 2) r.ParamA = 0;
         }
       },
       "tags", "at least 3 tagged path points", false},
      {"tag missing",
       [](TTrackFileData& d) {
         for (TrackRecord& r : d.Records) {
           if (r.Kind == Kind::PathPoint && r.ParamA == 3) r.ParamA = 0;
         }
         d.Records.push_back({720, 560, Kind::PathPoint, 9, 100});
       },
       "tags", "no path point carries tag 3", false},
      {"checked tag at the finish line",
       [](TTrackFileData& d) {
         for (TrackRecord& r : d.Records) {
           if (r.Kind == Kind::PathPoint && r.ParamA == 2) r.ParamA = 0;
         }
         Find(d.Records, Kind::PathPoint, 14).ParamA = 2;
       },
       "tags", "tag 2 lies within 224 px of the finish line", true},
      {"256 path points",
       [](TTrackFileData& d) {
         for (int32_t i = 15; i <= 256; ++i) d.Records.push_back({80, 720, Kind::PathPoint, 0, i});
       },
       "path points", "at most 255 path points, found 256", false},
      {"two path points",
       [](TTrackFileData& d) {
         Erase(d.Records,
               [](const TrackRecord& r) { return r.Kind == Kind::PathPoint && r.ParamB > 2; });
       },
       "path points", "at least 3 points, found 2", false},
      {"path point flung far away",
       [](TTrackFileData& d) { Find(d.Records, Kind::PathPoint, 7).PosX = 2000000000; },
       "path points", "point 6 lies more than 20000 px from the next", true},
      {"finish line along the road",
       [](TTrackFileData& d) { Find(d.Records, Kind::FinishLine, 0).ParamA = 90; }, "finish line",
       "does not span the road", true},
      {"two finish lines",
       [](TTrackFileData& d) {
         const TrackRecord finish = Find(d.Records, Kind::FinishLine, 0);
         d.Records.push_back(finish);
       },
       "finish line", "exactly one finish line, found 2", false},
      {"obstacle on the racing line",
       [](TTrackFileData& d) {
         d.Records.push_back({400, 1200, Kind::Obstacle, 0, 8});
       },
       "obstacles", "blocks the racing line", true},
      {"file size not a multiple of 128", [](TTrackFileData& d) { d.ByteSize += 44; }, "file size",
       "bytes is not a whole number of 128-byte records", false},
  };
  return kRules;
}

TEST(TrackValidator, CompiledSmallTrackPasses) {
  const auto problems = Validate(tracktest::AsFile(tracktest::SmallTrack()));
  EXPECT_TRUE(problems.empty()) << Describe(problems);
}

TEST(TrackValidator, EachBrokenRuleIsReportedWithItsRuleAndPlace) {
  for (const BrokenRule& broken : BrokenRules()) {
    TTrackFileData data = tracktest::AsFile(tracktest::SmallTrack());
    broken.Break(data);
    const auto problems = Validate(data);
    const auto match = std::find_if(problems.begin(), problems.end(), [&](const TTrackProblem& p) {
      return p.Rule == broken.Rule && p.Message.find(broken.Message) != std::string::npos;
    });
    ASSERT_NE(match, problems.end()) << broken.What << " not found in:\n" << Describe(problems);
    EXPECT_EQ(match->Place.has_value(), broken.HasPlace) << broken.What;
  }
}

TEST(TrackValidator, MoreOpponentsNeedMoreGridSlots) {
  const auto problems = Validate(tracktest::AsFile(tracktest::SmallTrack()), 5);
  ASSERT_EQ(problems.size(), 1u) << Describe(problems);
  EXPECT_EQ(problems[0].Message, "slot 6 is missing; a race with 5 opponents needs slots 1..6");
}

TEST(TrackValidator, EmptyFileFailsEveryRequiredPart) {
  const auto problems = Validate(tracktool::DecodeRecords({}));
  std::vector<std::string> rules;
  for (const TTrackProblem& p : problems) rules.push_back(p.Rule);
  for (const char* rule : {"path points", "checkpoints", "finish line", "grid"}) {
    EXPECT_NE(std::find(rules.begin(), rules.end(), rule), rules.end()) << rule;
  }
  EXPECT_EQ(std::find(rules.begin(), rules.end(), "file size"), rules.end());
}

TEST(TrackValidator, ThreeHundredByteFileReportsItsSizeAndWhatIsMissing) {
  std::vector<uint8_t> bytes = tracktool::EncodeRecords(tracktest::SmallTrack());
  bytes.resize(300);
  const auto problems = Validate(tracktool::DecodeRecords(bytes));
  ASSERT_FALSE(problems.empty());
  EXPECT_EQ(problems[0].Rule, "file size");
  EXPECT_EQ(problems[0].Message, "300 bytes is not a whole number of 128-byte records");
}

TEST(TrackValidator, ProblemLineNamesTrackRuleAndCoordinates) {
  TTrackFileData data = tracktest::AsFile(tracktest::SmallTrack());
  Find(data.Records, Kind::CheckLine, 2).ParamB = 1;
  const auto problems = Validate(data);
  ASSERT_FALSE(problems.empty());
  EXPECT_EQ(tracktool::FormatProblem("data7.prd", problems[0]),
            "data7.prd: checkpoints: number 1 is used twice at (80, 400)");
}

}  // namespace
