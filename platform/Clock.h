#pragma once
// Monotonic clocks.

#include <cstdint>

namespace platform {

/// A monotonic clock read in its own ticks.
class TClock {
 public:
  virtual ~TClock() = default;
  /// Ticks per second.
  virtual int64_t Frequency() const = 0;
  /// The current reading in ticks.
  virtual int64_t Now() const = 0;
};

/// The system's high-resolution performance counter.
class TSystemClock : public TClock {
 public:
  int64_t Frequency() const override;
  int64_t Now() const override;
};

/// Milliseconds since the program started, from the high-resolution counter.
uint64_t Milliseconds();

}  // namespace platform
