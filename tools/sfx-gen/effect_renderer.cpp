#include "effect_renderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "synth/noise_source.h"

namespace sfx {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// An exponential decay reaches 1% of its start after this many time constants.
constexpr double kDecayConstants = 4.6;

double Glide(double start, double end, double progress) {
  return start * std::pow(end / start, progress);
}

double Wrap(double phase) {
  return phase - std::floor(phase);
}

std::size_t SampleCount(double seconds) {
  return static_cast<std::size_t>(std::lround(seconds * kEffectSampleRate));
}

// Oscillator state for one voice while it is rendered.
struct VoiceState {
  double phase = 0.0;
  double modulator_phase = 0.0;
};

double VoiceFrequency(const VoiceDescription& voice, double time) {
  const double base = Glide(voice.freq_start, voice.freq_end, time / voice.length);
  return base * (1.0 + voice.vibrato_depth * std::sin(kTwoPi * voice.vibrato_rate * time));
}

double ToneSample(const VoiceDescription& voice, VoiceState& state, double frequency) {
  const double step = frequency / kEffectSampleRate;
  const double modulation = voice.fm_index * std::sin(kTwoPi * state.modulator_phase) / kTwoPi;
  const double sample =
      synth::OscillatorSample(voice.wave, Wrap(state.phase + modulation), step, voice.duty);
  state.phase = Wrap(state.phase + step);
  state.modulator_phase = Wrap(state.modulator_phase + step * voice.fm_ratio);
  return sample;
}

double TremoloLevel(const VoiceDescription& voice, double time) {
  return 1.0 - voice.tremolo_depth * (0.5 - 0.5 * std::cos(kTwoPi * voice.tremolo_rate * time));
}

void RenderVoice(const VoiceDescription& voice, std::uint32_t seed, std::vector<double>& mix) {
  synth::NoiseSource noise(seed);
  std::optional<synth::StateVariableFilter> filter;
  if (voice.filter) filter.emplace(voice.filter->mode, voice.filter->q);
  VoiceState state;
  const std::size_t first = SampleCount(voice.start);
  const std::size_t count = std::min(SampleCount(voice.length), mix.size() - first);
  for (std::size_t i = 0; i < count; ++i) {
    const double time = static_cast<double>(i) / kEffectSampleRate;
    const double frequency = VoiceFrequency(voice, time);
    double sample =
        voice.wave == synth::Waveform::kNoise ? noise.Next() : ToneSample(voice, state, frequency);
    if (filter) {
      const double cutoff =
          Glide(voice.filter->cutoff_start, voice.filter->cutoff_end, time / voice.length);
      sample = filter->Process(sample, cutoff, kEffectSampleRate);
    }
    mix[first + i] += sample * voice.gain * EnvelopeLevel(voice, time) * TremoloLevel(voice, time);
  }
}

void ApplyEcho(const EchoDescription& echo, std::vector<double>& mix) {
  const std::size_t delay = SampleCount(echo.delay);
  if (echo.mix <= 0.0 || delay == 0 || delay >= mix.size()) return;
  std::vector<double> wet(mix.size(), 0.0);
  for (std::size_t i = delay; i < mix.size(); ++i) {
    wet[i] = mix[i - delay] + echo.feedback * wet[i - delay];
  }
  for (std::size_t i = 0; i < mix.size(); ++i) mix[i] += echo.mix * wet[i];
}

double RaisedCosine(double progress) {
  return 0.5 - 0.5 * std::cos(std::numbers::pi * std::clamp(progress, 0.0, 1.0));
}

void ApplyFades(const EffectDescription& effect, std::vector<double>& mix) {
  const std::size_t fade_in = SampleCount(effect.fade_in);
  const std::size_t fade_out = SampleCount(effect.fade_out);
  for (std::size_t i = 0; i < fade_in && i < mix.size(); ++i) {
    mix[i] *= RaisedCosine(static_cast<double>(i) / static_cast<double>(fade_in));
  }
  for (std::size_t i = 0; i < fade_out && i < mix.size(); ++i) {
    mix[mix.size() - 1 - i] *= RaisedCosine(static_cast<double>(i) / static_cast<double>(fade_out));
  }
}

// Folds the last `loop` seconds over the first ones, the tail fading out as the start fades
// in, and drops the tail: the result's last sample runs straight into its first.
void MakeLoop(double loop, std::vector<double>& mix) {
  const std::size_t overlap = std::min(SampleCount(loop), mix.size() / 2);
  const std::size_t length = mix.size() - overlap;
  for (std::size_t i = 0; i < overlap; ++i) {
    const double in = RaisedCosine(static_cast<double>(i) / static_cast<double>(overlap));
    mix[i] = mix[i] * in + mix[length + i] * (1.0 - in);
  }
  mix.resize(length);
}

void Normalise(double peak_db, std::vector<double>& mix) {
  double peak = 0.0;
  for (double sample : mix) peak = std::max(peak, std::abs(sample));
  if (peak < 1e-9) throw std::runtime_error("the effect renders to silence");
  const double gain = std::pow(10.0, peak_db / 20.0) / peak;
  for (double& sample : mix) sample *= gain;
}

}  // namespace

double EnvelopeLevel(const VoiceDescription& voice, double time) {
  if (time < 0.0 || time >= voice.length) return 0.0;
  double level = 1.0;
  if (time < voice.attack) {
    level = time / voice.attack;
  } else if (voice.decay > 0.0) {
    const double fall = std::exp(-kDecayConstants * (time - voice.attack) / voice.decay);
    level = voice.sustain + (1.0 - voice.sustain) * fall;
  } else {
    level = voice.sustain;
  }
  const double release_start = voice.length - voice.release;
  if (voice.release > 0.0 && time > release_start) {
    const double remaining = (voice.length - time) / voice.release;
    level *= remaining * remaining;
  }
  return level;
}

std::vector<double> RenderEffect(const EffectDescription& effect) {
  std::vector<double> mix(SampleCount(effect.length), 0.0);
  std::uint32_t seed = effect.seed;
  for (const VoiceDescription& voice : effect.voices) {
    RenderVoice(voice, seed, mix);
    seed = seed * 1664525u + 1013904223u;
  }
  ApplyEcho(effect.echo, mix);
  if (effect.loop > 0.0) {
    MakeLoop(effect.loop, mix);
  } else {
    ApplyFades(effect, mix);
  }
  Normalise(effect.peak_db, mix);
  return mix;
}

}  // namespace sfx
