#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "XmModule.h"
#include "synth/Oscillator.h"
#include "synth/StateVariableFilter.h"

// A song as written in its text source, before instruments are synthesised and phrases are
// laid out into patterns.
namespace xm {

/// A filter applied while an instrument's sample is made; the cutoff glides from start to end
/// over a one-shot sample and stays at the start value in a looped one.
struct TSampleFilter {
  synth::FilterMode Mode = synth::FilterMode::kLowpass;
  double CutoffStart = 1000.0;
  double CutoffEnd = 1000.0;
  double Q = 0.707;
};

/// How to synthesise one instrument's sample and how the player treats it.
/// Looped samples hold their tone (shaped by the volume envelope); one-shot samples carry their
/// own attack and decay.
struct TInstrumentRecipe {
  std::string Name;
  int Line = 0;
  synth::Waveform Wave = synth::Waveform::kSaw;
  int Voices = 1;
  double DetuneCents = 0.0;
  double Duty = 0.5;
  int Pitch = 48;
  std::optional<double> FreqStart;
  std::optional<double> FreqEnd;
  double Length = 0.5;
  bool Loop = false;
  double Attack = 0.002;
  double Decay = 0.0;
  double Noise = 0.0;
  double FmRatio = 0.0;
  double FmIndex = 0.0;
  std::optional<TSampleFilter> Filter;
  int Rate = 44100;
  int Volume = 64;
  int Panning = 128;
  TEnvelope Envelope;
  int Fadeout = 0;
  TAutoVibrato Vibrato;
};

/// What happens on one row of a phrase.
enum class EventKind { kNote, kKeyOff };

/// A note or key-off on one row. An empty instrument means the phrase's own.
struct TEvent {
  EventKind Kind = EventKind::kNote;
  int Note = 0;
  std::string Instrument;
  std::optional<int> Volume;
};

/// A named run of rows for one channel; rows without an event are empty.
struct TPhrase {
  std::string Name;
  int Line = 0;
  std::string Instrument;
  std::vector<std::optional<TEvent>> Rows;
};

/// One use of a phrase in a channel: played on another instrument, transposed, repeated, scaled
/// in volume and delayed by a number of rows (events pushed past the phrase's end are dropped).
struct TPhraseUse {
  std::string Phrase;
  std::string Instrument;
  int Transpose = 0;
  int Repeat = 1;
  std::optional<int> Volume;
  int Delay = 0;
};

/// The phrases one channel plays end to end within a pattern.
struct TChannelLine {
  int Channel = 0;
  int Line = 0;
  std::vector<TPhraseUse> Uses;
};

/// A named pattern: its length in rows and what each listed channel plays.
struct TPatternPlan {
  std::string Name;
  int Line = 0;
  int Rows = 64;
  std::vector<TChannelLine> Channels;
};

/// A whole song source.
struct TSongSource {
  std::string Title;
  int Channels = 8;
  int Speed = 6;
  int Bpm = 125;
  std::vector<TInstrumentRecipe> Instruments;
  std::vector<TPhrase> Phrases;
  std::vector<TPatternPlan> Patterns;
  std::vector<std::string> Order;
  int OrderLine = 0;
  int Restart = 0;
};

}  // namespace xm
