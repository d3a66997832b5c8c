// The texts the game sends for a score: handshake test, token field and the padded plain text.

#include <gtest/gtest.h>

#include <string>

#include "online/ScoreSubmission.h"

namespace {

struct TokenCase {
  const char* Name;
  std::string Reply;
  bool Accepted;
  std::string Token;
};

const TokenCase kReplies[] = {
    {"FifthField", "OK|1|2|3|T42|x", true, "T42"},
    {"FifthFieldWithEmptyRest", "OK|1|2|3|T42|", true, "T42"},
    {"OkAlone", "OK", true, ""},
    {"TooFewSeparators", "OK|1|2|3|T42", true, ""},
    {"EmptyFifthField", "OK|1|2|3||x", true, ""},
    {"MoreFieldsAfter", "OK|a|b|c|tok|d|e", true, "tok"},
    {"OkFollowedByText", "OKAY|1|2|3|T|", true, "T"},
    {"LowerCaseOk", "ok|1|2|3|T42|x", false, "T42"},
    {"Empty", "", false, ""},
    {"SingleO", "O", false, ""},
    {"LeadingBlank", " OK|1|2|3|T|", false, "T"},
};

class HandshakeReply : public ::testing::TestWithParam<TokenCase> {};

TEST_P(HandshakeReply, IsJudgedAndSplit) {
  const auto& c = GetParam();
  EXPECT_EQ(online::IsHandshakeAccepted(c.Reply), c.Accepted);
  EXPECT_EQ(online::HandshakeToken(c.Reply), c.Token);
}

INSTANTIATE_TEST_SUITE_P(Replies, HandshakeReply, ::testing::ValuesIn(kReplies),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(PlainSubmissionText, AnnWith1200) {
  const std::string text = online::PlainSubmissionText("Ann", 1200, "T42", "");
  // 46 characters before the padding, so four "0" make 50.
  EXPECT_EQ(text, "type=0|name=Ann|score=1200|key=R|p=T42|add=|z=0000");
}

TEST(PlainSubmissionText, PadsToAMultipleOfFiveInEveryCase) {
  for (int extra = 0; extra < 10; ++extra) {
    const std::string name(1 + extra, 'n');
    const std::string text = online::PlainSubmissionText(name, 5, "tok", "");
    EXPECT_EQ(text.size() % 5, 0u) << text;
    const size_t tail = text.rfind("|z=");
    EXPECT_LT(text.size() - tail - 3, 5u) << text;
    EXPECT_EQ(text.find_first_not_of('0', tail + 3), std::string::npos) << text;
  }
}

TEST(PlainSubmissionText, NegativeScoresKeepTheirSign) {
  EXPECT_NE(online::PlainSubmissionText("A", -15, "t", "o").find("|score=-15|"), std::string::npos);
}

}  // namespace
