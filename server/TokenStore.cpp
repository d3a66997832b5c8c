#include "TokenStore.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace server {

namespace {

// 128 bits from the kernel's random source as 32 hex digits. The tokens guard the scores, so
// they must not be predictable from earlier ones.
std::string RandomToken() {
  std::array<unsigned char, 16> bytes{};
  size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
    if (got < 0 && errno != EINTR) throw std::runtime_error("no random source for tokens");
    if (got > 0) filled += static_cast<size_t>(got);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  for (const unsigned char byte : bytes) {
    token += kHex[byte >> 4];
    token += kHex[byte & 15];
  }
  return token;
}

}  // namespace

TTokenStore::TTokenStore(std::size_t capacity) : Capacity_(capacity == 0 ? 1 : capacity) {}

std::string TTokenStore::Issue(TClock::time_point now) {
  const std::lock_guard lock(Mutex_);
  DropExpired(now);
  while (Order_.size() >= Capacity_) {
    Issued_.erase(Order_.front().second);
    Order_.pop_front();
  }
  std::string token = RandomToken();
  Issued_[token] = now;
  Order_.emplace_back(now, token);
  return token;
}

bool TTokenStore::Redeem(const std::string& token, TClock::time_point now) {
  const std::lock_guard lock(Mutex_);
  DropExpired(now);
  // The entry in Order_ stays until it expires; DropExpired tolerates redeemed tokens.
  return Issued_.erase(token) == 1;
}

std::size_t TTokenStore::Outstanding() {
  const std::lock_guard lock(Mutex_);
  return Issued_.size();
}

void TTokenStore::DropExpired(TClock::time_point now) {
  while (!Order_.empty() && now - Order_.front().first >= kLifetime) {
    const auto it = Issued_.find(Order_.front().second);
    if (it != Issued_.end() && it->second == Order_.front().first) Issued_.erase(it);
    Order_.pop_front();
  }
}

}  // namespace server
