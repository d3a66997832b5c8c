#include "AudioStream.h"

#include <algorithm>

namespace platform {

TAudioStream::TAudioStream() : Samples_(kFrames * 2, 0) {}

int TAudioStream::WaitForRefill(std::chrono::milliseconds timeout) {
  if (Pending_.load() == 0 && Wakeup_.try_acquire_for(timeout)) Posted_ = false;
  unsigned pending = Pending_.load();
  while (pending != 0) {
    const unsigned bit = pending & (~pending + 1);
    if (Pending_.compare_exchange_weak(pending, pending & ~bit)) return bit == 1 ? 0 : 1;
  }
  return -1;
}

std::span<std::int16_t> TAudioStream::Half(int half) {
  return std::span(Samples_).subspan(half == 0 ? 0 : kHalfFrames * 2, kHalfFrames * 2);
}

void TAudioStream::RequestRefillAhead() {
  PositionEntered(Position_ < static_cast<double>(kHalfFrames) ? 0 : 1);
}

void TAudioStream::Wake() {
  Signal();
}

void TAudioStream::Clear() {
  std::fill(Samples_.begin(), Samples_.end(), std::int16_t{0});
}

void TAudioStream::PositionEntered(int half) {
  Pending_ |= half == 0 ? 2u : 1u;
  Signal();
}

void TAudioStream::Signal() {
  if (!Posted_.exchange(true)) Wakeup_.release();
}

}  // namespace platform
