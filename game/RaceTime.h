#pragma once
// Race clocks: minutes, seconds and hundredths.

#include <cstdint>
#include <string>

namespace game {

/// A race clock of three 32-bit counters, advanced one hundredth at a time by the 10 ms race
/// timer; hundredths carry at 100, seconds at 60, and minutes have no upper bound.
struct TRaceTime {
  int32_t Minutes = 0;
  int32_t Seconds = 0;
  int32_t Hundredths = 0;

  /// Adds one hundredth of a second with the carries.
  void AddHundredth();
  /// Back to 0:00:00.
  void Reset() { Minutes = Seconds = Hundredths = 0; }
  /// "M:SS:HH", as the race screens show a time.
  std::string Text() const;
  bool operator==(const TRaceTime&) const = default;
};

}  // namespace game
