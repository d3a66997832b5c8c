#pragma once
// The one-time tokens handed out by the handshake.

#include <chrono>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

namespace server {

/// Issues random 128-bit tokens (32 hex digits) and redeems each at most once within its
/// lifetime. The number of tokens waiting to be used is bounded: past the bound the oldest are
/// dropped. Safe to use from several threads.
class TTokenStore {
 public:
  using TClock = std::chrono::steady_clock;

  /// How long a token stays valid.
  static constexpr std::chrono::minutes kLifetime{10};

  /// A store keeping at most this many unused tokens.
  explicit TTokenStore(std::size_t capacity = 100000);

  /// A fresh token, valid from `now` for the lifetime.
  std::string Issue(TClock::time_point now);

  /// True, and the token is used up, when it was issued by this store, not used before and not
  /// expired at `now`; false for anything else.
  bool Redeem(const std::string& token, TClock::time_point now);

  /// How many issued tokens are still waiting to be used or to expire.
  std::size_t Outstanding();

 private:
  void DropExpired(TClock::time_point now);

  std::size_t Capacity_;
  std::mutex Mutex_;
  std::unordered_map<std::string, TClock::time_point> Issued_;
  std::deque<std::pair<TClock::time_point, std::string>> Order_;
};

}  // namespace server
