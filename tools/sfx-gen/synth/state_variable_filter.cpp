#include "synth/state_variable_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace synth {

std::optional<FilterMode> ParseFilterMode(std::string_view name) {
  if (name == "lowpass") return FilterMode::kLowpass;
  if (name == "highpass") return FilterMode::kHighpass;
  if (name == "bandpass") return FilterMode::kBandpass;
  return std::nullopt;
}

StateVariableFilter::StateVariableFilter(FilterMode mode, double q)
    : mode_(mode), damping_(1.0 / std::max(q, 0.1)) {}

double StateVariableFilter::Process(double input, double cutoff_hz, double rate) {
  const double cutoff = std::clamp(cutoff_hz, 10.0, 0.45 * rate);
  const double g = std::tan(std::numbers::pi * cutoff / rate);
  const double a1 = 1.0 / (1.0 + g * (g + damping_));
  const double a2 = g * a1;
  const double a3 = g * a2;
  const double v3 = input - state2_;
  const double band = a1 * state1_ + a2 * v3;
  const double low = state2_ + a2 * state1_ + a3 * v3;
  state1_ = 2.0 * band - state1_;
  state2_ = 2.0 * low - state2_;
  switch (mode_) {
    case FilterMode::kLowpass:
      return low;
    case FilterMode::kHighpass:
      return input - damping_ * band - low;
    case FilterMode::kBandpass:
      return band;
  }
  return low;
}

}  // namespace synth
