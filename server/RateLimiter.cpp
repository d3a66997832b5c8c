#include "RateLimiter.h"

#include <algorithm>

namespace server {

TRateLimiter::TRateLimiter(int perMinute)
    : Capacity_(perMinute), PerSecond_(static_cast<double>(perMinute) / 60.0) {}

bool TRateLimiter::Allow(const std::string& address, TClock::time_point now) {
  if (Capacity_ <= 0) return true;
  const std::lock_guard lock(Mutex_);
  auto it = Buckets_.find(address);
  if (it == Buckets_.end()) {
    if (Buckets_.size() >= kMaxAddresses) ForgetFullBuckets(now);
    if (Buckets_.size() >= kMaxAddresses) return false;
    it = Buckets_.emplace(address, TBucket{Capacity_, now}).first;
  }
  TBucket& bucket = it->second;
  bucket.Tokens = Refilled(bucket, now);
  bucket.Updated = now;
  // A little slack for the rounding of refills added up over many calls.
  if (bucket.Tokens < 1.0 - 1e-9) return false;
  bucket.Tokens -= 1.0;
  return true;
}

double TRateLimiter::Refilled(const TBucket& bucket, TClock::time_point now) const {
  const double seconds = std::chrono::duration<double>(now - bucket.Updated).count();
  return std::min(Capacity_, bucket.Tokens + std::max(0.0, seconds) * PerSecond_);
}

void TRateLimiter::ForgetFullBuckets(TClock::time_point now) {
  std::erase_if(Buckets_,
                [&](const auto& entry) { return Refilled(entry.second, now) >= Capacity_; });
}

}  // namespace server
