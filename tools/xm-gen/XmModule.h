#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// In-memory FastTracker 2 extended module, as the XM writer takes it. Numbers are kept wide so
// that the writer can reject out-of-range values instead of silently truncating them.
namespace xm {

/// Note value of a key-off event; notes 1..96 are C-0..B-7.
inline constexpr int kNoteOff = 97;

/// Highest playable note value (B-7).
inline constexpr int kHighestNote = 96;

/// One channel of one pattern row. Zero in a field means "nothing".
struct TCell {
  int Note = 0;
  int Instrument = 0;
  int Volume = 0;
  int Effect = 0;
  int Parameter = 0;
};

/// A pattern: rows of cells, one cell per channel in every row.
struct TPattern {
  std::vector<std::vector<TCell>> Rows;
};

/// One envelope point: a time in ticks and a value 0..64.
struct TEnvelopePoint {
  int Tick = 0;
  int Value = 0;
};

/// A volume or panning envelope; it is switched on when it has points.
struct TEnvelope {
  std::vector<TEnvelopePoint> Points;
  std::optional<int> Sustain;
  std::optional<int> LoopStart;
  std::optional<int> LoopEnd;
};

/// How a sample repeats once its end (or its loop end) is reached.
enum class LoopType { kNone, kForward, kPingPong };

/// A 16-bit sample. Loop start and length count samples, not bytes.
struct TSample {
  std::string Name;
  std::vector<std::int16_t> Data;
  LoopType Loop = LoopType::kNone;
  std::size_t LoopStart = 0;
  std::size_t LoopLength = 0;
  int Volume = 64;
  int Finetune = 0;
  int Panning = 128;
  int RelativeNote = 0;
};

/// Automatic vibrato applied to every note of an instrument.
struct TAutoVibrato {
  int Type = 0;
  int Sweep = 0;
  int Depth = 0;
  int Rate = 0;
};

/// An instrument: its samples, the sample used for each of the 96 notes, and its envelopes.
struct TInstrument {
  std::string Name;
  std::vector<TSample> Samples;
  std::array<int, 96> NoteSamples{};
  TEnvelope VolumeEnvelope;
  TEnvelope PanningEnvelope;
  int Fadeout = 0;
  TAutoVibrato Vibrato;
};

/// A whole module. `Orders` index `Patterns`; `Restart` is the order position played after the
/// last one.
struct TModule {
  std::string Name;
  int Channels = 8;
  int Speed = 6;
  int Bpm = 125;
  int Restart = 0;
  bool LinearFrequencies = true;
  std::vector<int> Orders;
  std::vector<TPattern> Patterns;
  std::vector<TInstrument> Instruments;
};

}  // namespace xm
