#include "xm_validator.h"

#include <string>

#include "xm_format_error.h"

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
  if (!condition) throw XmFormatError(message);
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

void ValidateCell(const Cell& cell, int instrument_count, const std::string& where) {
  RequireRange(cell.note, 0, kNoteOff, where + ": note");
  RequireRange(cell.instrument, 0, instrument_count, where + ": instrument");
  Require(ValidVolumeColumn(cell.volume),
          where + ": volume column value " + std::to_string(cell.volume) + " is not valid");
  RequireRange(cell.effect, 0, kMaxEffect, where + ": effect");
  RequireRange(cell.parameter, 0, 255, where + ": effect parameter");
}

void ValidatePattern(const Pattern& pattern, std::size_t index, const Module& module) {
  const std::string name = "pattern " + std::to_string(index);
  const int rows = static_cast<int>(pattern.rows.size());
  RequireRange(rows, 1, kMaxRows, name + " row count");
  const int instrument_count = static_cast<int>(module.instruments.size());
  for (std::size_t r = 0; r < pattern.rows.size(); ++r) {
    const std::string where = name + ", row " + std::to_string(r);
    const std::size_t cells = pattern.rows[r].size();
    Require(cells == static_cast<std::size_t>(module.channels),
            where + " has " + std::to_string(cells) + " cells, but the module has " +
                std::to_string(module.channels) + " channels");
    for (std::size_t c = 0; c < cells; ++c) {
      ValidateCell(pattern.rows[r][c], instrument_count, where + ", channel " + std::to_string(c));
    }
  }
}

void ValidateEnvelope(const Envelope& envelope, const std::string& what) {
  const int count = static_cast<int>(envelope.points.size());
  Require(count == 0 || (count >= 2 && count <= kMaxEnvelopePoints),
          what + " has " + std::to_string(count) + " points; it needs 0 or 2 to 12");
  for (int i = 0; i < count; ++i) {
    const EnvelopePoint& point = envelope.points[static_cast<std::size_t>(i)];
    const std::string where = what + " point " + std::to_string(i);
    RequireRange(point.value, 0, 64, where + " value");
    RequireRange(point.tick, 0, 65535, where + " tick");
    Require(i > 0 || point.tick == 0, what + " must start at tick 0");
    Require(i == 0 || point.tick > envelope.points[static_cast<std::size_t>(i - 1)].tick,
            where + " does not come after the point before it");
  }
  for (const std::optional<int>& index :
       {envelope.sustain, envelope.loop_start, envelope.loop_end}) {
    if (index) RequireRange(*index, 0, count - 1, what + " sustain or loop point");
  }
  Require(envelope.loop_start.has_value() == envelope.loop_end.has_value(),
          what + " needs both a loop start and a loop end");
  Require(!envelope.loop_start || *envelope.loop_start <= *envelope.loop_end,
          what + " loop starts after it ends");
}

void ValidateSample(const Sample& sample, const std::string& what) {
  RequireName(sample.name, kItemNameLength, what + " name");
  Require(sample.data.size() <= kMaxSampleFrames, what + " is too long");
  RequireRange(sample.volume, 0, 64, what + " volume");
  RequireRange(sample.finetune, -128, 127, what + " finetune");
  RequireRange(sample.panning, 0, 255, what + " panning");
  RequireRange(sample.relative_note, -96, 95, what + " relative note");
  if (sample.loop == LoopType::kNone) return;
  Require(sample.loop_length > 0, what + " loops but its loop is empty");
  Require(sample.loop_start < sample.data.size() &&
              sample.loop_length <= sample.data.size() - sample.loop_start,
          what + " loop (start " + std::to_string(sample.loop_start) + ", length " +
              std::to_string(sample.loop_length) + ") runs past its " +
              std::to_string(sample.data.size()) + " samples");
}

void ValidateInstrument(const Instrument& instrument, std::size_t index) {
  const std::string what = "instrument " + std::to_string(index + 1);
  RequireName(instrument.name, kItemNameLength, what + " name");
  const int samples = static_cast<int>(instrument.samples.size());
  RequireRange(samples, 0, kMaxSamples, what + " sample count");
  for (int note_sample : instrument.note_samples) {
    RequireRange(note_sample, 0, samples > 0 ? samples - 1 : 0, what + " note-to-sample map");
  }
  ValidateEnvelope(instrument.volume_envelope, what + " volume envelope");
  ValidateEnvelope(instrument.panning_envelope, what + " panning envelope");
  RequireRange(instrument.fadeout, 0, 4095, what + " fadeout");
  RequireRange(instrument.vibrato.type, 0, 3, what + " vibrato type");
  RequireRange(instrument.vibrato.sweep, 0, 255, what + " vibrato sweep");
  RequireRange(instrument.vibrato.depth, 0, 15, what + " vibrato depth");
  RequireRange(instrument.vibrato.rate, 0, 63, what + " vibrato rate");
  for (std::size_t s = 0; s < instrument.samples.size(); ++s) {
    ValidateSample(instrument.samples[s], what + " sample " + std::to_string(s));
  }
}

void ValidateHeader(const Module& module) {
  RequireName(module.name, kModuleNameLength, "module name");
  RequireRange(module.channels, 2, kMaxChannels, "channel count");
  Require(module.channels % 2 == 0, "channel count " + std::to_string(module.channels) +
                                        " is odd; the format stores even counts only");
  RequireRange(module.speed, 1, 31, "speed");
  RequireRange(module.bpm, 32, 255, "bpm");
  RequireRange(static_cast<int>(module.patterns.size()), 1, kMaxPatterns, "pattern count");
  RequireRange(static_cast<int>(module.instruments.size()), 0, kMaxInstruments, "instrument count");
  RequireRange(static_cast<int>(module.orders.size()), 1, kMaxOrders, "order list length");
  for (std::size_t i = 0; i < module.orders.size(); ++i) {
    RequireRange(module.orders[i], 0, static_cast<int>(module.patterns.size()) - 1,
                 "order " + std::to_string(i) + " pattern");
  }
  RequireRange(module.restart, 0, static_cast<int>(module.orders.size()) - 1, "restart position");
}

}  // namespace

void ValidateModule(const Module& module) {
  ValidateHeader(module);
  for (std::size_t i = 0; i < module.patterns.size(); ++i) {
    ValidatePattern(module.patterns[i], i, module);
  }
  for (std::size_t i = 0; i < module.instruments.size(); ++i) {
    ValidateInstrument(module.instruments[i], i);
  }
}

}  // namespace xm
