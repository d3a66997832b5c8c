// The real comet-score-server on 127.0.0.1, talked to over HTTP as the game and a browser would.

#include <gtest/gtest.h>
#include <httplib.h>
#include <sqlite3.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ScoreServerProcess.h"
#include "online/ScoreSubmission.h"
#include "online/TextCodec.h"
#include "server/ScoreDatabase.h"

namespace {

using servertest::TScoreServerProcess;
using servertest::TTempFolder;

// A client of one running service, with the game's requests spelled out.
class TServiceClient {
 public:
  explicit TServiceClient(const TScoreServerProcess& server) : Http_("127.0.0.1", server.Port()) {
    Http_.set_connection_timeout(5);
    Http_.set_read_timeout(5);
  }

  // Status and body of a GET of /cgi/version.pl with this query (-1 when nothing came back).
  std::pair<int, std::string> Get(const std::string& query) {
    const auto result = Http_.Get("/cgi/version.pl?" + query);
    if (!result) return {-1, ""};
    return {result->status, result->body};
  }

  std::string Token() {
    return online::HandshakeToken(Get(std::string(online::kHandshakeQuery)).second);
  }

  int SubmitPlain(const std::string& plain) {
    return Get(std::string(online::kSubmissionQueryPrefix) + online::EncodeText(plain)).first;
  }

  int Submit(const std::string& name, int64_t score, const std::string& options = "") {
    return SubmitPlain(online::PlainSubmissionText(name, score, Token(), options));
  }

  std::string Page() { return Get(std::string(online::kScorePageQuery)).second; }

 private:
  httplib::Client Http_;
};

class ScoreServer : public ::testing::Test {
 protected:
  std::string DatabaseFile() const { return Folder.Path() + "/scores.db"; }
  int64_t StoredCount() const { return server::TScoreDatabase(DatabaseFile()).Count(); }

  TTempFolder Folder;
  TScoreServerProcess Server{DatabaseFile()};
  TServiceClient Client{Server};
};

TEST_F(ScoreServer, HandshakeGivesAFreshTokenInTheFifthField) {
  const auto [status, body] = Client.Get("version&prg=CometLaneDerby");
  EXPECT_EQ(status, 200);
  EXPECT_TRUE(online::IsHandshakeAccepted(body)) << body;
  const std::string token = online::HandshakeToken(body);
  EXPECT_EQ(token.size(), 32u) << body;
  EXPECT_NE(Client.Token(), token);
}

TEST_F(ScoreServer, PageListsStoredScoresBestFirst) {
  EXPECT_EQ(Client.Submit("Ann", 1200), 200);
  EXPECT_EQ(Client.Submit("Bob", 3400, "fast"), 200);
  EXPECT_EQ(Client.Submit("Cid", 1200), 200);
  EXPECT_EQ(Client.Submit("Dee", 0), 200);
  const std::string page = Client.Page();
  const size_t bob = page.find("<td class=\"name\">Bob</td><td class=\"score\">3400</td>");
  const size_t ann = page.find("<td class=\"name\">Ann</td><td class=\"score\">1200</td>");
  const size_t cid = page.find("<td class=\"name\">Cid</td><td class=\"score\">1200</td>");
  const size_t dee = page.find("<td class=\"name\">Dee</td><td class=\"score\">0</td>");
  ASSERT_NE(dee, std::string::npos) << page;
  EXPECT_LT(bob, ann);
  EXPECT_LT(ann, cid);
  EXPECT_LT(cid, dee);
  EXPECT_NE(page.find("<td class=\"rank\">1</td><td class=\"name\">Bob"), std::string::npos);
}

TEST_F(ScoreServer, CodePageNamesAppearAsUtf8) {
  EXPECT_EQ(Client.Submit("\xC0\xED\xED\xE0", 10), 200);  // "Анна" in code page 1251
  EXPECT_NE(Client.Page().find("\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0"), std::string::npos);
}

TEST_F(ScoreServer, NameWithMarkupIsEscapedOnThePage) {
  EXPECT_EQ(Client.Submit("<b>x</b>&'", 50), 200);
  const std::string page = Client.Page();
  EXPECT_NE(page.find("&lt;b&gt;x&lt;/b&gt;&amp;&#39;"), std::string::npos) << page;
  EXPECT_EQ(page.find("<b>x"), std::string::npos);
}

TEST_F(ScoreServer, UsedTokenIsRefused) {
  const std::string plain = online::PlainSubmissionText("Ann", 10, Client.Token(), "");
  EXPECT_EQ(Client.SubmitPlain(plain), 200);
  EXPECT_EQ(Client.SubmitPlain(plain), 403);
  EXPECT_EQ(StoredCount(), 1);
}

TEST_F(ScoreServer, RefusedRequestsStoreNothing) {
  const std::string token = Client.Token();
  const auto padded = [](std::string text) {
    while (text.size() % 5 != 0) text += '0';
    return text;
  };
  const std::string prefix(online::kSubmissionQueryPrefix);
  const struct {
    const char* Name;
    std::string Query;
    int Status;
  } cases[] = {
      {"WrongKey",
       prefix + online::EncodeText(padded("type=0|name=Ann|score=5|key=Q|p=" + token + "|add=|z=")),
       400},
      {"ForgedToken",
       prefix + online::EncodeText(online::PlainSubmissionText("Ann", 5, std::string(32, 'a'), "")),
       403},
      {"EmptyToken", prefix + online::EncodeText(online::PlainSubmissionText("Ann", 5, "", "")),
       400},
      {"ScoreTooHigh",
       prefix + online::EncodeText(online::PlainSubmissionText("Ann", 2'000'000'000, token, "")),
       400},
      {"InfoNotEncoded", prefix + "hello-world", 400},
      {"InfoOfGarbageSymbols", prefix + "QWERTYUPASDF", 400},
      {"NoProgram", "hs&inf=" + online::EncodeText("x"), 400},
      {"OversizedQuery", prefix + std::string(8200, 'Q'), 414},
      {"NoQuery", "", 400},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Client.Get(c.Query).first, c.Status) << c.Name;
  }
  EXPECT_EQ(StoredCount(), 0);
  // The refusals above did not use the token up.
  EXPECT_EQ(Client.SubmitPlain(online::PlainSubmissionText("Ann", 5, token, "")), 200);
  EXPECT_EQ(StoredCount(), 1);
}

TEST_F(ScoreServer, RequestLineOverEightKilobytesIsRefused) {
  const auto [status, body] =
      Client.Get("version&prg=CometLaneDerby&pad=" + std::string(9000, 'x'));
  EXPECT_EQ(status, 414) << body;
}

TEST_F(ScoreServer, OtherPathsAreNotFound) {
  httplib::Client http("127.0.0.1", Server.Port());
  const auto result = http.Get("/cgi/other.pl?version&prg=CometLaneDerby");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 404);
}

TEST_F(ScoreServer, ScoresSurviveARestart) {
  EXPECT_EQ(Client.Submit("Ann", 1200), 200);
  Server.Stop();
  TScoreServerProcess again(DatabaseFile());
  TServiceClient client(again);
  EXPECT_NE(client.Page().find("<td class=\"name\">Ann</td>"), std::string::npos);
}

TEST_F(ScoreServer, ConcurrentSubmissionsAreAllStored) {
  std::vector<std::thread> players;
  std::atomic<int> accepted{0};
  for (int p = 0; p < 4; ++p) {
    players.emplace_back([&, p] {
      TServiceClient client(Server);
      std::string name = "P";
      name += std::to_string(p);
      for (int i = 0; i < 25; ++i) {
        if (client.Submit(name, p * 100 + i) == 200) ++accepted;
      }
    });
  }
  for (auto& player : players) player.join();
  EXPECT_EQ(accepted.load(), 100);
  EXPECT_EQ(StoredCount(), 100);
}

std::string IntegrityOf(const std::string& file) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
  std::string result = "no answer";
  if (sqlite3_step(statement) == SQLITE_ROW) {
    result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return result;
}

TEST_F(ScoreServer, KilledDuringWritesRestartsOnTheSameFile) {
  std::atomic<int> accepted{0};
  std::atomic<bool> stop{false};
  std::vector<std::thread> writers;
  for (int w = 0; w < 3; ++w) {
    writers.emplace_back([&] {
      TServiceClient client(Server);
      while (!stop && client.Submit("Kay", 7) == 200) ++accepted;
    });
  }
  while (accepted < 60) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  Server.Kill();
  stop = true;
  for (auto& writer : writers) writer.join();

  TScoreServerProcess again(DatabaseFile());
  EXPECT_EQ(IntegrityOf(DatabaseFile()), "ok");
  // Every acknowledged score is there; at most the writes cut off by the kill are missing.
  const int64_t stored = StoredCount();
  EXPECT_GE(stored, accepted.load());
  EXPECT_LE(stored, accepted.load() + 3);
  TServiceClient client(again);
  EXPECT_EQ(client.Submit("Lee", 8), 200);
  EXPECT_EQ(StoredCount(), stored + 1);
}

TEST_F(ScoreServer, StopsCleanlyOnSigterm) {
  const int status = Server.Stop();
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
