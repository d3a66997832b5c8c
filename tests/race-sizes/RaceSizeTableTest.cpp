// The race sizes table as art-gen and track-tool read it: the real file, comments, and every
// kind of malformed line refused with the file and line named.

#include <gtest/gtest.h>

#include <string>

#include "RaceSizeTable.h"

namespace {

using racesizes::TRaceSizeError;
using racesizes::TRaceSizeTable;

TEST(RaceSizeTable, RealFileListsTheRoadAndCarPictures) {
  const TRaceSizeTable table = TRaceSizeTable::Load(CLD_RACE_SIZES_FILE);
  const auto corners = table.Find("roadroters");
  ASSERT_TRUE(corners.has_value());
  EXPECT_EQ(corners->Columns, 4);
  EXPECT_EQ(corners->Rows, 1);
  EXPECT_EQ(corners->Width, 160);
  EXPECT_EQ(corners->Height, 160);
  for (const char* car : {"car1", "car2", "car3", "car4", "car5"}) {
    EXPECT_TRUE(table.Find(car).has_value()) << car;
  }
  EXPECT_FALSE(table.Comments().empty());
}

TEST(RaceSizeTable, KeepsCommentLinesAndSkipsBlankOnes) {
  const TRaceSizeTable table =
      TRaceSizeTable::Parse("# first\n\n  \nroad 4 1 160 160\n  # cell 0: left and top\n", "t");
  ASSERT_EQ(table.Comments().size(), 2u);
  EXPECT_EQ(table.Comments()[0], "# first");
  EXPECT_EQ(table.Comments()[1], "  # cell 0: left and top");
  ASSERT_TRUE(table.Find("road").has_value());
  EXPECT_EQ(table.Find("road")->Columns, 4);
  EXPECT_FALSE(table.Find("Road").has_value());
  EXPECT_FALSE(TRaceSizeTable{}.Find("road").has_value());
}

struct TBadLine {
  const char* Name;
  const char* Text;
  const char* Message;
};

class RaceSizeTableRefuses : public ::testing::TestWithParam<TBadLine> {};

TEST_P(RaceSizeTableRefuses, MalformedLinesNamingFileAndLine) {
  try {
    TRaceSizeTable::Parse(GetParam().Text, "sizes.txt");
    FAIL() << "accepted";
  } catch (const TRaceSizeError& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().Message), std::string::npos) << e.what();
  }
}

const TBadLine kBadLines[] = {
    {"TooFewFields", "road 1 1 160\n", "sizes.txt:1: expected"},
    {"ExtraField", "road 1 1 160 160 9\n", "sizes.txt:1: expected"},
    {"TrailingComment", "road 1 1 160 160 # note\n", "sizes.txt:1: expected"},
    {"NotANumber", "# c\nroad 1 x 160 160\n", "sizes.txt:2: expected"},
    {"ZeroColumns", "road 0 1 160 160\n", "sizes.txt:1: sizes and counts must be positive"},
    {"NegativeHeight", "road 1 1 160 -1\n", "must be positive"},
    {"Repeated", "road 1 1 160 160\nroad 1 1 160 160\n", "sizes.txt:2: \"road\" listed twice"},
};

INSTANTIATE_TEST_SUITE_P(Cases, RaceSizeTableRefuses, ::testing::ValuesIn(kBadLines),
                         [](const auto& p) { return std::string(p.param.Name); });

TEST(RaceSizeTable, MissingFileIsAnError) {
  EXPECT_THROW(TRaceSizeTable::Load("/nonexistent/race-sizes.txt"), TRaceSizeError);
}

}  // namespace
