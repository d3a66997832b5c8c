#pragma once

#include <optional>
#include <string_view>

namespace synth {

/// Which output of the state-variable filter is used.
enum class FilterMode { kLowpass, kHighpass, kBandpass };

/// Reads a filter mode name: lowpass, highpass or bandpass.
std::optional<FilterMode> ParseFilterMode(std::string_view name);

/// Two-pole resonant state-variable filter (trapezoidal form) whose cutoff may change per sample.
class StateVariableFilter {
 public:
  /// Makes a filter of `mode` with resonance `q` (0.5 = soft, 0.707 = flat, higher = peaky).
  StateVariableFilter(FilterMode mode, double q);

  /// Filters one sample with the cutoff `cutoff_hz` at sample rate `rate`.
  double Process(double input, double cutoff_hz, double rate);

 private:
  FilterMode mode_;
  double damping_;
  double state1_ = 0.0;
  double state2_ = 0.0;
};

}  // namespace synth
