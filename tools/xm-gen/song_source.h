#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "synth/oscillator.h"
#include "synth/state_variable_filter.h"
#include "xm_module.h"

// A song as written in its text source, before instruments are synthesised and phrases are
// laid out into patterns.
namespace xm {

/// A filter applied while an instrument's sample is made; the cutoff glides from start to end
/// over a one-shot sample and stays at the start value in a looped one.
struct SampleFilter {
  synth::FilterMode mode = synth::FilterMode::kLowpass;
  double cutoff_start = 1000.0;
  double cutoff_end = 1000.0;
  double q = 0.707;
};

/// How to synthesise one instrument's sample and how the player treats it.
/// Looped samples hold their tone (shaped by the volume envelope); one-shot samples carry their
/// own attack and decay.
struct InstrumentRecipe {
  std::string name;
  int line = 0;
  synth::Waveform wave = synth::Waveform::kSaw;
  int voices = 1;
  double detune_cents = 0.0;
  double duty = 0.5;
  int pitch = 48;
  std::optional<double> freq_start;
  std::optional<double> freq_end;
  double length = 0.5;
  bool loop = false;
  double attack = 0.002;
  double decay = 0.0;
  double noise = 0.0;
  double fm_ratio = 0.0;
  double fm_index = 0.0;
  std::optional<SampleFilter> filter;
  int rate = 44100;
  int volume = 64;
  int panning = 128;
  Envelope envelope;
  int fadeout = 0;
  AutoVibrato vibrato;
};

/// What happens on one row of a phrase.
enum class EventKind { kNote, kKeyOff };

/// A note or key-off on one row. An empty instrument means the phrase's own.
struct Event {
  EventKind kind = EventKind::kNote;
  int note = 0;
  std::string instrument;
  std::optional<int> volume;
};

/// A named run of rows for one channel; rows without an event are empty.
struct Phrase {
  std::string name;
  int line = 0;
  std::string instrument;
  std::vector<std::optional<Event>> rows;
};

/// One use of a phrase in a channel: played on another instrument, transposed, repeated, scaled
/// in volume and delayed by a number of rows (events pushed past the phrase's end are dropped).
struct PhraseUse {
  std::string phrase;
  std::string instrument;
  int transpose = 0;
  int repeat = 1;
  std::optional<int> volume;
  int delay = 0;
};

/// The phrases one channel plays end to end within a pattern.
struct ChannelLine {
  int channel = 0;
  int line = 0;
  std::vector<PhraseUse> uses;
};

/// A named pattern: its length in rows and what each listed channel plays.
struct PatternPlan {
  std::string name;
  int line = 0;
  int rows = 64;
  std::vector<ChannelLine> channels;
};

/// A whole song source.
struct SongSource {
  std::string title;
  int channels = 8;
  int speed = 6;
  int bpm = 125;
  std::vector<InstrumentRecipe> instruments;
  std::vector<Phrase> phrases;
  std::vector<PatternPlan> patterns;
  std::vector<std::string> order;
  int order_line = 0;
  int restart = 0;
};

}  // namespace xm
