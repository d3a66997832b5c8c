// Per-address rate limits: a burst, then one request per interval, each address on its own.

#include <gtest/gtest.h>

#include <string>

#include "server/RateLimiter.h"

namespace {

using server::TRateLimiter;
using namespace std::chrono_literals;

const TRateLimiter::TClock::time_point kStart{};

int AllowedAt(TRateLimiter& limiter, const std::string& address,
              TRateLimiter::TClock::time_point at, int tries) {
  int allowed = 0;
  for (int i = 0; i < tries; ++i) allowed += limiter.Allow(address, at) ? 1 : 0;
  return allowed;
}

TEST(RateLimiter, AllowsABurstThenRefills) {
  TRateLimiter limiter(10);
  EXPECT_EQ(AllowedAt(limiter, "a", kStart, 50), 10);
  EXPECT_EQ(AllowedAt(limiter, "a", kStart + 5s, 5), 0);
  EXPECT_EQ(AllowedAt(limiter, "a", kStart + 6s, 5), 1);
  EXPECT_EQ(AllowedAt(limiter, "a", kStart + 10min, 50), 10);
}

TEST(RateLimiter, AddressesAreCountedApart) {
  TRateLimiter limiter(2);
  EXPECT_EQ(AllowedAt(limiter, "a", kStart, 5), 2);
  EXPECT_EQ(AllowedAt(limiter, "b", kStart, 5), 2);
}

TEST(RateLimiter, ZeroMeansNoLimit) {
  TRateLimiter limiter(0);
  EXPECT_EQ(AllowedAt(limiter, "a", kStart, 1000), 1000);
}

TEST(RateLimiter, ManyAddressesStayBounded) {
  TRateLimiter limiter(1);
  for (size_t i = 0; i < TRateLimiter::kMaxAddresses; ++i) {
    ASSERT_TRUE(limiter.Allow(std::to_string(i), kStart));
  }
  // Full of fresh buckets: a new address waits until older buckets have refilled.
  EXPECT_FALSE(limiter.Allow("new", kStart));
  EXPECT_TRUE(limiter.Allow("new", kStart + 2min));
}

}  // namespace
