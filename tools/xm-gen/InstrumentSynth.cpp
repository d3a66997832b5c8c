#include "InstrumentSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "synth/NoiseSource.h"
#include "synth/NoteName.h"

namespace xm {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kSamplePeak = 0.9;
constexpr double kDecayConstants = 4.6;
constexpr double kEndFadeSeconds = 0.003;
// Semitone number of C-4, the note the player's base rate belongs to.
constexpr int kNoteC4 = 48;

// Detune of voice `index` of `count` in cents, spread evenly around zero.
double VoiceCents(const TInstrumentRecipe& recipe, int index) {
  if (recipe.Voices < 2) return 0.0;
  return recipe.DetuneCents * (static_cast<double>(index) / (recipe.Voices - 1) - 0.5);
}

double Wrap(double phase) {
  return phase - std::floor(phase);
}

double NominalFrequency(const TInstrumentRecipe& recipe) {
  return recipe.FreqStart.value_or(synth::NoteFrequency(recipe.Pitch));
}

// A looped sample holds a whole number of cycles of every voice, so the loop seam is exact.
// Voice frequencies are rounded to the nearest multiple of rate / length; the returned ratio of
// nominal to actual frequency retunes the sample.
double RenderLoopedTone(const TInstrumentRecipe& recipe, std::vector<double>& out) {
  const std::size_t length = out.size();
  const double nominal = NominalFrequency(recipe);
  double log_sum = 0.0;
  for (int v = 0; v < recipe.Voices; ++v) {
    const double target = nominal * std::exp2(VoiceCents(recipe, v) / 1200.0);
    const auto cycles = std::max<std::size_t>(
        1,
        static_cast<std::size_t>(std::llround(target * static_cast<double>(length) / recipe.Rate)));
    const auto modulator_cycles =
        static_cast<std::size_t>(std::llround(static_cast<double>(cycles) * recipe.FmRatio));
    const double step = static_cast<double>(cycles) / static_cast<double>(length);
    for (std::size_t n = 0; n < length; ++n) {
      const double phase = static_cast<double>((n * cycles) % length) / static_cast<double>(length);
      const double modulator_phase =
          static_cast<double>((n * modulator_cycles) % length) / static_cast<double>(length);
      const double modulation = recipe.FmIndex * std::sin(kTwoPi * modulator_phase) / kTwoPi;
      out[n] += synth::OscillatorSample(recipe.Wave, Wrap(phase + modulation), step, recipe.Duty);
    }
    log_sum += std::log(static_cast<double>(cycles) * recipe.Rate / static_cast<double>(length));
  }
  return nominal / std::exp(log_sum / recipe.Voices);
}

void RenderOneShotTone(const TInstrumentRecipe& recipe, std::vector<double>& out) {
  const double start = NominalFrequency(recipe);
  const double end = recipe.FreqEnd.value_or(start);
  for (int v = 0; v < recipe.Voices; ++v) {
    const double detune = std::exp2(VoiceCents(recipe, v) / 1200.0);
    double phase = 0.0;
    double modulator_phase = 0.0;
    for (std::size_t n = 0; n < out.size(); ++n) {
      const double progress = static_cast<double>(n) / static_cast<double>(out.size());
      const double step = start * std::pow(end / start, progress) * detune / recipe.Rate;
      const double modulation = recipe.FmIndex * std::sin(kTwoPi * modulator_phase) / kTwoPi;
      out[n] += synth::OscillatorSample(recipe.Wave, Wrap(phase + modulation), step, recipe.Duty);
      phase = Wrap(phase + step);
      modulator_phase = Wrap(modulator_phase + step * recipe.FmRatio);
    }
  }
}

void AddNoise(const TInstrumentRecipe& recipe, std::uint32_t seed, std::vector<double>& out) {
  const double amount = recipe.Wave == synth::Waveform::kNoise ? 1.0 : recipe.Noise * recipe.Voices;
  if (amount <= 0.0) return;
  synth::TNoiseSource noise(seed);
  for (double& sample : out) sample += amount * noise.Next();
}

// A looped sample is filtered twice through and the second pass kept, so the filter's state at
// the loop end matches its state at the loop start.
void FilterLooped(const TSampleFilter& recipe, int rate, std::vector<double>& out) {
  synth::TStateVariableFilter filter(recipe.Mode, recipe.Q);
  for (double sample : out) filter.Process(sample, recipe.CutoffStart, rate);
  for (double& sample : out) sample = filter.Process(sample, recipe.CutoffStart, rate);
}

void FilterOneShot(const TSampleFilter& recipe, int rate, std::vector<double>& out) {
  synth::TStateVariableFilter filter(recipe.Mode, recipe.Q);
  for (std::size_t n = 0; n < out.size(); ++n) {
    const double progress = static_cast<double>(n) / static_cast<double>(out.size());
    const double cutoff =
        recipe.CutoffStart * std::pow(recipe.CutoffEnd / recipe.CutoffStart, progress);
    out[n] = filter.Process(out[n], cutoff, rate);
  }
}

// One-shot samples rise over the attack, decay exponentially and fade to zero at their end.
void ShapeOneShot(const TInstrumentRecipe& recipe, std::vector<double>& out) {
  const double fade = kEndFadeSeconds * recipe.Rate;
  for (std::size_t n = 0; n < out.size(); ++n) {
    const double time = static_cast<double>(n) / recipe.Rate;
    double level = recipe.Attack > 0.0 ? std::min(1.0, time / recipe.Attack) : 1.0;
    if (recipe.Decay > 0.0 && time > recipe.Attack) {
      level *= std::exp(-kDecayConstants * (time - recipe.Attack) / recipe.Decay);
    }
    const double remaining = static_cast<double>(out.size() - 1 - n);
    level *= std::min(1.0, remaining / fade);
    out[n] *= level;
  }
}

std::vector<std::int16_t> ToPcm16(const std::vector<double>& samples) {
  double peak = 0.0;
  for (double sample : samples) peak = std::max(peak, std::abs(sample));
  if (peak < 1e-9) throw std::runtime_error("the instrument's sample is silent");
  std::vector<std::int16_t> pcm;
  pcm.reserve(samples.size());
  for (double sample : samples) {
    pcm.push_back(static_cast<std::int16_t>(std::lround(sample / peak * kSamplePeak * 32767.0)));
  }
  return pcm;
}

TSample MakeSample(const TInstrumentRecipe& recipe, std::uint32_t seed) {
  std::vector<double> wave(static_cast<std::size_t>(std::lround(recipe.Length * recipe.Rate)), 0.0);
  double ratio = 1.0;
  const bool tonal = recipe.Wave != synth::Waveform::kNoise;
  if (tonal && recipe.Loop) ratio = RenderLoopedTone(recipe, wave);
  if (tonal && !recipe.Loop) RenderOneShotTone(recipe, wave);
  AddNoise(recipe, seed, wave);
  if (recipe.Filter && recipe.Loop) FilterLooped(*recipe.Filter, recipe.Rate, wave);
  if (recipe.Filter && !recipe.Loop) FilterOneShot(*recipe.Filter, recipe.Rate, wave);
  if (!recipe.Loop) ShapeOneShot(recipe, wave);
  TSample sample;
  sample.Name = recipe.Name;
  sample.Data = ToPcm16(wave);
  if (recipe.Loop) {
    sample.Loop = LoopType::kForward;
    sample.LoopLength = sample.Data.size();
  }
  sample.Volume = recipe.Volume;
  sample.Panning = recipe.Panning;
  const TSampleTuning tuning = TuneSample(recipe.Rate, recipe.Pitch, ratio);
  sample.RelativeNote = tuning.RelativeNote;
  sample.Finetune = tuning.Finetune;
  return sample;
}

}  // namespace

TSampleTuning TuneSample(int rate, int pitch, double ratio) {
  const double semitones =
      12.0 * std::log2(rate / kC4PlaybackRate) + (kNoteC4 - pitch) + 12.0 * std::log2(ratio);
  TSampleTuning tuning;
  tuning.RelativeNote = static_cast<int>(std::lround(semitones));
  tuning.Finetune = static_cast<int>(std::lround((semitones - tuning.RelativeNote) * 128.0));
  tuning.Finetune = std::clamp(tuning.Finetune, -128, 127);
  return tuning;
}

TInstrument SynthesizeInstrument(const TInstrumentRecipe& recipe, std::uint32_t seed) {
  TInstrument instrument;
  instrument.Name = recipe.Name;
  instrument.Samples.push_back(MakeSample(recipe, seed));
  instrument.VolumeEnvelope = recipe.Envelope;
  instrument.Fadeout = recipe.Fadeout;
  instrument.Vibrato = recipe.Vibrato;
  return instrument;
}

}  // namespace xm
