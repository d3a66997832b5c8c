// Several comet-score-server processes on one database (an SQLite file, a PostgreSQL database)
// behave as one service: tokens from one are redeemed once by any, scores show on every page
// within a second, a database that waits or goes away holds up only the requests that need it.

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sys/wait.h>

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "DatabaseLock.h"
#include "PostgresCluster.h"
#include "ScoreServerProcess.h"
#include "ServiceRequests.h"
#include "online/ScoreSubmission.h"

namespace {

using namespace std::chrono_literals;
using servertest::TDatabaseLock;
using servertest::TPostgresCluster;
using servertest::TScoreServerProcess;
using TClock = std::chrono::steady_clock;

enum class TBackend { kSqlite, kPostgres };

class SharedDatabase : public ::testing::TestWithParam<TBackend> {
 protected:
  void SetUp() override {
    if (GetParam() == TBackend::kPostgres) {
      if (TPostgresCluster::BinaryFolder().empty()) {
        GTEST_SKIP() << "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin)";
      }
      Cluster = std::make_unique<TPostgresCluster>();
      Database = Cluster->NewDatabase();
    } else {
      Database = Folder.Path() + "/scores.db";
    }
    for (int i = 0; i < 2; ++i) {
      Servers.push_back(std::make_unique<TScoreServerProcess>(Database, std::vector<std::string>{},
                                                              Folder.Path()));
    }
  }

  int Port(int i) const { return Servers[static_cast<size_t>(i)]->Port(); }

  servertest::TTempFolder Folder;
  std::unique_ptr<TPostgresCluster> Cluster;
  std::string Database;
  std::vector<std::unique_ptr<TScoreServerProcess>> Servers;
};

TEST_P(SharedDatabase, ATokenFromOneInstanceIsRedeemedOnceByAny) {
  const std::string token = servertest::TokenFrom(Port(0));
  EXPECT_EQ(servertest::SubmitWith(Port(1), token, "Ann", 4321), 200);
  EXPECT_EQ(servertest::SubmitWith(Port(0), token, "Ann", 4321), 403);
  EXPECT_EQ(servertest::SubmitWith(Port(1), token, "Ann", 4321), 403);
}

TEST_P(SharedDatabase, RacingInstancesStoreATokenOnce) {
  for (int round = 0; round < 5; ++round) {
    const std::string token = servertest::TokenFrom(Port(0));
    std::atomic<int> stored{0};
    std::vector<std::thread> racers;
    for (int i = 0; i < 4; ++i) {
      racers.emplace_back([&, i] {
        if (servertest::SubmitWith(Port(i % 2), token, "Ann", round) == 200) ++stored;
      });
    }
    for (auto& racer : racers) racer.join();
    EXPECT_EQ(stored.load(), 1) << round;
  }
}

TEST_P(SharedDatabase, AScoreShowsOnEveryPageWithinASecond) {
  servertest::Page(Port(0));
  const auto stored = TClock::now();
  ASSERT_EQ(servertest::Submit(Port(1), "Bob", 1234), 200);
  while (servertest::Page(Port(0)).find(">Bob<") == std::string::npos &&
         TClock::now() - stored < 3s) {
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_LE(TClock::now() - stored, 1100ms);
}

// Submissions (more than there are threads serving connections) held up by a locked database,
// each with a token fetched beforehand; joined when the test is over.
class TStuckSubmissions {
 public:
  TStuckSubmissions(int port, int count) {
    for (int i = 0; i < count; ++i) Tokens_.push_back(servertest::TokenFrom(port));
    for (int i = 0; i < count; ++i) {
      Threads_.emplace_back([this, port, i] {
        Statuses_[static_cast<size_t>(i)] =
            servertest::SubmitWith(port, Tokens_[static_cast<size_t>(i)], "Stuck", i);
      });
    }
  }
  ~TStuckSubmissions() { Join(); }
  TStuckSubmissions(const TStuckSubmissions&) = delete;
  TStuckSubmissions& operator=(const TStuckSubmissions&) = delete;

  /// Waits for every answer and returns the statuses.
  std::vector<int> Join() {
    for (auto& thread : Threads_) {
      if (thread.joinable()) thread.join();
    }
    return {Statuses_.begin(), Statuses_.begin() + static_cast<std::ptrdiff_t>(Threads_.size())};
  }

 private:
  std::vector<std::string> Tokens_;
  std::array<std::atomic<int>, 16> Statuses_{};
  std::vector<std::thread> Threads_;
};

TEST_P(SharedDatabase, HandshakesAndKeptPagesDoNotWaitForALockedDatabase) {
  servertest::Page(Port(0));
  std::optional<TDatabaseLock> lock(std::in_place, Database);
  TStuckSubmissions stuck(Port(0), 8);
  std::this_thread::sleep_for(100ms);
  const auto start = TClock::now();
  EXPECT_FALSE(servertest::TokenFrom(Port(0)).empty());
  EXPECT_NE(servertest::Page(Port(0)).find("<html"), std::string::npos);
  EXPECT_LT(TClock::now() - start, 500ms);
  // Released within the database's lock time-out: the held-up scores are stored after all.
  lock.reset();
  for (const int status : stuck.Join()) EXPECT_EQ(status, 200);
}

TEST_P(SharedDatabase, SigtermStopsWithinTwoSecondsWhileADatabaseCallWaits) {
  const TDatabaseLock lock(Database);
  TStuckSubmissions stuck(Port(0), 4);
  std::this_thread::sleep_for(200ms);
  const auto start = TClock::now();
  const int status = Servers[0]->Stop();
  EXPECT_LT(TClock::now() - start, 2s);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_P(SharedDatabase, TokensOutliveARestart) {
  const std::string token = servertest::TokenFrom(Port(0));
  Servers.clear();
  TScoreServerProcess again(Database, {}, Folder.Path());
  EXPECT_EQ(servertest::SubmitWith(again.Port(), token, "Ann", 77), 200);
}

INSTANTIATE_TEST_SUITE_P(Backends, SharedDatabase,
                         ::testing::Values(TBackend::kSqlite, TBackend::kPostgres),
                         [](const auto& test) {
                           return test.param == TBackend::kSqlite ? "Sqlite" : "Postgres";
                         });

// Two instances on a PostgreSQL database whose server goes away and comes back, or whose
// sessions are ended under them.
class ReturningPostgres : public ::testing::Test {
 protected:
  void SetUp() override {
    if (TPostgresCluster::BinaryFolder().empty()) {
      GTEST_SKIP() << "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin)";
    }
    Cluster = std::make_unique<TPostgresCluster>();
    Database = Cluster->NewDatabase();
    for (int i = 0; i < 2; ++i) {
      Servers.push_back(std::make_unique<TScoreServerProcess>(Database, std::vector<std::string>{},
                                                              Folder.Path()));
      // Every instance holds a pooled connection from here on.
      EXPECT_EQ(servertest::Submit(Port(i), "Ann", 1 + i), 200);
    }
  }

  int Port(int i) const { return Servers[static_cast<size_t>(i)]->Port(); }

  // Ends the service's sessions that wait for a lock, and waits until they are gone.
  void EndWaitingSessions() {
    const char* waiting =
        "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() AND pid <> "
        "pg_backend_pid() AND wait_event_type = 'Lock'";
    const std::string end = std::string("SELECT pg_terminate_backend(pid) FROM (") +
                            "SELECT pid FROM pg_stat_activity WHERE datname = current_database() "
                            "AND pid <> pg_backend_pid() AND wait_event_type = 'Lock') waiting";
    ASSERT_TRUE(WaitFor([&] { return Query(waiting) != "0"; }));
    Query(end.c_str());
    ASSERT_TRUE(WaitFor([&] { return Query(waiting) == "0"; }));
  }

  // The first value of the query's answer, on a connection of the test's own.
  std::string Query(const char* sql) const {
    PGconn* connection = PQconnectdb(Database.c_str());
    PGresult* result = PQexec(connection, sql);
    std::string value = PQntuples(result) > 0 ? PQgetvalue(result, 0, 0) : "";
    PQclear(result);
    PQfinish(connection);
    return value;
  }

  template <class TCondition>
  static bool WaitFor(TCondition condition) {
    const auto start = TClock::now();
    while (!condition()) {
      if (TClock::now() - start > 5s) return false;
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }

  servertest::TTempFolder Folder;
  std::unique_ptr<TPostgresCluster> Cluster;
  std::string Database;
  std::vector<std::unique_ptr<TScoreServerProcess>> Servers;
};

TEST_F(ReturningPostgres, EveryInstanceCarriesOnAfterTheDatabaseRestarts) {
  Cluster->Stop();
  Cluster->Start();
  EXPECT_EQ(servertest::Submit(Port(0), "Bob", 10), 200);
  EXPECT_EQ(servertest::Submit(Port(1), "Cid", 20), 200);
  std::this_thread::sleep_for(1100ms);
  const std::string page = servertest::Page(Port(0));
  EXPECT_NE(page.find(">Bob<"), std::string::npos);
  EXPECT_NE(page.find(">Cid<"), std::string::npos);
}

TEST_F(ReturningPostgres, WhileItIsDownScoresAnswer500AndAreLoggedThenItRecovers) {
  Cluster->Stop();
  const std::string token = servertest::TokenFrom(Port(0));
  EXPECT_FALSE(token.empty()) << "handshakes need no database";
  EXPECT_EQ(servertest::SubmitWith(Port(0), token, "Bob", 10), 500);
  EXPECT_EQ(servertest::Get(Port(0), std::string(online::kScorePageQuery)).first, 500);
  EXPECT_NE(Servers[0]->ErrorLog().find("score from 127.0.0.1 not stored"), std::string::npos)
      << Servers[0]->ErrorLog();
  Cluster->Start();
  EXPECT_EQ(servertest::SubmitWith(Port(0), token, "Bob", 10), 200);
  EXPECT_NE(servertest::Page(Port(0)).find(">Bob<"), std::string::npos);
}

TEST_F(ReturningPostgres, ASessionEndedMidRequestAnswers500OnceAndIsReplaced) {
  {
    const TDatabaseLock lock(Database);
    TStuckSubmissions stuck(Port(0), 1);
    EndWaitingSessions();
    EXPECT_EQ(stuck.Join(), std::vector<int>{500});
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(servertest::Submit(Port(0), "Bob", 10 + i), 200) << i;
  EXPECT_NE(Servers[0]->ErrorLog().find("not stored"), std::string::npos);
}

}  // namespace
