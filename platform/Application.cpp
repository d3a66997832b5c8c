#include "Application.h"

#include <SDL.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <thread>

#include "Clock.h"
#include "MessageBox.h"

namespace platform {

// The C library raises its threshold for mapping a block of its own each time such a block is
// freed, after which blocks of that size stay in the heap for good; a fixed threshold keeps every
// block of 128 KB or more mapped on its own and unmapped when freed.
void TApplication::ReturnLargeBlocksWhenFreed() {
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

namespace {

// A timer that fell this many intervals behind skips the rest instead of firing in a burst.
constexpr uint64_t kMaxCatchUp = 10;
// The last stretch before a deadline is spun rather than slept, for an exact frame rate: long
// enough to cover a late wake-up on a busy (virtual) machine.
constexpr double kSpinSeconds = 0.0012;

}  // namespace

int TApplication::StartTimer(uint32_t intervalMs, std::function<void()> onTimer) {
  const int id = NextTimerId_++;
  const uint32_t interval = std::max<uint32_t>(intervalMs, 1);
  Timers_[id] = TTimer{interval, Milliseconds() + interval, std::move(onTimer)};
  return id;
}

void TApplication::KillTimer(int id) {
  Timers_.erase(id);
}

void TApplication::FireDueTimers() {
  const uint64_t now = Milliseconds();
  std::vector<int> due;
  for (const auto& [id, timer] : Timers_) {
    if (now >= timer.NextDueMs) due.push_back(id);
  }
  for (int id : due) {
    auto it = Timers_.find(id);
    if (it == Timers_.end()) continue;
    uint64_t fired = 0;
    while (it != Timers_.end() && Milliseconds() >= it->second.NextDueMs && fired < kMaxCatchUp) {
      it->second.NextDueMs += it->second.IntervalMs;
      ++fired;
      auto callback = it->second.OnTimer;
      Guarded(callback);
      it = Timers_.find(id);
    }
    if (it != Timers_.end() && Milliseconds() >= it->second.NextDueMs) {
      it->second.NextDueMs = Milliseconds() + it->second.IntervalMs;
    }
  }
}

void TApplication::WaitForWork() {
  double wait = OnIdle_ ? IdleWait_ : 0.010;
  const uint64_t now = Milliseconds();
  for (const auto& [id, timer] : Timers_) {
    const double untilDue =
        timer.NextDueMs > now ? static_cast<double>(timer.NextDueMs - now) / 1000.0 : 0.0;
    wait = std::min(wait, untilDue);
  }
  if (wait > kSpinSeconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(wait - kSpinSeconds));
  }
}

void TApplication::ShowException(const std::string& what) const {
  ShowMessageBox(Title, what, {"OK"});
}

void TApplication::Guarded(const std::function<void()>& work) {
  try {
    work();
  } catch (const std::exception& e) {
    ShowException(e.what());
  }
}

bool TApplication::RunOnce(const TEventPump& pump) {
  if (pump) pump();
  if (Terminated_) return false;
  FireDueTimers();
  if (Terminated_) return false;
  IdleWait_ = 0;
  if (OnIdle_) {
    bool done = true;
    auto handler = OnIdle_;
    Guarded([&] { handler(done); });
  }
  if (Terminated_) return false;
  WaitForWork();
  return true;
}

void TApplication::Run(const TEventPump& pump) {
  while (RunOnce(pump)) {
  }
}

}  // namespace platform
