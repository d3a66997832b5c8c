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
struct Cell {
  int note = 0;
  int instrument = 0;
  int volume = 0;
  int effect = 0;
  int parameter = 0;
};

/// A pattern: rows of cells, one cell per channel in every row.
struct Pattern {
  std::vector<std::vector<Cell>> rows;
};

/// One envelope point: a time in ticks and a value 0..64.
struct EnvelopePoint {
  int tick = 0;
  int value = 0;
};

/// A volume or panning envelope; it is switched on when it has points.
struct Envelope {
  std::vector<EnvelopePoint> points;
  std::optional<int> sustain;
  std::optional<int> loop_start;
  std::optional<int> loop_end;
};

/// How a sample repeats once its end (or its loop end) is reached.
enum class LoopType { kNone, kForward, kPingPong };

/// A 16-bit sample. Loop start and length count samples, not bytes.
struct Sample {
  std::string name;
  std::vector<std::int16_t> data;
  LoopType loop = LoopType::kNone;
  std::size_t loop_start = 0;
  std::size_t loop_length = 0;
  int volume = 64;
  int finetune = 0;
  int panning = 128;
  int relative_note = 0;
};

/// Automatic vibrato applied to every note of an instrument.
struct AutoVibrato {
  int type = 0;
  int sweep = 0;
  int depth = 0;
  int rate = 0;
};

/// An instrument: its samples, the sample used for each of the 96 notes, and its envelopes.
struct Instrument {
  std::string name;
  std::vector<Sample> samples;
  std::array<int, 96> note_samples{};
  Envelope volume_envelope;
  Envelope panning_envelope;
  int fadeout = 0;
  AutoVibrato vibrato;
};

/// A whole module. `orders` index `patterns`; `restart` is the order position played after the
/// last one.
struct Module {
  std::string name;
  int channels = 8;
  int speed = 6;
  int bpm = 125;
  int restart = 0;
  bool linear_frequencies = true;
  std::vector<int> orders;
  std::vector<Pattern> patterns;
  std::vector<Instrument> instruments;
};

}  // namespace xm
