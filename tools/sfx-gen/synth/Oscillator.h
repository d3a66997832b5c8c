#pragma once

#include <optional>
#include <string_view>

namespace synth {

/// Shapes a tone oscillator can produce; noise is handled by NoiseSource.
enum class Waveform { kSine, kTriangle, kSaw, kSquare, kPulse, kNoise };

/// Reads a waveform name: sine, triangle, saw, square, pulse or noise.
std::optional<Waveform> ParseWaveform(std::string_view name);

/// One band-limited sample of `shape` at `phase` in [0, 1), advancing `step` cycles per sample;
/// `duty` is the high fraction of a pulse. Noise gives 0 here.
double OscillatorSample(Waveform shape, double phase, double step, double duty);

}  // namespace synth
