#pragma once

#include <optional>
#include <string_view>

namespace synth {

/// Which output of the state-variable filter is used.
enum class FilterMode { kLowpass, kHighpass, kBandpass };

/// Reads a filter mode name: lowpass, highpass or bandpass.
std::optional<FilterMode> ParseFilterMode(std::string_view name);

/// Two-pole resonant state-variable filter (trapezoidal form) whose cutoff may change per sample.
class TStateVariableFilter {
 public:
  /// Makes a filter of `mode` with resonance `q` (0.5 = soft, 0.707 = flat, higher = peaky).
  TStateVariableFilter(FilterMode mode, double q);

  /// Filters one sample with the cutoff `cutoff_hz` at sample rate `rate`.
  double Process(double input, double cutoff_hz, double rate);

 private:
  FilterMode Mode_;
  double Damping_;
  double State1_ = 0.0;
  double State2_ = 0.0;
};

}  // namespace synth
