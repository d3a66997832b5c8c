#include "synth/Oscillator.h"

#include <cmath>
#include <numbers>

namespace synth {
namespace {

// Polynomial band-limited step correction around a discontinuity at phase 0.
double PolyBlep(double phase, double step) {
  if (step <= 0.0) return 0.0;
  if (phase < step) {
    const double t = phase / step;
    return t + t - t * t - 1.0;
  }
  if (phase > 1.0 - step) {
    const double t = (phase - 1.0) / step;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double Wrap(double phase) {
  return phase - std::floor(phase);
}

double Saw(double phase, double step) {
  return 2.0 * phase - 1.0 - PolyBlep(phase, step);
}

double Pulse(double phase, double step, double duty) {
  const double naive = phase < duty ? 1.0 : -1.0;
  const double offset = 2.0 * duty - 1.0;
  return naive + PolyBlep(phase, step) - PolyBlep(Wrap(phase - duty), step) - offset;
}

double Triangle(double phase) {
  return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
}

}  // namespace

std::optional<Waveform> ParseWaveform(std::string_view name) {
  if (name == "sine") return Waveform::kSine;
  if (name == "triangle") return Waveform::kTriangle;
  if (name == "saw") return Waveform::kSaw;
  if (name == "square") return Waveform::kSquare;
  if (name == "pulse") return Waveform::kPulse;
  if (name == "noise") return Waveform::kNoise;
  return std::nullopt;
}

double OscillatorSample(Waveform shape, double phase, double step, double duty) {
  switch (shape) {
    case Waveform::kSine:
      return std::sin(2.0 * std::numbers::pi * phase);
    case Waveform::kTriangle:
      return Triangle(phase);
    case Waveform::kSaw:
      return Saw(phase, step);
    case Waveform::kSquare:
      return Pulse(phase, step, 0.5);
    case Waveform::kPulse:
      return Pulse(phase, step, duty);
    case Waveform::kNoise:
      return 0.0;
  }
  return 0.0;
}

}  // namespace synth
