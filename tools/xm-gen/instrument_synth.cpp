#include "instrument_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "synth/noise_source.h"
#include "synth/note_name.h"

namespace xm {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kSamplePeak = 0.9;
constexpr double kDecayConstants = 4.6;
constexpr double kEndFadeSeconds = 0.003;
// Semitone number of C-4, the note the player's base rate belongs to.
constexpr int kNoteC4 = 48;

// Detune of voice `index` of `count` in cents, spread evenly around zero.
double VoiceCents(const InstrumentRecipe& recipe, int index) {
  if (recipe.voices < 2) return 0.0;
  return recipe.detune_cents * (static_cast<double>(index) / (recipe.voices - 1) - 0.5);
}

double Wrap(double phase) {
  return phase - std::floor(phase);
}

double NominalFrequency(const InstrumentRecipe& recipe) {
  return recipe.freq_start.value_or(synth::NoteFrequency(recipe.pitch));
}

// A looped sample holds a whole number of cycles of every voice, so the loop seam is exact.
// Voice frequencies are rounded to the nearest multiple of rate / length; the returned ratio of
// nominal to actual frequency retunes the sample.
double RenderLoopedTone(const InstrumentRecipe& recipe, std::vector<double>& out) {
  const std::size_t length = out.size();
  const double nominal = NominalFrequency(recipe);
  double log_sum = 0.0;
  for (int v = 0; v < recipe.voices; ++v) {
    const double target = nominal * std::exp2(VoiceCents(recipe, v) / 1200.0);
    const auto cycles = std::max<std::size_t>(
        1,
        static_cast<std::size_t>(std::llround(target * static_cast<double>(length) / recipe.rate)));
    const auto modulator_cycles =
        static_cast<std::size_t>(std::llround(static_cast<double>(cycles) * recipe.fm_ratio));
    const double step = static_cast<double>(cycles) / static_cast<double>(length);
    for (std::size_t n = 0; n < length; ++n) {
      const double phase = static_cast<double>((n * cycles) % length) / static_cast<double>(length);
      const double modulator_phase =
          static_cast<double>((n * modulator_cycles) % length) / static_cast<double>(length);
      const double modulation = recipe.fm_index * std::sin(kTwoPi * modulator_phase) / kTwoPi;
      out[n] += synth::OscillatorSample(recipe.wave, Wrap(phase + modulation), step, recipe.duty);
    }
    log_sum += std::log(static_cast<double>(cycles) * recipe.rate / static_cast<double>(length));
  }
  return nominal / std::exp(log_sum / recipe.voices);
}

void RenderOneShotTone(const InstrumentRecipe& recipe, std::vector<double>& out) {
  const double start = NominalFrequency(recipe);
  const double end = recipe.freq_end.value_or(start);
  for (int v = 0; v < recipe.voices; ++v) {
    const double detune = std::exp2(VoiceCents(recipe, v) / 1200.0);
    double phase = 0.0;
    double modulator_phase = 0.0;
    for (std::size_t n = 0; n < out.size(); ++n) {
      const double progress = static_cast<double>(n) / static_cast<double>(out.size());
      const double step = start * std::pow(end / start, progress) * detune / recipe.rate;
      const double modulation = recipe.fm_index * std::sin(kTwoPi * modulator_phase) / kTwoPi;
      out[n] += synth::OscillatorSample(recipe.wave, Wrap(phase + modulation), step, recipe.duty);
      phase = Wrap(phase + step);
      modulator_phase = Wrap(modulator_phase + step * recipe.fm_ratio);
    }
  }
}

void AddNoise(const InstrumentRecipe& recipe, std::uint32_t seed, std::vector<double>& out) {
  const double amount = recipe.wave == synth::Waveform::kNoise ? 1.0 : recipe.noise * recipe.voices;
  if (amount <= 0.0) return;
  synth::NoiseSource noise(seed);
  for (double& sample : out) sample += amount * noise.Next();
}

// A looped sample is filtered twice through and the second pass kept, so the filter's state at
// the loop end matches its state at the loop start.
void FilterLooped(const SampleFilter& recipe, int rate, std::vector<double>& out) {
  synth::StateVariableFilter filter(recipe.mode, recipe.q);
  for (double sample : out) filter.Process(sample, recipe.cutoff_start, rate);
  for (double& sample : out) sample = filter.Process(sample, recipe.cutoff_start, rate);
}

void FilterOneShot(const SampleFilter& recipe, int rate, std::vector<double>& out) {
  synth::StateVariableFilter filter(recipe.mode, recipe.q);
  for (std::size_t n = 0; n < out.size(); ++n) {
    const double progress = static_cast<double>(n) / static_cast<double>(out.size());
    const double cutoff =
        recipe.cutoff_start * std::pow(recipe.cutoff_end / recipe.cutoff_start, progress);
    out[n] = filter.Process(out[n], cutoff, rate);
  }
}

// One-shot samples rise over the attack, decay exponentially and fade to zero at their end.
void ShapeOneShot(const InstrumentRecipe& recipe, std::vector<double>& out) {
  const double fade = kEndFadeSeconds * recipe.rate;
  for (std::size_t n = 0; n < out.size(); ++n) {
    const double time = static_cast<double>(n) / recipe.rate;
    double level = recipe.attack > 0.0 ? std::min(1.0, time / recipe.attack) : 1.0;
    if (recipe.decay > 0.0 && time > recipe.attack) {
      level *= std::exp(-kDecayConstants * (time - recipe.attack) / recipe.decay);
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

Sample MakeSample(const InstrumentRecipe& recipe, std::uint32_t seed) {
  std::vector<double> wave(static_cast<std::size_t>(std::lround(recipe.length * recipe.rate)), 0.0);
  double ratio = 1.0;
  const bool tonal = recipe.wave != synth::Waveform::kNoise;
  if (tonal && recipe.loop) ratio = RenderLoopedTone(recipe, wave);
  if (tonal && !recipe.loop) RenderOneShotTone(recipe, wave);
  AddNoise(recipe, seed, wave);
  if (recipe.filter && recipe.loop) FilterLooped(*recipe.filter, recipe.rate, wave);
  if (recipe.filter && !recipe.loop) FilterOneShot(*recipe.filter, recipe.rate, wave);
  if (!recipe.loop) ShapeOneShot(recipe, wave);
  Sample sample;
  sample.name = recipe.name;
  sample.data = ToPcm16(wave);
  if (recipe.loop) {
    sample.loop = LoopType::kForward;
    sample.loop_length = sample.data.size();
  }
  sample.volume = recipe.volume;
  sample.panning = recipe.panning;
  const SampleTuning tuning = TuneSample(recipe.rate, recipe.pitch, ratio);
  sample.relative_note = tuning.relative_note;
  sample.finetune = tuning.finetune;
  return sample;
}

}  // namespace

SampleTuning TuneSample(int rate, int pitch, double ratio) {
  const double semitones =
      12.0 * std::log2(rate / kC4PlaybackRate) + (kNoteC4 - pitch) + 12.0 * std::log2(ratio);
  SampleTuning tuning;
  tuning.relative_note = static_cast<int>(std::lround(semitones));
  tuning.finetune = static_cast<int>(std::lround((semitones - tuning.relative_note) * 128.0));
  tuning.finetune = std::clamp(tuning.finetune, -128, 127);
  return tuning;
}

Instrument SynthesizeInstrument(const InstrumentRecipe& recipe, std::uint32_t seed) {
  Instrument instrument;
  instrument.name = recipe.name;
  instrument.samples.push_back(MakeSample(recipe, seed));
  instrument.volume_envelope = recipe.envelope;
  instrument.fadeout = recipe.fadeout;
  instrument.vibrato = recipe.vibrato;
  return instrument;
}

}  // namespace xm
