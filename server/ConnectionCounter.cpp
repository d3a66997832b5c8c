#include "ConnectionCounter.h"

#include <utility>

namespace server {

TConnectionCounter::TTicket::TTicket(TConnectionCounter& counter, std::string address)
    : Counter_(counter), Address_(std::move(address)) {}

TConnectionCounter::TTicket::~TTicket() {
  Counter_.Release(Address_);
}

TConnectionCounter::TConnectionCounter(int maxTotal, int maxPerAddress, std::string exemptAddress)
    : MaxTotal_(maxTotal),
      MaxPerAddress_(maxPerAddress),
      ExemptAddress_(std::move(exemptAddress)) {}

std::unique_ptr<TConnectionCounter::TTicket> TConnectionCounter::TryOpen(const std::string& address,
                                                                         TRefusal& refusal) {
  const std::lock_guard lock(Mutex_);
  refusal = TRefusal::kNone;
  if (Total_ >= MaxTotal_) {
    refusal = TRefusal::kTotal;
    return nullptr;
  }
  int& fromAddress = PerAddress_[address];
  if (address != ExemptAddress_ && fromAddress >= MaxPerAddress_) {
    refusal = TRefusal::kPerAddress;
    return nullptr;
  }
  ++fromAddress;
  ++Total_;
  return std::make_unique<TTicket>(*this, address);
}

int TConnectionCounter::Open() {
  const std::lock_guard lock(Mutex_);
  return Total_;
}

void TConnectionCounter::Release(const std::string& address) {
  const std::lock_guard lock(Mutex_);
  --Total_;
  const auto it = PerAddress_.find(address);
  if (it != PerAddress_.end() && --it->second <= 0) PerAddress_.erase(it);
}

}  // namespace server
