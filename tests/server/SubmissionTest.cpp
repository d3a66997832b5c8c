// A submission is stored only when every field is where the game puts it and within bounds.

#include <gtest/gtest.h>

#include <string>

#include "online/ScoreSubmission.h"
#include "server/Submission.h"

namespace {

// The game's own text for these fields, padding included.
std::string Plain(const std::string& name, int64_t score, const std::string& token = "T42",
                  const std::string& options = "") {
  return online::PlainSubmissionText(name, score, token, options);
}

// Pads a hand-made text as the game would.
std::string Padded(std::string text) {
  while (text.size() % 5 != 0) text += '0';
  return text;
}

TEST(Submission, ReadsTheGamesOwnText) {
  const auto s = server::TSubmission::Parse(Plain("Ann", 1200, "T42", "fast"));
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->Name, "Ann");
  EXPECT_EQ(s->Score, 1200);
  EXPECT_EQ(s->Key, "R");
  EXPECT_EQ(s->Token, "T42");
  EXPECT_EQ(s->OptionsText, "fast");
}

TEST(Submission, SeparatorsInsideNameAndOptionsAreTakenAsText) {
  const auto s = server::TSubmission::Parse(Plain("a|score=1", 77, "T42", "x|z=0"));
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->Name, "a|score=1");
  EXPECT_EQ(s->Score, 77);
  EXPECT_EQ(s->OptionsText, "x|z=0");
}

TEST(Submission, CodePageLettersAreAccepted) {
  // "Анна" in code page 1251.
  const auto s = server::TSubmission::Parse(Plain("\xC0\xED\xED\xE0", 5));
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->Name, "\xC0\xED\xED\xE0");
}

struct RefusedCase {
  const char* Name;
  std::string Plain;
};

const RefusedCase kRefused[] = {
    {"Empty", ""},
    {"EmptyName", Plain("", 10)},
    {"ThirteenCharacterName", Plain("ABCDEFGHIJKLM", 10)},
    {"ControlCharacterInName", Plain("An\nn", 10)},
    {"UnassignedByteInName", Plain("An\x98n", 10)},
    {"NegativeScore", Plain("Ann", -1)},
    {"ScoreAboveLimit", Plain("Ann", 1'000'000'001)},
    {"EmptyToken", Plain("Ann", 10, "")},
    {"ThirteenCharacterOptions", Plain("Ann", 10, "T42", "0123456789abc")},
    {"WrongKey", Padded("type=0|name=Ann|score=10|key=Q|p=T42|add=|z=")},
    {"LowerCaseKey", Padded("type=0|name=Ann|score=10|key=r|p=T42|add=|z=")},
    {"TwoLetterKey", Padded("type=0|name=Ann|score=10|key=RR|p=T42|add=|z=")},
    {"PlusSignedScore", Padded("type=0|name=Ann|score=+10|key=R|p=T42|add=|z=")},
    {"HexScore", Padded("type=0|name=Ann|score=0x10|key=R|p=T42|add=|z=")},
    {"HugeScore", Padded("type=0|name=Ann|score=99999999999999999999|key=R|p=T42|add=|z=")},
    {"EmptyScore", Padded("type=0|name=Ann|score=|key=R|p=T42|add=|z=")},
    {"OtherType", Padded("type=1|name=Ann|score=10|key=R|p=T42|add=|z=")},
    {"FieldsOutOfOrder", Padded("type=0|name=Ann|key=R|score=10|p=T42|add=|z=")},
    {"NoOptionsField", Padded("type=0|name=Ann|score=10|key=R|p=T42|z=")},
    {"NoTail", Padded("type=0|name=Ann|score=10|key=R|p=T42|add=")},
    {"PaddingMissing", "type=0|name=Ann|score=10|key=R|p=T42|add=|z="},
    {"PaddingNotZeros", "type=0|name=Ann|score=10|key=R|p=T42|add=|z=x"},
    {"PaddingTooLong", "type=0|name=Ann|score=10|key=R|p=T42|add=|z=000000"},
};

class RefusedSubmission : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedSubmission, IsRefused) {
  EXPECT_FALSE(server::TSubmission::Parse(GetParam().Plain).has_value()) << GetParam().Plain;
}

INSTANTIATE_TEST_SUITE_P(Texts, RefusedSubmission, ::testing::ValuesIn(kRefused),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(Submission, ScoreBoundsAreInclusive) {
  EXPECT_TRUE(server::TSubmission::Parse(Plain("Ann", 0)).has_value());
  EXPECT_TRUE(server::TSubmission::Parse(Plain("Ann", 1'000'000'000)).has_value());
  EXPECT_TRUE(server::TSubmission::Parse(Plain("ABCDEFGHIJKL", 1, "T", "0123456789ab")));
}

}  // namespace
