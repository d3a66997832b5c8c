#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "synth/Oscillator.h"
#include "synth/StateVariableFilter.h"

namespace sfx {

/// A filter on one voice; the cutoff glides exponentially from start to end over the voice.
struct TFilterDescription {
  synth::FilterMode Mode = synth::FilterMode::kLowpass;
  double CutoffStart = 1000.0;
  double CutoffEnd = 1000.0;
  double Q = 0.707;
};

/// One sound source of an effect: an oscillator or noise with its envelope and modulation.
/// Times are in seconds from the voice's start, frequencies in Hz.
struct TVoiceDescription {
  int Line = 0;
  synth::Waveform Wave = synth::Waveform::kSine;
  double Start = 0.0;
  double Length = 0.1;
  double FreqStart = 440.0;
  double FreqEnd = 440.0;
  double Gain = 1.0;
  double Attack = 0.002;
  double Decay = 0.05;
  double Sustain = 1.0;
  double Release = 0.01;
  double Duty = 0.5;
  double VibratoRate = 0.0;
  double VibratoDepth = 0.0;
  double TremoloRate = 0.0;
  double TremoloDepth = 0.0;
  double FmRatio = 0.0;
  double FmIndex = 0.0;
  std::optional<TFilterDescription> Filter;
};

/// A feedback delay applied to the mix of all voices.
struct TEchoDescription {
  double Delay = 0.0;
  double Feedback = 0.0;
  double Mix = 0.0;
};

/// A whole sound effect: its length, edge fades, loudness, noise seed and voices.
struct TEffectDescription {
  double Length = 0.5;
  double FadeIn = 0.003;
  double FadeOut = 0.01;
  double PeakDb = -1.0;
  std::uint32_t Seed = 1;
  /// Seconds of the cross-fade that makes a seamless loop (0: a one-shot effect).
  double Loop = 0.0;
  TEchoDescription Echo;
  std::vector<TVoiceDescription> Voices;
};

/// Sample rate of every rendered effect, in Hz.
inline constexpr int kEffectSampleRate = 44100;

}  // namespace sfx
