// The score tables behind the service, the same on an SQLite file and on PostgreSQL: one row per
// name, bans, removal, tokens redeemed once, and a secret shared by everyone on the database.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "PostgresCluster.h"
#include "ScoreServerProcess.h"
#include "StoreBackends.h"
#include "server/ScoreStore.h"

namespace {

using server::TScoreRow;
using server::TScoreStore;
using servertest::TBackend;
using servertest::TPostgresCluster;
using servertest::TStoreBackends;

class ScoreStores : public TStoreBackends {
 protected:
  void SetUp() override {
    TStoreBackends::SetUp();
    if (IsSkipped()) return;
    Store = server::OpenScoreStore(Location);
  }

  std::vector<std::pair<std::string, int64_t>> TopNamesAndScores() {
    std::vector<std::pair<std::string, int64_t>> top;
    for (const auto& row : Store->Top(100)) top.emplace_back(row.Name, row.Score);
    return top;
  }

  void Add(const std::string& name, int64_t score) {
    ASSERT_EQ(Store->Add({name, score, "", 1}, "", 0), TScoreStore::TAddResult::kStored);
  }

  std::unique_ptr<TScoreStore> Store;
};

using TTop = std::vector<std::pair<std::string, int64_t>>;

TEST_P(ScoreStores, ThePageHasEachNameOnceWithItsBestScore) {
  Add("Ann", 100);
  Add("Bob", 300);
  Add("Ann", 500);
  Add("Cid", 300);
  Add("Ann", 200);
  EXPECT_EQ(TopNamesAndScores(), (TTop{{"Ann", 500}, {"Bob", 300}, {"Cid", 300}}));
  EXPECT_EQ(Store->Count(), 5);
}

TEST_P(ScoreStores, BannedNamesAreKeptButNotShown) {
  Add("Ann", 100);
  Add("Cheat", 999);
  Store->SetBanned("Cheat", true);
  EXPECT_EQ(TopNamesAndScores(), (TTop{{"Ann", 100}}));
  const auto listed = Store->List("Cheat");
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_TRUE(listed[0].Banned);
  Store->SetBanned("Cheat", false);
  EXPECT_EQ(TopNamesAndScores(), (TTop{{"Cheat", 999}, {"Ann", 100}}));
}

TEST_P(ScoreStores, RemovingABestScoreBringsBackTheNextOne) {
  Add("Ann", 100);
  Add("Ann", 700);
  Add("Bob", 400);
  const auto listed = Store->List("Ann");
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].Row.Score, 700);
  EXPECT_EQ(Store->Remove({listed[0].Id, 999999}), 1);
  EXPECT_EQ(TopNamesAndScores(), (TTop{{"Bob", 400}, {"Ann", 100}}));
  EXPECT_EQ(Store->Remove({listed[1].Id}), 1);
  EXPECT_EQ(TopNamesAndScores(), (TTop{{"Bob", 400}}));
}

TEST_P(ScoreStores, ATokenIsRedeemedOnceEvenWhenRacing) {
  std::vector<std::unique_ptr<TScoreStore>> stores;
  for (int i = 0; i < 4; ++i) stores.push_back(server::OpenScoreStore(Location));
  for (int round = 0; round < 10; ++round) {
    const std::string token = "token" + std::to_string(round);
    std::atomic<int> stored{0};
    std::vector<std::thread> racers;
    for (auto& store : stores) {
      racers.emplace_back([&, s = store.get()] {
        if (s->Add({"Ann", round, "", 1}, token, 2'000'000'000) ==
            TScoreStore::TAddResult::kStored) {
          ++stored;
        }
      });
    }
    for (auto& racer : racers) racer.join();
    EXPECT_EQ(stored.load(), 1) << round;
  }
  EXPECT_EQ(Store->Count(), 10);
}

TEST_P(ScoreStores, ScoresOfOneNameArrivingTogetherKeepItsBest) {
  // Four processes' worth of stores, each sending rising and falling scores of one name at once:
  // whichever order they commit in, the page shows the highest.
  std::vector<std::unique_ptr<TScoreStore>> stores;
  for (int i = 0; i < 4; ++i) stores.push_back(server::OpenScoreStore(Location, 2));
  std::vector<std::thread> senders;
  for (int i = 0; i < 4; ++i) {
    senders.emplace_back([&, i] {
      for (int n = 0; n < 50; ++n) {
        const int64_t score = (n * 37 + i * 11) % 200;
        stores[static_cast<size_t>(i)]->Add({"Ann", score, "", 1}, "", 0);
      }
    });
  }
  for (auto& sender : senders) sender.join();
  int64_t best = 0;
  for (int i = 0; i < 4; ++i) {
    for (int n = 0; n < 50; ++n) best = std::max<int64_t>(best, (n * 37 + i * 11) % 200);
  }
  EXPECT_EQ(TopNamesAndScores(), (TTop{{"Ann", best}}));
  EXPECT_EQ(Store->Count(), 200);
}

TEST_P(ScoreStores, ExpiredRedeemedTokensAreForgotten) {
  ASSERT_EQ(Store->Add({"Ann", 1, "", 1}, "old", 100), TScoreStore::TAddResult::kStored);
  ASSERT_EQ(Store->Add({"Ann", 1, "", 1}, "new", 300), TScoreStore::TAddResult::kStored);
  Store->DropExpiredTokens(200);
  EXPECT_EQ(Store->Add({"Ann", 1, "", 1}, "old", 100), TScoreStore::TAddResult::kStored);
  EXPECT_EQ(Store->Add({"Ann", 1, "", 1}, "new", 300), TScoreStore::TAddResult::kTokenUsed);
}

TEST_P(ScoreStores, EveryoneOnTheDatabaseGetsTheSameSecret) {
  const std::string secret = Store->Secret();
  EXPECT_GE(secret.size(), 64u);
  EXPECT_EQ(server::OpenScoreStore(Location)->Secret(), secret);
}

TEST_P(ScoreStores, NamesAndOptionsKeepTheirUtf8) {
  ASSERT_EQ(Store->Add({"\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0", 5, "r\xC3\xA1pido", 1234}, "", 0),
            TScoreStore::TAddResult::kStored);
  const auto top = Store->Top(10);
  ASSERT_EQ(top.size(), 1u);
  EXPECT_EQ(top[0].Name, "\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0");
  EXPECT_EQ(top[0].OptionsText, "r\xC3\xA1pido");
  EXPECT_EQ(top[0].Time, 1234);
}

INSTANTIATE_TEST_SUITE_P(Backends, ScoreStores,
                         ::testing::Values(TBackend::kSqlite, TBackend::kPostgres),
                         TStoreBackends::NameOf);

TEST(PostgresStore, PooledConnectionsEndedByARestartAreReplacedBeforeUse) {
  if (TPostgresCluster::BinaryFolder().empty()) GTEST_SKIP() << "PostgreSQL is not installed";
  TPostgresCluster cluster;
  const auto store = server::OpenScoreStore(cluster.NewDatabase(), 3);
  // Three connections in the pool, all idle once the calls are over.
  std::vector<std::thread> callers;
  for (int i = 0; i < 3; ++i) callers.emplace_back([&store] { store->Top(10); });
  for (auto& caller : callers) caller.join();
  cluster.Stop();
  EXPECT_THROW(store->Top(10), server::TDatabaseError);
  cluster.Start();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(store->Add({"Ann", i, "", 1}, "", 0), TScoreStore::TAddResult::kStored) << i;
  }
  EXPECT_EQ(store->Count(), 3);
}

TEST(PostgresStore, AnUnreachableDatabaseIsAClearError) {
  try {
    server::OpenScoreStore("postgresql:///none?host=/nonexistent&user=u&password=hidden");
    FAIL() << "opened";
  } catch (const server::TDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("cannot connect to score database"), std::string::npos)
        << e.what();
  }
}

}  // namespace
