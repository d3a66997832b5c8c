// Tokens guard the scores: one use each, ten minutes at most, and none made up by a client.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "server/TokenStore.h"

namespace {

using server::TTokenStore;
using namespace std::chrono_literals;

const TTokenStore::TClock::time_point kStart{};

TEST(TokenStore, TokensAre128BitHexAndDiffer) {
  TTokenStore store;
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) {
    const std::string token = store.Issue(kStart);
    ASSERT_EQ(token.size(), 32u);
    ASSERT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos);
    seen.insert(token);
  }
  EXPECT_EQ(seen.size(), 1000u);
}

TEST(TokenStore, ATokenIsRedeemedOnce) {
  TTokenStore store;
  const std::string token = store.Issue(kStart);
  EXPECT_TRUE(store.Redeem(token, kStart + 1s));
  EXPECT_FALSE(store.Redeem(token, kStart + 2s));
}

TEST(TokenStore, ForgedTokensAreRefused) {
  TTokenStore store;
  const std::string token = store.Issue(kStart);
  std::string altered = token;
  altered[0] = altered[0] == 'a' ? 'b' : 'a';
  for (const std::string& forged :
       {std::string(), altered, std::string(32, '0'), token.substr(0, 31), token + "0"}) {
    EXPECT_FALSE(store.Redeem(forged, kStart)) << forged;
  }
  EXPECT_TRUE(store.Redeem(token, kStart));
}

TEST(TokenStore, TokensExpireAfterTenMinutes) {
  TTokenStore store;
  const std::string kept = store.Issue(kStart);
  const std::string late = store.Issue(kStart);
  EXPECT_TRUE(store.Redeem(kept, kStart + 10min - 1ms));
  EXPECT_FALSE(store.Redeem(late, kStart + 10min));
  EXPECT_EQ(store.Outstanding(), 0u);
}

TEST(TokenStore, WaitingTokensAreBounded) {
  TTokenStore store(3);
  const std::string oldest = store.Issue(kStart);
  std::string newest;
  for (int i = 0; i < 5; ++i) newest = store.Issue(kStart + std::chrono::seconds(i));
  EXPECT_EQ(store.Outstanding(), 3u);
  EXPECT_FALSE(store.Redeem(oldest, kStart + 10s));
  EXPECT_TRUE(store.Redeem(newest, kStart + 10s));
}

}  // namespace
