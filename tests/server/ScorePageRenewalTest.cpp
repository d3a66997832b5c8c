// The kept score page once it expires: one request makes it anew while the others are given the
// expired one, for at most another second, on a real PostgreSQL database whose table of best
// scores is held locked so that making the page waits.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "DatabaseSession.h"
#include "PostgresStoreFixture.h"
#include "server/ScoreService.h"
#include "server/ScoreStore.h"
#include "server/TokenSigner.h"

namespace {

using namespace std::chrono_literals;
using server::TScoreService;

constexpr const char* kPageQuery = "prg=CometLaneDerby&show&type=0";

// Another session holding the table of best scores locked against readers until destroyed.
class TReadLock {
 public:
  explicit TReadLock(const std::string& location) : Session_(location) {
    for (const char* sql : {"BEGIN", "LOCK TABLE best IN ACCESS EXCLUSIVE MODE"}) {
      Session_.Run(sql);
    }
  }

 private:
  servertest::TDatabaseSession Session_;
};

class ScorePageRenewal : public servertest::TPostgresStoreFixture {
 protected:
  void SetUp() override {
    TPostgresStoreFixture::SetUp();
    if (IsSkipped()) return;
    Service =
        std::make_unique<TScoreService>(*Store, Tokens, server::TServiceLimits{0, 0}, nullptr);
  }

  // The page as a request at the time gets it, waiting on the database when it must.
  std::string PageAt(TScoreService::TClock::time_point when) {
    return Service->Handle(kPageQuery, "127.0.0.1", when, 1'000'000).Body;
  }

  // The page a request at the time gets without waiting; nothing when it would have to wait.
  std::optional<std::string> QuickPageAt(TScoreService::TClock::time_point when) {
    const auto reply = Service->HandleWithoutWaiting(kPageQuery, "127.0.0.1", when, 1'000'000);
    if (!reply) return std::nullopt;
    return reply->Body;
  }

  server::TTokenSigner Tokens{"a secret of sixteen bytes or more"};
  std::unique_ptr<TScoreService> Service;
  const TScoreService::TClock::time_point Start = TScoreService::TClock::now();
};

TEST_F(ScorePageRenewal, OthersGetTheExpiredPageWhileOneMakesItAnew) {
  Store->Add({"Ann", 10, "", 1}, "", 0);
  const std::string first = PageAt(Start);
  ASSERT_NE(first.find(">Ann<"), std::string::npos);
  // Stored by another instance: not on the kept page until it is made anew.
  Store->Add({"Bob", 20, "", 1}, "", 0);
  EXPECT_EQ(QuickPageAt(Start + 500ms), first);
  EXPECT_EQ(QuickPageAt(Start + 1500ms), std::nullopt) << "expired, and nobody is making it";

  std::optional<TReadLock> lock(std::in_place, Location);
  auto renewal = std::async(std::launch::async, [this] { return PageAt(Start + 1500ms); });
  ASSERT_EQ(renewal.wait_for(300ms), std::future_status::timeout) << "the lock did not hold";
  EXPECT_EQ(QuickPageAt(Start + 1600ms), first);
  EXPECT_EQ(QuickPageAt(Start + 2500ms), std::nullopt) << "served past twice its age";
  lock.reset();
  const std::string renewed = renewal.get();
  EXPECT_NE(renewed.find(">Bob<"), std::string::npos);
  EXPECT_EQ(QuickPageAt(Start + 1700ms), renewed);
}

}  // namespace
