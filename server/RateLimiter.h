#pragma once
// Per-address token buckets bounding how often one client may do something.

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

namespace server {

/// Allows each address a burst of `perMinute` requests and then one every 60/perMinute seconds.
/// Keeps a bounded number of addresses: when full, addresses whose bucket has refilled are
/// forgotten (they lose nothing by it). Safe to use from several threads.
class TRateLimiter {
 public:
  using TClock = std::chrono::steady_clock;

  /// Addresses remembered at most; past it new addresses are refused until buckets refill.
  static constexpr std::size_t kMaxAddresses = 100000;

  /// A limiter of this many requests a minute per address; 0 allows everything.
  explicit TRateLimiter(int perMinute);

  /// True, and one request is counted, when the address may make a request at `now`.
  bool Allow(const std::string& address, TClock::time_point now);

 private:
  struct TBucket {
    double Tokens = 0;
    TClock::time_point Updated;
  };

  double Refilled(const TBucket& bucket, TClock::time_point now) const;
  void ForgetFullBuckets(TClock::time_point now);

  double Capacity_;
  double PerSecond_;
  std::mutex Mutex_;
  std::unordered_map<std::string, TBucket> Buckets_;
};

}  // namespace server
