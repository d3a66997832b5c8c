#include "EffectRenderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "synth/NoiseSource.h"

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
struct TVoiceState {
  double Phase = 0.0;
  double ModulatorPhase = 0.0;
};

double VoiceFrequency(const TVoiceDescription& voice, double time) {
  const double base = Glide(voice.FreqStart, voice.FreqEnd, time / voice.Length);
  return base * (1.0 + voice.VibratoDepth * std::sin(kTwoPi * voice.VibratoRate * time));
}

double ToneSample(const TVoiceDescription& voice, TVoiceState& state, double frequency) {
  const double step = frequency / kEffectSampleRate;
  const double modulation = voice.FmIndex * std::sin(kTwoPi * state.ModulatorPhase) / kTwoPi;
  const double sample =
      synth::OscillatorSample(voice.Wave, Wrap(state.Phase + modulation), step, voice.Duty);
  state.Phase = Wrap(state.Phase + step);
  state.ModulatorPhase = Wrap(state.ModulatorPhase + step * voice.FmRatio);
  return sample;
}

double TremoloLevel(const TVoiceDescription& voice, double time) {
  return 1.0 - voice.TremoloDepth * (0.5 - 0.5 * std::cos(kTwoPi * voice.TremoloRate * time));
}

void RenderVoice(const TVoiceDescription& voice, std::uint32_t seed, std::vector<double>& mix) {
  synth::TNoiseSource noise(seed);
  std::optional<synth::TStateVariableFilter> filter;
  if (voice.Filter) filter.emplace(voice.Filter->Mode, voice.Filter->Q);
  TVoiceState state;
  const std::size_t first = SampleCount(voice.Start);
  const std::size_t count = std::min(SampleCount(voice.Length), mix.size() - first);
  for (std::size_t i = 0; i < count; ++i) {
    const double time = static_cast<double>(i) / kEffectSampleRate;
    const double frequency = VoiceFrequency(voice, time);
    double sample =
        voice.Wave == synth::Waveform::kNoise ? noise.Next() : ToneSample(voice, state, frequency);
    if (filter) {
      const double cutoff =
          Glide(voice.Filter->CutoffStart, voice.Filter->CutoffEnd, time / voice.Length);
      sample = filter->Process(sample, cutoff, kEffectSampleRate);
    }
    mix[first + i] += sample * voice.Gain * EnvelopeLevel(voice, time) * TremoloLevel(voice, time);
  }
}

void ApplyEcho(const TEchoDescription& echo, std::vector<double>& mix) {
  const std::size_t delay = SampleCount(echo.Delay);
  if (echo.Mix <= 0.0 || delay == 0 || delay >= mix.size()) return;
  std::vector<double> wet(mix.size(), 0.0);
  for (std::size_t i = delay; i < mix.size(); ++i) {
    wet[i] = mix[i - delay] + echo.Feedback * wet[i - delay];
  }
  for (std::size_t i = 0; i < mix.size(); ++i) mix[i] += echo.Mix * wet[i];
}

double RaisedCosine(double progress) {
  return 0.5 - 0.5 * std::cos(std::numbers::pi * std::clamp(progress, 0.0, 1.0));
}

void ApplyFades(const TEffectDescription& effect, std::vector<double>& mix) {
  const std::size_t fade_in = SampleCount(effect.FadeIn);
  const std::size_t fade_out = SampleCount(effect.FadeOut);
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

double EnvelopeLevel(const TVoiceDescription& voice, double time) {
  if (time < 0.0 || time >= voice.Length) return 0.0;
  double level = 1.0;
  if (time < voice.Attack) {
    level = time / voice.Attack;
  } else if (voice.Decay > 0.0) {
    const double fall = std::exp(-kDecayConstants * (time - voice.Attack) / voice.Decay);
    level = voice.Sustain + (1.0 - voice.Sustain) * fall;
  } else {
    level = voice.Sustain;
  }
  const double release_start = voice.Length - voice.Release;
  if (voice.Release > 0.0 && time > release_start) {
    const double remaining = (voice.Length - time) / voice.Release;
    level *= remaining * remaining;
  }
  return level;
}

std::vector<double> RenderEffect(const TEffectDescription& effect) {
  std::vector<double> mix(SampleCount(effect.Length), 0.0);
  std::uint32_t seed = effect.Seed;
  for (const TVoiceDescription& voice : effect.Voices) {
    RenderVoice(voice, seed, mix);
    seed = seed * 1664525u + 1013904223u;
  }
  ApplyEcho(effect.Echo, mix);
  if (effect.Loop > 0.0) {
    MakeLoop(effect.Loop, mix);
  } else {
    ApplyFades(effect, mix);
  }
  Normalise(effect.PeakDb, mix);
  return mix;
}

}  // namespace sfx
