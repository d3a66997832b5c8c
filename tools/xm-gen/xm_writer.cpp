#include "xm_writer.h"

#include "byte_writer.h"
#include "xm_validator.h"

namespace xm {
namespace {

constexpr std::uint32_t kFormatVersion = 0x0104;
// Size of the song header from its own size field to the end of the order table.
constexpr std::uint32_t kSongHeaderSize = 276;
constexpr std::uint32_t kPatternHeaderSize = 9;
// Instrument header with samples: 29 common bytes, 214 of sample map, envelopes and vibrato,
// then reserved bytes up to the size FastTracker 2 itself writes.
constexpr std::uint32_t kInstrumentHeaderSize = 263;
constexpr std::uint32_t kInstrumentHeaderSizeWithoutSamples = 29;
constexpr std::uint32_t kInstrumentHeaderReserved = 22;
constexpr std::uint32_t kSampleHeaderSize = 40;
constexpr std::size_t kOrderTableSize = 256;
constexpr std::uint32_t kSixteenBitFlag = 0x10;

std::uint32_t U(int value) {
  return static_cast<std::uint32_t>(value);
}

void WriteSongHeader(const Module& module, ByteWriter& out) {
  out.PutText("Extended Module: ", 17, ' ');
  out.PutText(module.name, 20, ' ');
  out.Put8(0x1A);
  out.PutText("CLD xm-gen", 20, ' ');
  out.Put16(kFormatVersion);
  out.Put32(kSongHeaderSize);
  out.Put16(U(static_cast<int>(module.orders.size())));
  out.Put16(U(module.restart));
  out.Put16(U(module.channels));
  out.Put16(U(static_cast<int>(module.patterns.size())));
  out.Put16(U(static_cast<int>(module.instruments.size())));
  out.Put16(module.linear_frequencies ? 1 : 0);
  out.Put16(U(module.speed));
  out.Put16(U(module.bpm));
  for (std::size_t i = 0; i < kOrderTableSize; ++i) {
    out.Put8(i < module.orders.size() ? U(module.orders[i]) : 0);
  }
}

// A cell with every field set is stored as five plain bytes; otherwise a flag byte with the
// top bit set says which fields follow.
void WriteCell(const Cell& cell, ByteWriter& out) {
  const int fields[] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.parameter};
  std::uint32_t flags = 0x80;
  for (int i = 0; i < 5; ++i) {
    if (fields[i] != 0) flags |= 1u << i;
  }
  if (flags != 0x9F) out.Put8(flags);
  for (int field : fields) {
    if (field != 0) out.Put8(U(field));
  }
}

void WritePattern(const Pattern& pattern, ByteWriter& out) {
  out.Put32(kPatternHeaderSize);
  out.Put8(0);
  out.Put16(U(static_cast<int>(pattern.rows.size())));
  const std::size_t size_offset = out.size();
  out.Put16(0);
  const std::size_t data_start = out.size();
  for (const std::vector<Cell>& row : pattern.rows) {
    for (const Cell& cell : row) WriteCell(cell, out);
  }
  out.Patch16(size_offset, static_cast<std::uint32_t>(out.size() - data_start));
}

std::uint32_t EnvelopeFlags(const Envelope& envelope) {
  if (envelope.points.empty()) return 0;
  return 1u | (envelope.sustain ? 2u : 0u) | (envelope.loop_start ? 4u : 0u);
}

void WriteEnvelopePoints(const Envelope& envelope, ByteWriter& out) {
  for (std::size_t i = 0; i < 12; ++i) {
    const bool used = i < envelope.points.size();
    out.Put16(used ? U(envelope.points[i].tick) : 0);
    out.Put16(used ? U(envelope.points[i].value) : 0);
  }
}

void WriteEnvelopeIndices(const Envelope& envelope, ByteWriter& out) {
  out.Put8(U(envelope.sustain.value_or(0)));
  out.Put8(U(envelope.loop_start.value_or(0)));
  out.Put8(U(envelope.loop_end.value_or(0)));
}

void WriteInstrumentExtra(const Instrument& instrument, ByteWriter& out) {
  out.Put32(kSampleHeaderSize);
  for (int sample : instrument.note_samples) out.Put8(U(sample));
  WriteEnvelopePoints(instrument.volume_envelope, out);
  WriteEnvelopePoints(instrument.panning_envelope, out);
  out.Put8(U(static_cast<int>(instrument.volume_envelope.points.size())));
  out.Put8(U(static_cast<int>(instrument.panning_envelope.points.size())));
  WriteEnvelopeIndices(instrument.volume_envelope, out);
  WriteEnvelopeIndices(instrument.panning_envelope, out);
  out.Put8(EnvelopeFlags(instrument.volume_envelope));
  out.Put8(EnvelopeFlags(instrument.panning_envelope));
  out.Put8(U(instrument.vibrato.type));
  out.Put8(U(instrument.vibrato.sweep));
  out.Put8(U(instrument.vibrato.depth));
  out.Put8(U(instrument.vibrato.rate));
  out.Put16(U(instrument.fadeout));
  out.PutZeros(kInstrumentHeaderReserved);
}

std::uint32_t LoopFlags(LoopType loop) {
  switch (loop) {
    case LoopType::kNone:
      return 0;
    case LoopType::kForward:
      return 1;
    case LoopType::kPingPong:
      return 2;
  }
  return 0;
}

void WriteSampleHeader(const Sample& sample, ByteWriter& out) {
  const bool looped = sample.loop != LoopType::kNone;
  out.Put32(static_cast<std::uint32_t>(sample.data.size() * 2));
  out.Put32(looped ? static_cast<std::uint32_t>(sample.loop_start * 2) : 0);
  out.Put32(looped ? static_cast<std::uint32_t>(sample.loop_length * 2) : 0);
  out.Put8(U(sample.volume));
  out.Put8(static_cast<std::uint8_t>(static_cast<std::int8_t>(sample.finetune)));
  out.Put8(LoopFlags(sample.loop) | kSixteenBitFlag);
  out.Put8(U(sample.panning));
  out.Put8(static_cast<std::uint8_t>(static_cast<std::int8_t>(sample.relative_note)));
  out.Put8(0);
  out.PutText(sample.name, 22, '\0');
}

// Sample data is stored as the difference from the previous sample, wrapping at 16 bits.
void WriteSampleData(const Sample& sample, ByteWriter& out) {
  std::uint16_t previous = 0;
  for (std::int16_t value : sample.data) {
    const auto current = static_cast<std::uint16_t>(value);
    out.Put16(static_cast<std::uint16_t>(current - previous));
    previous = current;
  }
}

void WriteInstrument(const Instrument& instrument, ByteWriter& out) {
  const bool has_samples = !instrument.samples.empty();
  out.Put32(has_samples ? kInstrumentHeaderSize : kInstrumentHeaderSizeWithoutSamples);
  out.PutText(instrument.name, 22, '\0');
  out.Put8(0);
  out.Put16(U(static_cast<int>(instrument.samples.size())));
  if (!has_samples) return;
  WriteInstrumentExtra(instrument, out);
  for (const Sample& sample : instrument.samples) WriteSampleHeader(sample, out);
  for (const Sample& sample : instrument.samples) WriteSampleData(sample, out);
}

}  // namespace

std::vector<std::uint8_t> WriteXm(const Module& module) {
  ValidateModule(module);
  ByteWriter out;
  WriteSongHeader(module, out);
  for (const Pattern& pattern : module.patterns) WritePattern(pattern, out);
  for (const Instrument& instrument : module.instruments) WriteInstrument(instrument, out);
  return out.bytes();
}

}  // namespace xm
