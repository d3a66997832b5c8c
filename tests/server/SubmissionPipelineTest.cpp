// Scores handed to the store without waiting (TScoreStore::AddLater): they are written in
// batches (on PostgreSQL through one pipelined connection), yet a failing score leaves the
// others stored, a token is redeemed once whoever races for it, and a stop drops what is queued
// at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "DatabaseLock.h"
#include "DatabaseSession.h"
#include "PostgresStoreFixture.h"
#include "ScoreServerProcess.h"
#include "StoreBackends.h"
#include "server/PostgresSubmissionPipeline.h"
#include "server/ScoreStore.h"

namespace {

using namespace std::chrono_literals;
using server::TScoreRow;
using server::TScoreStore;
using servertest::TBackend;
using servertest::TStoreBackends;
using TAddResult = TScoreStore::TAddResult;

// What became of one queued score: its result, or the database's failure.
using TOutcome = TScoreStore::TAddOutcome;

// Collects the outcomes of queued scores, each in its slot, from whichever thread answers.
class TOutcomes {
 public:
  explicit TOutcomes(std::size_t count) : Outcomes_(count) {}

  /// The callback that fills the slot.
  TScoreStore::TAddDone Slot(std::size_t index) {
    return [this, index](TAddResult result, const std::string& error) {
      const std::lock_guard lock(Mutex_);
      Outcomes_[index] = TOutcome{result, error};
      ++Answered_;
      Changed_.notify_all();
    };
  }

  /// Waits until every slot is filled (or the time is up); returns how many are.
  std::size_t Wait(std::chrono::milliseconds limit) {
    std::unique_lock lock(Mutex_);
    Changed_.wait_for(lock, limit, [this] { return Answered_ == Outcomes_.size(); });
    return Answered_;
  }

  /// The slot's outcome; nothing when it was never answered.
  std::optional<TOutcome> At(std::size_t index) {
    const std::lock_guard lock(Mutex_);
    return Outcomes_[index];
  }

 private:
  std::mutex Mutex_;
  std::condition_variable Changed_;
  std::vector<std::optional<TOutcome>> Outcomes_;
  std::size_t Answered_ = 0;
};

// A token of its own for the i-th score of a case.
std::string TokenOf(std::size_t i) {
  std::string token = std::to_string(i);
  token += "-token";
  return token;
}

class QueuedScores : public TStoreBackends {
 protected:
  void SetUp() override {
    TStoreBackends::SetUp();
    if (IsSkipped()) return;
    Store = server::OpenScoreStore(Location, 2);
  }

  std::unique_ptr<TScoreStore> Store;
};

TEST_P(QueuedScores, TwoInstancesRacingForEachTokenStoreItOnce) {
  // Two processes' stores on one database, each handed every token at the same moment.
  const auto other = server::OpenScoreStore(Location, 2);
  constexpr std::size_t kTokens = 60;
  TOutcomes mine(kTokens);
  TOutcomes theirs(kTokens);
  std::thread racer([&] {
    for (std::size_t i = 0; i < kTokens; ++i) {
      other->AddLater({"Bob", static_cast<int64_t>(i), "", 1}, TokenOf(i), 2'000'000'000,
                      theirs.Slot(i));
    }
  });
  for (std::size_t i = 0; i < kTokens; ++i) {
    Store->AddLater({"Ann", static_cast<int64_t>(i), "", 1}, TokenOf(i), 2'000'000'000,
                    mine.Slot(i));
  }
  racer.join();
  ASSERT_EQ(mine.Wait(10s), kTokens);
  ASSERT_EQ(theirs.Wait(10s), kTokens);
  for (std::size_t i = 0; i < kTokens; ++i) {
    const auto a = mine.At(i);
    const auto b = theirs.At(i);
    EXPECT_EQ(a->Error + b->Error, "") << i;
    EXPECT_NE(a->Result, b->Result) << "token " << i << " stored twice or never";
  }
  EXPECT_EQ(Store->Count(), static_cast<int64_t>(kTokens));
}

TEST_P(QueuedScores, AnsweredInOrderWithTheBestKept) {
  constexpr std::size_t kScores = 100;
  TOutcomes outcomes(kScores);
  for (std::size_t i = 0; i < kScores; ++i) {
    Store->AddLater({"Ann", static_cast<int64_t>((i * 37) % 101), "", 1}, TokenOf(i), 2'000'000'000,
                    outcomes.Slot(i));
  }
  ASSERT_EQ(outcomes.Wait(10s), kScores);
  for (std::size_t i = 0; i < kScores; ++i) {
    EXPECT_EQ(outcomes.At(i)->Error, "") << i;
    EXPECT_EQ(outcomes.At(i)->Result, TAddResult::kStored) << i;
  }
  const auto top = Store->Top(10);
  ASSERT_EQ(top.size(), 1u);
  EXPECT_EQ(top[0].Score, 100);
  EXPECT_EQ(Store->Count(), static_cast<int64_t>(kScores));
}

INSTANTIATE_TEST_SUITE_P(Backends, QueuedScores,
                         ::testing::Values(TBackend::kSqlite, TBackend::kPostgres),
                         TStoreBackends::NameOf);

// One queued score of a batch and what must become of it.
struct TBatchCase {
  TScoreRow Row;
  std::string Token;
  bool Fails = false;
  TAddResult Result = TAddResult::kStored;
};

// Checks each queued score's outcome against its case.
void ExpectOutcomes(TOutcomes& outcomes, const std::vector<TBatchCase>& cases) {
  ASSERT_EQ(outcomes.Wait(5s), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto outcome = outcomes.At(i);
    EXPECT_EQ(!outcome->Error.empty(), cases[i].Fails) << i << ": " << outcome->Error;
    if (!cases[i].Fails) {
      EXPECT_EQ(outcome->Result, cases[i].Result) << i;
    }
  }
}

TEST(SqliteQueue, AFailingScoreInABatchLeavesTheOthersStoredAndItsTokenFree) {
  const servertest::TTempFolder folder;
  const std::string file = folder.Path() + "/scores.db";
  TOutcomes held(1);
  TOutcomes outcomes(5);
  const auto store = server::OpenScoreStore(file, 1);
  servertest::TDatabaseSession(file).Run(
      "CREATE TRIGGER refuse_eve BEFORE INSERT ON scores WHEN NEW.name = 'Eve'"
      " BEGIN SELECT RAISE(ABORT, 'Eve is refused'); END");
  const std::vector<TBatchCase> cases = {
      {{"Ann", 10, "", 1}, "a"},
      // Refused after its token was redeemed: the redemption goes with it.
      {{"Eve", 30, "", 1}, "e", true},
      {{"Bob", 20, "", 1}, "b"},
      {{"Dan", 50, "", 1}, "e"},
      // The token Bob's score redeemed earlier in the same batch.
      {{"Cid", 40, "", 1}, "b", false, TAddResult::kTokenUsed},
  };
  {
    // The writer waits on the lock with the first score; the others queue behind it and go
    // out together.
    const servertest::TDatabaseLock lock(file);
    store->AddLater({"First", 1, "", 1}, "", 0, held.Slot(0));
    std::this_thread::sleep_for(100ms);
    for (std::size_t i = 0; i < cases.size(); ++i) {
      store->AddLater(cases[i].Row, cases[i].Token, 2'000'000'000, outcomes.Slot(i));
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(outcomes.Wait(0ms), 0u) << "answered while the database was locked";
  }
  ASSERT_EQ(held.Wait(5s), 1u);
  ExpectOutcomes(outcomes, cases);
  std::vector<std::pair<std::string, int64_t>> top;
  for (const auto& row : store->Top(10)) top.emplace_back(row.Name, row.Score);
  EXPECT_EQ(top, (std::vector<std::pair<std::string, int64_t>>{
                     {"Dan", 50}, {"Bob", 20}, {"Ann", 10}, {"First", 1}}));
}

// Another session redeeming a token in a transaction it keeps open, as a racing instance in the
// middle of its own transaction would.
class TTokenHolder {
 public:
  TTokenHolder(const std::string& location, const std::string& token) : Session_(location) {
    Session_.Run("BEGIN");
    Session_.Run("INSERT INTO redeemed (token, expires) VALUES ('" + token + "', 2000000000)");
  }

 private:
  servertest::TDatabaseSession Session_;
};

// Makes the database refuse every score under the name "Doomed" when its transaction commits,
// as a check deferred to the commit would: the statement itself succeeds.
void RefuseDoomedAtCommit(const std::string& location) {
  servertest::TDatabaseSession session(location);
  for (const char* sql :
       {"CREATE FUNCTION refuse_doomed() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN"
        " IF NEW.name = 'Doomed' THEN RAISE EXCEPTION 'doomed at commit'; END IF;"
        " RETURN NULL; END $$",
        "CREATE CONSTRAINT TRIGGER refuse_doomed AFTER INSERT ON scores"
        " DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION refuse_doomed()"}) {
    session.Run(sql);
  }
}

class PostgresPipeline : public servertest::TPostgresStoreFixture {
 protected:
  void SetUp() override {
    TPostgresStoreFixture::SetUp();
    if (IsSkipped()) return;
    OpenThePipeline(*Store);
  }

  // Opens the store's pipeline connection, which opens with its first score (preparing its
  // statements would wait on a locked table).
  static void OpenThePipeline(TScoreStore& store) {
    TOutcomes opened(1);
    store.AddLater({"First", 1, "", 1}, "", 0, opened.Slot(0));
    ASSERT_EQ(opened.Wait(5s), 1u);
  }

  // Queues scores that wait in the database on the lock, one a batch, until the store's pipeline
  // may send no more batches: whatever is queued next goes out together in the following batch.
  static void HoldUp(TScoreStore& store, TOutcomes& held) {
    for (std::size_t i = 0; i < kHeldBatches; ++i) {
      store.AddLater({"First", 2, "", 1}, "", 0, held.Slot(i));
      std::this_thread::sleep_for(100ms);
    }
  }

  // The store stops before the outcomes it answers into go.
  void TearDown() override { Store.reset(); }

  // Holds up the store's pipeline (see HoldUp), its held scores answered into Held.
  void HoldUpThePipeline() { HoldUp(*Store, Held); }

  static constexpr std::size_t kHeldBatches =
      server::TPostgresSubmissionPipeline::kMaxBatchesInFlight;
  TOutcomes Held{kHeldBatches};
};

TEST_F(PostgresPipeline, AFailingScoreInABatchLeavesTheOthersStored) {
  const std::vector<TBatchCase> cases = {
      {{"Ann", 10, "", 1}, "a"},
      {{"Bob", 20, "", 1}, "b"},
      // Its token is held by another session's open transaction: the lock time-out fails it.
      {{"Eve", 30, "", 1}, "held", true},
      {{"Cid", 40, "", 1}, "d"},
      // The token Bob's score redeemed earlier in the same batch.
      {{"Dan", 50, "", 1}, "b", false, TAddResult::kTokenUsed},
      {{"Ann", 60, "", 1}, "e"},
  };
  TOutcomes outcomes(cases.size());
  const TTokenHolder holder(Location, "held");
  {
    const servertest::TDatabaseLock lock(Location);
    HoldUpThePipeline();
    for (std::size_t i = 0; i < cases.size(); ++i) {
      Store->AddLater(cases[i].Row, cases[i].Token, 2'000'000'000, outcomes.Slot(i));
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(outcomes.Wait(0ms), 0u) << "answered while the database was locked";
  }
  ASSERT_EQ(Held.Wait(5s), kHeldBatches);
  ExpectOutcomes(outcomes, cases);
  EXPECT_NE(outcomes.At(2)->Error.find("lock"), std::string::npos) << outcomes.At(2)->Error;
  EXPECT_EQ(Store->Count(), 1 + kHeldBatches + 4);
  std::vector<std::pair<std::string, int64_t>> top;
  for (const auto& row : Store->Top(10)) top.emplace_back(row.Name, row.Score);
  EXPECT_EQ(top, (std::vector<std::pair<std::string, int64_t>>{
                     {"Ann", 60}, {"Cid", 40}, {"Bob", 20}, {"First", 2}}));
}

TEST_F(PostgresPipeline, AScoreRefusedAtCommitIsAnsweredWithTheFailure) {
  RefuseDoomedAtCommit(Location);
  TOutcomes outcomes(1);
  Store->AddLater({"Doomed", 10, "", 1}, "", 0, outcomes.Slot(0));
  ASSERT_EQ(outcomes.Wait(5s), 1u);
  EXPECT_NE(outcomes.At(0)->Error.find("doomed at commit"), std::string::npos)
      << "answered \"" << outcomes.At(0)->Error << "\"";
  EXPECT_EQ(Store->Count(), 1);
}

TEST_F(PostgresPipeline, ACommitRefusedForOneScoreOfABatchLeavesTheOthersStored) {
  RefuseDoomedAtCommit(Location);
  const std::vector<std::string> names = {"Ann", "Doomed", "Bob"};
  TOutcomes outcomes(names.size());
  {
    const servertest::TDatabaseLock lock(Location);
    HoldUpThePipeline();
    for (std::size_t i = 0; i < names.size(); ++i) {
      Store->AddLater({names[i], 10, "", 1}, "", 0, outcomes.Slot(i));
    }
    std::this_thread::sleep_for(100ms);
  }
  ASSERT_EQ(Held.Wait(5s), kHeldBatches);
  ASSERT_EQ(outcomes.Wait(5s), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(outcomes.At(i)->Error.empty(), names[i] != "Doomed")
        << names[i] << ": \"" << outcomes.At(i)->Error << "\"";
  }
  EXPECT_EQ(Store->Count(), 1 + kHeldBatches + 2);
}

TEST_F(PostgresPipeline, TwoInstancesBatchingNamesInOppositeOrdersStoreThemInOneOrder) {
  // Each instance's batch takes the names' best rows as it goes: in the orders queued, the two
  // would wait on each other until a lock time-out.
  constexpr std::size_t kNames = 40;
  TOutcomes outcomes(2 * kNames);
  TOutcomes otherHeld(kHeldBatches);
  const auto other = server::OpenScoreStore(Location, 1);
  OpenThePipeline(*other);
  {
    const servertest::TDatabaseLock lock(Location);
    HoldUpThePipeline();
    HoldUp(*other, otherHeld);
    for (std::size_t i = 0; i < kNames; ++i) {
      Store->AddLater({"Racer" + std::to_string(100 + i), 10, "", 1}, "", 0, outcomes.Slot(i));
      other->AddLater({"Racer" + std::to_string(100 + kNames - 1 - i), 20, "", 1}, "", 0,
                      outcomes.Slot(kNames + i));
    }
    std::this_thread::sleep_for(100ms);
  }
  ASSERT_EQ(outcomes.Wait(10s), 2 * kNames);
  for (std::size_t i = 0; i < 2 * kNames; ++i) EXPECT_EQ(outcomes.At(i)->Error, "") << i;
  EXPECT_EQ(Cluster->ServerLog().find("ERROR"), std::string::npos) << Cluster->ServerLog();
  // Each instance's scores, in the order they were stored.
  std::map<int64_t, std::vector<std::pair<int64_t, std::string>>> stored;
  for (const auto& listed : Store->List("")) {
    if (listed.Row.Name != "First")
      stored[listed.Row.Score].emplace_back(listed.Id, listed.Row.Name);
  }
  for (auto& [score, rows] : stored) {
    ASSERT_EQ(rows.size(), kNames) << score;
    std::sort(rows.begin(), rows.end());
    for (std::size_t i = 1; i < rows.size(); ++i) {
      EXPECT_LT(rows[i - 1].second, rows[i].second) << "stored out of name order: " << score;
    }
  }
}

TEST_F(PostgresPipeline, DroppingQueuedScoresIsQuickAndAnswersNone) {
  const servertest::TDatabaseLock lock(Location);
  HoldUpThePipeline();
  TOutcomes queued(5);
  for (std::size_t i = 0; i < 5; ++i) {
    Store->AddLater({"Ann", 1, "", 1}, TokenOf(i), 2'000'000'000, queued.Slot(i));
  }
  const auto start = std::chrono::steady_clock::now();
  Store->DropQueuedWrites();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
  EXPECT_EQ(Held.Wait(0ms) + queued.Wait(0ms), 0u);
}

TEST_F(PostgresPipeline, TheFirstScoreAfterTheDatabaseRestartsIsStored) {
  Cluster->Stop();
  Cluster->Start();
  TOutcomes after(1);
  Store->AddLater({"Ann", 2, "", 1}, "", 0, after.Slot(0));
  ASSERT_EQ(after.Wait(5s), 1u);
  EXPECT_EQ(after.At(0)->Error, "");
  EXPECT_EQ(Store->Count(), 2);
}

TEST_F(PostgresPipeline, WhileTheDatabaseIsDownScoresFailThenItRecovers) {
  Cluster->Stop();
  TOutcomes down(3);
  for (std::size_t i = 0; i < 3; ++i) Store->AddLater({"Ann", 1, "", 1}, "", 0, down.Slot(i));
  ASSERT_EQ(down.Wait(10s), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NE(down.At(i)->Error.find("score database"), std::string::npos) << down.At(i)->Error;
  }
  Cluster->Start();
  TOutcomes up(1);
  Store->AddLater({"Ann", 5, "", 1}, "", 0, up.Slot(0));
  ASSERT_EQ(up.Wait(5s), 1u);
  EXPECT_EQ(up.At(0)->Error, "");
  EXPECT_EQ(Store->Count(), 2);
}

}  // namespace
