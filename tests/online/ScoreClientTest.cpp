// The game's score submission against the real service and against services that misbehave.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "FakeScoreServer.h"
#include "ScoreServerProcess.h"
#include "SilentServer.h"
#include "online/ScoreClient.h"
#include "online/ScoreSubmission.h"
#include "online/TextCodec.h"

namespace {

using onlinetest::TFakeScoreServer;

TEST(ScoreClient, ASubmittedScoreArrivesOnTheRealService) {
  servertest::TTempFolder folder;
  servertest::TScoreServerProcess server(folder.Path() + "/scores.db");
  online::TScoreClient client(server.Address());
  EXPECT_EQ(client.SubmitScore("Ann", 1200, "fast"), online::TSubmitResult::kSent);
  // "Анна" in code page 1251
  EXPECT_EQ(client.SubmitScore("\xC0\xED\xED\xE0", 3400, ""), online::TSubmitResult::kSent);

  platform::THttpClient browser;
  const std::string page = browser.Get(client.ScorePageAddress());
  const size_t anna = page.find(
      "<td class=\"name\">\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0</td><td class=\"score\">3400</td>");
  const size_t ann = page.find("<td class=\"name\">Ann</td><td class=\"score\">1200</td>");
  EXPECT_NE(anna, std::string::npos) << page;
  EXPECT_NE(ann, std::string::npos) << page;
  EXPECT_LT(anna, ann);
}

TEST(ScoreClient, ScorePageAddressUsesTheServiceAddress) {
  EXPECT_EQ(online::TScoreClient("http://scores.example:9000").ScorePageAddress(),
            "http://scores.example:9000/cgi/version.pl?prg=CometLaneDerby&show&type=0");
}

TEST(ScoreClient, ASubmissionTheRealServiceRefusesIsNotAccepted) {
  servertest::TTempFolder folder;
  servertest::TScoreServerProcess server(folder.Path() + "/scores.db", {"--submit-rate", "1"});
  online::TScoreClient client(server.Address());
  EXPECT_EQ(client.SubmitScore("Ann", 1200, ""), online::TSubmitResult::kSent);
  EXPECT_EQ(client.SubmitScore("Ann", 1300, ""), online::TSubmitResult::kNotAccepted);
}

using online::TSubmitResult;

struct ReplyCase {
  const char* Name;
  std::string Reply;
  int Status;
  int SubmissionStatus;
  TSubmitResult Result;
  // The token the submission carries; unused when nothing is submitted.
  std::string Token;
};

const ReplyCase kReplies[] = {
    {"TokenInFifthField", "OK|1|2|3|T42|x", 200, 200, TSubmitResult::kSent, "T42"},
    {"OkAloneSubmitsWithEmptyToken", "OK", 200, 200, TSubmitResult::kSent, ""},
    {"LowerCaseOkIsNoConnection", "ok|1|2|3|T42|x", 200, 200, TSubmitResult::kNoConnection, ""},
    {"EmptyReplyIsNoConnection", "", 200, 200, TSubmitResult::kNoConnection, ""},
    {"ErrorStatusIsNoConnection", "OK|1|2|3|T42|x", 503, 200, TSubmitResult::kNoConnection, ""},
    {"UsedTokenIsNotAccepted", "OK|1|2|3|T42|x", 200, 403, TSubmitResult::kNotAccepted, "T42"},
    {"TooManyScoresIsNotAccepted", "OK|1|2|3|T42|x", 200, 429, TSubmitResult::kNotAccepted, "T42"},
    {"ServiceFailureIsNotAccepted", "OK|1|2|3|T42|x", 200, 500, TSubmitResult::kNotAccepted, "T42"},
};

class FaultyService : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(FaultyService, HandshakeDecidesWhetherToSubmit) {
  const auto& c = GetParam();
  TFakeScoreServer server(c.Reply, c.Status, c.SubmissionStatus);
  online::TScoreClient client(server.Address());
  EXPECT_EQ(client.SubmitScore("Ann", 1200, ""), c.Result);
  const bool submitted = c.Result != TSubmitResult::kNoConnection;
  const auto queries = server.Queries();
  ASSERT_EQ(queries.size(), submitted ? 2u : 1u);
  EXPECT_EQ(queries[0], "version&prg=CometLaneDerby");
  if (!submitted) return;
  const std::string prefix(online::kSubmissionQueryPrefix);
  ASSERT_EQ(queries[1].substr(0, prefix.size()), prefix);
  EXPECT_EQ(online::DecodeText(queries[1].substr(prefix.size())),
            online::PlainSubmissionText("Ann", 1200, c.Token, ""));
}

INSTANTIATE_TEST_SUITE_P(Replies, FaultyService, ::testing::ValuesIn(kReplies),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(ScoreClient, NoServiceAtTheAddressIsNoConnection) {
  online::TScoreClient client(onlinetest::ClosedPortAddress());
  EXPECT_EQ(client.SubmitScore("Ann", 1200, ""), online::TSubmitResult::kNoConnection);
}

TEST(ScoreClient, ASilentServiceEndsInTheTimeLimit) {
  onlinetest::TSilentServer server;
  online::TScoreClient client(server.Address());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(client.SubmitScore("Ann", 1200, ""), online::TSubmitResult::kNoConnection);
  EXPECT_TRUE(server.WasContacted());
  // The total limit is 8 s a request; anything near a minute means the limit does not hold.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

}  // namespace
