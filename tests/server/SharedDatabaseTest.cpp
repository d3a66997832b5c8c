// Several comet-score-server processes on one database (an SQLite file, a PostgreSQL database)
// behave as one service: tokens from one are redeemed once by any, scores show on every page
// within a second.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "PostgresCluster.h"
#include "ScoreServerProcess.h"
#include "ServiceRequests.h"

namespace {

using namespace std::chrono_literals;
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

}  // namespace
