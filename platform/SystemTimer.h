#pragma once
// A periodic system timer served by the application's message loop.

#include <cstdint>
#include <functional>

#include "Application.h"

namespace platform {

/// Calls OnTimer every Interval milliseconds while enabled, on the loop's thread and never
/// inside another handler; ticks missed while a frame ran are delivered after it.
class TSystemTimer {
 public:
  /// A disabled timer with the given interval.
  TSystemTimer(TApplication& application, uint32_t intervalMs)
      : Application_(application), Interval_(intervalMs) {}
  ~TSystemTimer() { SetEnabled(false); }
  TSystemTimer(const TSystemTimer&) = delete;
  TSystemTimer& operator=(const TSystemTimer&) = delete;

  /// The handler called on every tick.
  std::function<void()> OnTimer;

  /// Starts or stops the ticks; starting begins a fresh interval.
  void SetEnabled(bool value);
  /// Whether the timer runs.
  bool Enabled() const { return Id_ != 0; }
  /// Milliseconds between ticks.
  uint32_t Interval() const { return Interval_; }

 private:
  TApplication& Application_;
  uint32_t Interval_;
  int Id_ = 0;
};

}  // namespace platform
