// A time trial's times: frames of the 90-per-second step as hundredths rounded down, and the
// difference to a record as the results panel writes it.

#include <gtest/gtest.h>

#include <string>

#include "game/race/TimeTrialRun.h"

namespace {

using game::TTimeTrialRun;

struct TFramesCase {
  int32_t Frames;
  const char* Time;
};

class TrialTime : public ::testing::TestWithParam<TFramesCase> {};

TEST_P(TrialTime, IsTheFramesHundredthsRoundedDown) {
  EXPECT_EQ(TTimeTrialRun::TimeOfFrames(GetParam().Frames).Text(), GetParam().Time);
}

INSTANTIATE_TEST_SUITE_P(TimeTrial, TrialTime,
                         ::testing::Values(TFramesCase{0, "0:00:00"}, TFramesCase{1, "0:00:01"},
                                           TFramesCase{89, "0:00:98"}, TFramesCase{90, "0:01:00"},
                                           TFramesCase{5399, "0:59:98"},
                                           TFramesCase{5400, "1:00:00"},
                                           TFramesCase{60000, "11:06:66"}));

struct TDifferenceCase {
  int32_t Run;
  int32_t Record;
  const char* Text;
};

class TrialDifference : public ::testing::TestWithParam<TDifferenceCase> {};

TEST_P(TrialDifference, IsTheDifferenceOfTheTimesShown) {
  const TDifferenceCase& c = GetParam();
  EXPECT_EQ(TTimeTrialRun::DifferenceText(c.Run, c.Record), c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    TimeTrial, TrialDifference,
    ::testing::Values(TDifferenceCase{5490, 5400, "+0:01:00"},
                      TDifferenceCase{100, 100, "+0:00:00"},
                      // 91 frames show 1:01, 90 show 1:00: a frame can be a hundredth.
                      TDifferenceCase{91, 90, "+0:00:01"},
                      // The dash of the fonts' code page stands for the minus sign.
                      TDifferenceCase{0, 5490,
                                      "\x96"
                                      "1:01:00"},
                      TDifferenceCase{4000, 4045,
                                      "\x96"
                                      "0:00:50"}));

}  // namespace
