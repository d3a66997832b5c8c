// The high-score table: its default rows and how a player's result enters it.

#include <gtest/gtest.h>

#include <sstream>

#include "game/HighScoreTable.h"

namespace {

using game::THighScoreTable;

// A table written as "Name/Points" words, rank 1 first; "-" stands for "Anonymous".
THighScoreTable Table(const std::string& rows) {
  THighScoreTable table;
  std::istringstream words(rows);
  std::string word;
  for (auto& row : table.Rows) {
    words >> word;
    const size_t slash = word.find('/');
    row.Name = word.substr(0, slash) == "-" ? "Anonymous" : word.substr(0, slash);
    row.Points = word.substr(slash + 1);
  }
  return table;
}

std::string Describe(const THighScoreTable& table) {
  std::string text;
  for (const auto& row : table.Rows) {
    if (!text.empty()) text += ' ';
    text += (row.Name == "Anonymous" ? "-" : row.Name) + "/" + row.Points;
  }
  return text;
}

const std::string kDefaultRows = "-/1000 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200 -/100";

TEST(HighScoreTable, StartsAndResetsToTheDefaultRows) {
  THighScoreTable table = Table("Zed/9 Zed/9 Zed/9 Zed/9 Zed/9 Zed/9 Zed/9 Zed/9 Zed/9 Zed/9");
  table.Rows[3].Rank = std::string(2, 'x');
  table.ResetHighScores();
  EXPECT_EQ(Describe(table), kDefaultRows);
  EXPECT_EQ(Describe(THighScoreTable()), kDefaultRows);
  for (size_t i = 0; i < THighScoreTable::RowCount; ++i) {
    EXPECT_EQ(table.Rows[i].Rank, std::to_string(i + 1));
  }
  EXPECT_EQ(table.Rows[0].Name, "Anonymous");
}

struct EnterCase {
  const char* Name;
  std::string Before;
  std::string Player;
  int32_t Score;
  bool Changed;
  std::string After;
};

// Names the case in test output.
void PrintTo(const EnterCase& c, std::ostream* out) {
  *out << c.Name;
}

const EnterCase kEnterCases[] = {
    {"BeatsRankOne", kDefaultRows, "Ann", 1500, true,
     "Ann/1500 -/1000 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200"},
    {"BeatsOnlyTheLastRow", kDefaultRows, "Ann", 150, true,
     "-/1000 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200 Ann/150"},
    {"EqualToTheLastRowDoesNotBeatIt", kDefaultRows, "Ann", 100, false, kDefaultRows},
    {"EqualToRankOneLandsBelowIt", kDefaultRows, "Ann", 1000, true,
     "-/1000 Ann/1000 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200"},
    {"LowerThanAll", kDefaultRows, "Ann", 50, false, kDefaultRows},
    {"NegativeScore", kDefaultRows, "Ann", -5, false, kDefaultRows},
    {"NameFurtherDownMovesUpAndTheLastRowStays",
     "-/1000 -/900 -/800 -/700 Ann/600 -/500 -/400 -/300 -/200 -/100", "Ann", 950, true,
     "-/1000 Ann/950 -/900 -/800 -/700 -/500 -/400 -/300 -/200 -/100"},
    {"NameAtItsOwnRankIsReplacedInPlace",
     "-/1000 -/900 -/800 -/700 Ann/600 -/500 -/400 -/300 -/200 -/100", "Ann", 650, true,
     "-/1000 -/900 -/800 -/700 Ann/650 -/500 -/400 -/300 -/200 -/100"},
    {"NameAlreadyHigherKeepsItsBetterRow",
     "Ann/1200 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200 -/100", "Ann", 500, false,
     "Ann/1200 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200 -/100"},
    {"NameMatchesExactly", "-/1000 -/900 -/800 -/700 ann/600 -/500 -/400 -/300 -/200 -/100", "Ann",
     950, true, "-/1000 Ann/950 -/900 -/800 -/700 ann/600 -/500 -/400 -/300 -/200"},
    {"PointsThatAreNoNumberCountAsZero",
     "-/1000 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200 Bo/lots", "Ann", 1, true,
     "-/1000 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200 Ann/1"},
    {"PointsWithTrailingTextCountAsZero",
     "-/1000 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200 Bo/99x", "Ann", 2, true,
     "-/1000 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200 Ann/2"},
    {"NumbersBeyondThirtyTwoBitsCompareByValue",
     "-/5000000000 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200 -/100", "Ann", 2000000000, true,
     "-/5000000000 Ann/2000000000 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200"},
    {"EmptyNameIsNotEntered", kDefaultRows, "", 5000, false, kDefaultRows},
};

class HighScoreEnter : public ::testing::TestWithParam<EnterCase> {};

TEST_P(HighScoreEnter, PlacesTheResult) {
  const EnterCase& c = GetParam();
  THighScoreTable table = Table(c.Before);
  EXPECT_EQ(table.Enter(c.Player, c.Score), c.Changed);
  EXPECT_EQ(Describe(table), c.After);
  for (size_t i = 0; i < THighScoreTable::RowCount; ++i) {
    EXPECT_EQ(table.Rows[i].Rank, std::to_string(i + 1));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, HighScoreEnter, ::testing::ValuesIn(kEnterCases),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(HighScoreTable, RepeatedResultsOfOnePlayerKeepOneRow) {
  THighScoreTable table;
  for (int32_t score : {150, 450, 820, 1300}) EXPECT_TRUE(table.Enter("Ann", score));
  EXPECT_EQ(Describe(table), "Ann/1300 -/1000 -/900 -/800 -/700 -/600 -/500 -/400 -/300 -/200");
  EXPECT_FALSE(table.Enter("Ann", 1300));
}

}  // namespace
