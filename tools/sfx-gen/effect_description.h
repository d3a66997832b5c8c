#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "synth/oscillator.h"
#include "synth/state_variable_filter.h"

namespace sfx {

/// A filter on one voice; the cutoff glides exponentially from start to end over the voice.
struct FilterDescription {
  synth::FilterMode mode = synth::FilterMode::kLowpass;
  double cutoff_start = 1000.0;
  double cutoff_end = 1000.0;
  double q = 0.707;
};

/// One sound source of an effect: an oscillator or noise with its envelope and modulation.
/// Times are in seconds from the voice's start, frequencies in Hz.
struct VoiceDescription {
  int line = 0;
  synth::Waveform wave = synth::Waveform::kSine;
  double start = 0.0;
  double length = 0.1;
  double freq_start = 440.0;
  double freq_end = 440.0;
  double gain = 1.0;
  double attack = 0.002;
  double decay = 0.05;
  double sustain = 1.0;
  double release = 0.01;
  double duty = 0.5;
  double vibrato_rate = 0.0;
  double vibrato_depth = 0.0;
  double tremolo_rate = 0.0;
  double tremolo_depth = 0.0;
  double fm_ratio = 0.0;
  double fm_index = 0.0;
  std::optional<FilterDescription> filter;
};

/// A feedback delay applied to the mix of all voices.
struct EchoDescription {
  double delay = 0.0;
  double feedback = 0.0;
  double mix = 0.0;
};

/// A whole sound effect: its length, edge fades, loudness, noise seed and voices.
struct EffectDescription {
  double length = 0.5;
  double fade_in = 0.003;
  double fade_out = 0.01;
  double peak_db = -1.0;
  std::uint32_t seed = 1;
  /// Seconds of the cross-fade that makes a seamless loop (0: a one-shot effect).
  double loop = 0.0;
  EchoDescription echo;
  std::vector<VoiceDescription> voices;
};

/// Sample rate of every rendered effect, in Hz.
inline constexpr int kEffectSampleRate = 44100;

}  // namespace sfx
