// The query parser decides what reaches the database, so every odd query must come out refused.

#include <gtest/gtest.h>

#include <string>

#include "server/ScoreQuery.h"

namespace {

using TKind = server::TScoreQuery::TKind;

struct QueryCase {
  const char* Name;
  std::string Query;
  bool Accepted;
  TKind Kind;
  std::string Info;
};

const QueryCase kCases[] = {
    {"Handshake", "version&prg=CometLaneDerby", true, TKind::Handshake, ""},
    {"HandshakeOtherOrder", "prg=CometLaneDerby&version", true, TKind::Handshake, ""},
    {"Submission", "hs&prg=CometLaneDerby&inf=QWERTY12", true, TKind::Submission, "QWERTY12"},
    {"SubmissionEscaped", "hs&prg=CometLaneDerby&inf=A%42C+D", true, TKind::Submission, "ABC D"},
    {"Page", "prg=CometLaneDerby&show&type=0", true, TKind::Page, ""},
    {"Empty", "", false, TKind::Handshake, ""},
    {"NoProgram", "version", false, TKind::Handshake, ""},
    {"OtherProgram", "version&prg=SomethingElse", false, TKind::Handshake, ""},
    {"ProgramAsFlag", "version&prg", false, TKind::Handshake, ""},
    {"VersionWithValue", "version=1&prg=CometLaneDerby", false, TKind::Handshake, ""},
    {"TwoActions", "version&hs&prg=CometLaneDerby&inf=QQ", false, TKind::Handshake, ""},
    {"RepeatedParameter", "version&prg=CometLaneDerby&prg=CometLaneDerby", false, TKind::Handshake,
     ""},
    {"UnknownParameter", "version&prg=CometLaneDerby&x=1", false, TKind::Handshake, ""},
    {"SubmissionWithoutInfo", "hs&prg=CometLaneDerby", false, TKind::Handshake, ""},
    {"SubmissionEmptyInfo", "hs&prg=CometLaneDerby&inf=", false, TKind::Handshake, ""},
    {"SubmissionInfoAsFlag", "hs&prg=CometLaneDerby&inf", false, TKind::Handshake, ""},
    {"PageWrongType", "prg=CometLaneDerby&show&type=1", false, TKind::Handshake, ""},
    {"PageWithoutType", "prg=CometLaneDerby&show", false, TKind::Handshake, ""},
    {"BrokenEscape", "hs&prg=CometLaneDerby&inf=AB%4", false, TKind::Handshake, ""},
    {"BadHexEscape", "hs&prg=CometLaneDerby&inf=AB%G1", false, TKind::Handshake, ""},
    {"EmptyParameter", "version&&prg=CometLaneDerby", false, TKind::Handshake, ""},
    {"TrailingAmpersand", "version&prg=CometLaneDerby&", false, TKind::Handshake, ""},
    {"NameOnlyEquals", "=x&version&prg=CometLaneDerby", false, TKind::Handshake, ""},
};

class ScoreQueryTable : public ::testing::TestWithParam<QueryCase> {};

TEST_P(ScoreQueryTable, ParsesOrRefuses) {
  const auto& c = GetParam();
  const auto parsed = server::TScoreQuery::Parse(c.Query);
  ASSERT_EQ(parsed.has_value(), c.Accepted);
  if (!parsed) return;
  EXPECT_EQ(parsed->Kind, c.Kind);
  EXPECT_EQ(parsed->Info, c.Info);
}

INSTANTIATE_TEST_SUITE_P(Queries, ScoreQueryTable, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(ScoreQuery, LengthLimitIsInclusive) {
  const std::string head = "hs&prg=CometLaneDerby&inf=";
  const std::string atLimit =
      head + std::string(server::TScoreQuery::kMaxLength - head.size(), 'Q');
  EXPECT_TRUE(server::TScoreQuery::Parse(atLimit).has_value());
  EXPECT_FALSE(server::TScoreQuery::Parse(atLimit + "Q").has_value());
}

TEST(ScoreQuery, EscapedNulAndBinaryBytesStayInsideTheInfo) {
  const auto parsed = server::TScoreQuery::Parse("hs&prg=CometLaneDerby&inf=%00%FF%26");
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->Info, std::string("\0\xFF&", 3));
}

}  // namespace
