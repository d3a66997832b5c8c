#include "XmWriter.h"

#include "ByteWriter.h"
#include "XmValidator.h"

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

void WriteSongHeader(const TModule& module, TByteWriter& out) {
  out.PutText("Extended Module: ", 17, ' ');
  out.PutText(module.Name, 20, ' ');
  out.Put8(0x1A);
  out.PutText("CLD xm-gen", 20, ' ');
  out.Put16(kFormatVersion);
  out.Put32(kSongHeaderSize);
  out.Put16(U(static_cast<int>(module.Orders.size())));
  out.Put16(U(module.Restart));
  out.Put16(U(module.Channels));
  out.Put16(U(static_cast<int>(module.Patterns.size())));
  out.Put16(U(static_cast<int>(module.Instruments.size())));
  out.Put16(module.LinearFrequencies ? 1 : 0);
  out.Put16(U(module.Speed));
  out.Put16(U(module.Bpm));
  for (std::size_t i = 0; i < kOrderTableSize; ++i) {
    out.Put8(i < module.Orders.size() ? U(module.Orders[i]) : 0);
  }
}

// A cell with every field set is stored as five plain bytes; otherwise a flag byte with the
// top bit set says which fields follow.
void WriteCell(const TCell& cell, TByteWriter& out) {
  const int fields[] = {cell.Note, cell.Instrument, cell.Volume, cell.Effect, cell.Parameter};
  std::uint32_t flags = 0x80;
  for (int i = 0; i < 5; ++i) {
    if (fields[i] != 0) flags |= 1u << i;
  }
  if (flags != 0x9F) out.Put8(flags);
  for (int field : fields) {
    if (field != 0) out.Put8(U(field));
  }
}

void WritePattern(const TPattern& pattern, TByteWriter& out) {
  out.Put32(kPatternHeaderSize);
  out.Put8(0);
  out.Put16(U(static_cast<int>(pattern.Rows.size())));
  const std::size_t size_offset = out.Size();
  out.Put16(0);
  const std::size_t data_start = out.Size();
  for (const std::vector<TCell>& row : pattern.Rows) {
    for (const TCell& cell : row) WriteCell(cell, out);
  }
  out.Patch16(size_offset, static_cast<std::uint32_t>(out.Size() - data_start));
}

std::uint32_t EnvelopeFlags(const TEnvelope& envelope) {
  if (envelope.Points.empty()) return 0;
  return 1u | (envelope.Sustain ? 2u : 0u) | (envelope.LoopStart ? 4u : 0u);
}

void WriteEnvelopePoints(const TEnvelope& envelope, TByteWriter& out) {
  for (std::size_t i = 0; i < 12; ++i) {
    const bool used = i < envelope.Points.size();
    out.Put16(used ? U(envelope.Points[i].Tick) : 0);
    out.Put16(used ? U(envelope.Points[i].Value) : 0);
  }
}

void WriteEnvelopeIndices(const TEnvelope& envelope, TByteWriter& out) {
  out.Put8(U(envelope.Sustain.value_or(0)));
  out.Put8(U(envelope.LoopStart.value_or(0)));
  out.Put8(U(envelope.LoopEnd.value_or(0)));
}

void WriteInstrumentExtra(const TInstrument& instrument, TByteWriter& out) {
  out.Put32(kSampleHeaderSize);
  for (int sample : instrument.NoteSamples) out.Put8(U(sample));
  WriteEnvelopePoints(instrument.VolumeEnvelope, out);
  WriteEnvelopePoints(instrument.PanningEnvelope, out);
  out.Put8(U(static_cast<int>(instrument.VolumeEnvelope.Points.size())));
  out.Put8(U(static_cast<int>(instrument.PanningEnvelope.Points.size())));
  WriteEnvelopeIndices(instrument.VolumeEnvelope, out);
  WriteEnvelopeIndices(instrument.PanningEnvelope, out);
  out.Put8(EnvelopeFlags(instrument.VolumeEnvelope));
  out.Put8(EnvelopeFlags(instrument.PanningEnvelope));
  out.Put8(U(instrument.Vibrato.Type));
  out.Put8(U(instrument.Vibrato.Sweep));
  out.Put8(U(instrument.Vibrato.Depth));
  out.Put8(U(instrument.Vibrato.Rate));
  out.Put16(U(instrument.Fadeout));
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

void WriteSampleHeader(const TSample& sample, TByteWriter& out) {
  const bool looped = sample.Loop != LoopType::kNone;
  out.Put32(static_cast<std::uint32_t>(sample.Data.size() * 2));
  out.Put32(looped ? static_cast<std::uint32_t>(sample.LoopStart * 2) : 0);
  out.Put32(looped ? static_cast<std::uint32_t>(sample.LoopLength * 2) : 0);
  out.Put8(U(sample.Volume));
  out.Put8(static_cast<std::uint8_t>(static_cast<std::int8_t>(sample.Finetune)));
  out.Put8(LoopFlags(sample.Loop) | kSixteenBitFlag);
  out.Put8(U(sample.Panning));
  out.Put8(static_cast<std::uint8_t>(static_cast<std::int8_t>(sample.RelativeNote)));
  out.Put8(0);
  out.PutText(sample.Name, 22, '\0');
}

// Sample data is stored as the difference from the previous sample, wrapping at 16 bits.
void WriteSampleData(const TSample& sample, TByteWriter& out) {
  std::uint16_t previous = 0;
  for (std::int16_t value : sample.Data) {
    const auto current = static_cast<std::uint16_t>(value);
    out.Put16(static_cast<std::uint16_t>(current - previous));
    previous = current;
  }
}

void WriteInstrument(const TInstrument& instrument, TByteWriter& out) {
  const bool has_samples = !instrument.Samples.empty();
  out.Put32(has_samples ? kInstrumentHeaderSize : kInstrumentHeaderSizeWithoutSamples);
  out.PutText(instrument.Name, 22, '\0');
  out.Put8(0);
  out.Put16(U(static_cast<int>(instrument.Samples.size())));
  if (!has_samples) return;
  WriteInstrumentExtra(instrument, out);
  for (const TSample& sample : instrument.Samples) WriteSampleHeader(sample, out);
  for (const TSample& sample : instrument.Samples) WriteSampleData(sample, out);
}

}  // namespace

std::vector<std::uint8_t> WriteXm(const TModule& module) {
  ValidateModule(module);
  TByteWriter out;
  WriteSongHeader(module, out);
  for (const TPattern& pattern : module.Patterns) WritePattern(pattern, out);
  for (const TInstrument& instrument : module.Instruments) WriteInstrument(instrument, out);
  return out.Bytes();
}

}  // namespace xm
