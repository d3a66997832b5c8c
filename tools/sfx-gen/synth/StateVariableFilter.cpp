#include "synth/StateVariableFilter.h"

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

TStateVariableFilter::TStateVariableFilter(FilterMode mode, double q)
    : Mode_(mode), Damping_(1.0 / std::max(q, 0.1)) {}

double TStateVariableFilter::Process(double input, double cutoff_hz, double rate) {
  const double cutoff = std::clamp(cutoff_hz, 10.0, 0.45 * rate);
  const double g = std::tan(std::numbers::pi * cutoff / rate);
  const double a1 = 1.0 / (1.0 + g * (g + Damping_));
  const double a2 = g * a1;
  const double a3 = g * a2;
  const double v3 = input - State2_;
  const double band = a1 * State1_ + a2 * v3;
  const double low = State2_ + a2 * State1_ + a3 * v3;
  State1_ = 2.0 * band - State1_;
  State2_ = 2.0 * low - State2_;
  switch (Mode_) {
    case FilterMode::kLowpass:
      return low;
    case FilterMode::kHighpass:
      return input - Damping_ * band - low;
    case FilterMode::kBandpass:
      return band;
  }
  return low;
}

}  // namespace synth
