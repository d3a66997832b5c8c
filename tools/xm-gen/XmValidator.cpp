#include "XmValidator.h"

#include <string>

#include "XmFormatError.h"

namespace xm {
namespace {

constexpr int kMaxChannels = 32;
constexpr int kMaxRows = 256;
constexpr int kMaxOrders = 256;
constexpr int kMaxPatterns = 256;
constexpr int kMaxInstruments = 128;
constexpr int kMaxSamples = 16;
constexpr int kMaxEnvelopePoints = 12;
constexpr int kMaxEffect = 35;
constexpr std::size_t kModuleNameLength = 20;
constexpr std::size_t kItemNameLength = 22;
constexpr std::size_t kMaxSampleFrames = 0x7FFFFFFF / 2;

void Require(bool condition, const std::string& message) {
  if (!condition) throw TXmFormatError(message);
}

void RequireRange(int value, int min, int max, const std::string& what) {
  Require(value >= min && value <= max, what + " is " + std::to_string(value) +
                                            ", outside the range " + std::to_string(min) + ".." +
                                            std::to_string(max));
}

void RequireName(const std::string& name, std::size_t limit, const std::string& what) {
  Require(name.size() <= limit,
          what + " \"" + name + "\" is longer than " + std::to_string(limit) + " characters");
}

bool ValidVolumeColumn(int volume) {
  return volume == 0 || (volume >= 0x10 && volume <= 0x50) || (volume >= 0x60 && volume <= 0xFF);
}

void ValidateCell(const TCell& cell, int instrument_count, const std::string& where) {
  RequireRange(cell.Note, 0, kNoteOff, where + ": note");
  RequireRange(cell.Instrument, 0, instrument_count, where + ": instrument");
  Require(ValidVolumeColumn(cell.Volume),
          where + ": volume column value " + std::to_string(cell.Volume) + " is not valid");
  RequireRange(cell.Effect, 0, kMaxEffect, where + ": effect");
  RequireRange(cell.Parameter, 0, 255, where + ": effect parameter");
}

void ValidatePattern(const TPattern& pattern, std::size_t index, const TModule& module) {
  const std::string name = "pattern " + std::to_string(index);
  const int rows = static_cast<int>(pattern.Rows.size());
  RequireRange(rows, 1, kMaxRows, name + " row count");
  const int instrument_count = static_cast<int>(module.Instruments.size());
  for (std::size_t r = 0; r < pattern.Rows.size(); ++r) {
    const std::string where = name + ", row " + std::to_string(r);
    const std::size_t cells = pattern.Rows[r].size();
    Require(cells == static_cast<std::size_t>(module.Channels),
            where + " has " + std::to_string(cells) + " cells, but the module has " +
                std::to_string(module.Channels) + " channels");
    for (std::size_t c = 0; c < cells; ++c) {
      ValidateCell(pattern.Rows[r][c], instrument_count, where + ", channel " + std::to_string(c));
    }
  }
}

void ValidateEnvelope(const TEnvelope& envelope, const std::string& what) {
  const int count = static_cast<int>(envelope.Points.size());
  Require(count == 0 || (count >= 2 && count <= kMaxEnvelopePoints),
          what + " has " + std::to_string(count) + " points; it needs 0 or 2 to 12");
  for (int i = 0; i < count; ++i) {
    const TEnvelopePoint& point = envelope.Points[static_cast<std::size_t>(i)];
    const std::string where = what + " point " + std::to_string(i);
    RequireRange(point.Value, 0, 64, where + " value");
    RequireRange(point.Tick, 0, 65535, where + " tick");
    Require(i > 0 || point.Tick == 0, what + " must start at tick 0");
    Require(i == 0 || point.Tick > envelope.Points[static_cast<std::size_t>(i - 1)].Tick,
            where + " does not come after the point before it");
  }
  for (const std::optional<int>& index : {envelope.Sustain, envelope.LoopStart, envelope.LoopEnd}) {
    if (index) RequireRange(*index, 0, count - 1, what + " sustain or loop point");
  }
  Require(envelope.LoopStart.has_value() == envelope.LoopEnd.has_value(),
          what + " needs both a loop start and a loop end");
  Require(!envelope.LoopStart || *envelope.LoopStart <= *envelope.LoopEnd,
          what + " loop starts after it ends");
}

void ValidateSample(const TSample& sample, const std::string& what) {
  RequireName(sample.Name, kItemNameLength, what + " name");
  Require(sample.Data.size() <= kMaxSampleFrames, what + " is too long");
  RequireRange(sample.Volume, 0, 64, what + " volume");
  RequireRange(sample.Finetune, -128, 127, what + " finetune");
  RequireRange(sample.Panning, 0, 255, what + " panning");
  RequireRange(sample.RelativeNote, -96, 95, what + " relative note");
  if (sample.Loop == LoopType::kNone) return;
  Require(sample.LoopLength > 0, what + " loops but its loop is empty");
  Require(sample.LoopStart < sample.Data.size() &&
              sample.LoopLength <= sample.Data.size() - sample.LoopStart,
          what + " loop (start " + std::to_string(sample.LoopStart) + ", length " +
              std::to_string(sample.LoopLength) + ") runs past its " +
              std::to_string(sample.Data.size()) + " samples");
}

void ValidateInstrument(const TInstrument& instrument, std::size_t index) {
  const std::string what = "instrument " + std::to_string(index + 1);
  RequireName(instrument.Name, kItemNameLength, what + " name");
  const int samples = static_cast<int>(instrument.Samples.size());
  RequireRange(samples, 0, kMaxSamples, what + " sample count");
  for (int note_sample : instrument.NoteSamples) {
    RequireRange(note_sample, 0, samples > 0 ? samples - 1 : 0, what + " note-to-sample map");
  }
  ValidateEnvelope(instrument.VolumeEnvelope, what + " volume envelope");
  ValidateEnvelope(instrument.PanningEnvelope, what + " panning envelope");
  RequireRange(instrument.Fadeout, 0, 4095, what + " fadeout");
  RequireRange(instrument.Vibrato.Type, 0, 3, what + " vibrato type");
  RequireRange(instrument.Vibrato.Sweep, 0, 255, what + " vibrato sweep");
  RequireRange(instrument.Vibrato.Depth, 0, 15, what + " vibrato depth");
  RequireRange(instrument.Vibrato.Rate, 0, 63, what + " vibrato rate");
  for (std::size_t s = 0; s < instrument.Samples.size(); ++s) {
    ValidateSample(instrument.Samples[s], what + " sample " + std::to_string(s));
  }
}

void ValidateHeader(const TModule& module) {
  RequireName(module.Name, kModuleNameLength, "module name");
  RequireRange(module.Channels, 2, kMaxChannels, "channel count");
  Require(module.Channels % 2 == 0, "channel count " + std::to_string(module.Channels) +
                                        " is odd; the format stores even counts only");
  RequireRange(module.Speed, 1, 31, "speed");
  RequireRange(module.Bpm, 32, 255, "bpm");
  RequireRange(static_cast<int>(module.Patterns.size()), 1, kMaxPatterns, "pattern count");
  RequireRange(static_cast<int>(module.Instruments.size()), 0, kMaxInstruments, "instrument count");
  RequireRange(static_cast<int>(module.Orders.size()), 1, kMaxOrders, "order list length");
  for (std::size_t i = 0; i < module.Orders.size(); ++i) {
    RequireRange(module.Orders[i], 0, static_cast<int>(module.Patterns.size()) - 1,
                 "order " + std::to_string(i) + " pattern");
  }
  RequireRange(module.Restart, 0, static_cast<int>(module.Orders.size()) - 1, "restart position");
}

}  // namespace

void ValidateModule(const TModule& module) {
  ValidateHeader(module);
  for (std::size_t i = 0; i < module.Patterns.size(); ++i) {
    ValidatePattern(module.Patterns[i], i, module);
  }
  for (std::size_t i = 0; i < module.Instruments.size(); ++i) {
    ValidateInstrument(module.Instruments[i], i);
  }
}

}  // namespace xm
