#include "song_builder.h"

#include <algorithm>
#include <map>

#include "instrument_synth.h"
#include "song_parser.h"
#include "synth/source_error.h"
#include "xm_writer.h"

namespace xm {
namespace {

using synth::SourceError;

constexpr int kVolumeColumnSet = 0x10;
constexpr std::uint32_t kNoiseSeedBase = 0x5EED;

template <typename Item>
std::map<std::string, std::size_t> IndexByName(const std::vector<Item>& items) {
  std::map<std::string, std::size_t> index;
  for (std::size_t i = 0; i < items.size(); ++i) index[items[i].name] = i;
  return index;
}

// Lays phrases into the rows of one pattern and converts their events to cells.
class PatternLayout {
 public:
  PatternLayout(const SongSource& song, const std::map<std::string, std::size_t>& phrases,
                const std::map<std::string, std::size_t>& instruments)
      : song_(song), phrases_(phrases), instruments_(instruments) {}

  Pattern Build(const PatternPlan& plan) const {
    Pattern pattern;
    pattern.rows.assign(static_cast<std::size_t>(plan.rows),
                        std::vector<Cell>(static_cast<std::size_t>(song_.channels)));
    for (const ChannelLine& channel : plan.channels) LayChannel(plan, channel, pattern);
    return pattern;
  }

 private:
  const Phrase& FindPhrase(const std::string& name, int line) const {
    const auto found = phrases_.find(name);
    if (found == phrases_.end()) throw SourceError(line, "unknown phrase \"" + name + "\"");
    return song_.phrases[found->second];
  }

  int InstrumentNumber(const Event& event, const Phrase& phrase, const PhraseUse& use) const {
    const std::string& phrase_instrument =
        use.instrument.empty() ? phrase.instrument : use.instrument;
    const std::string& name = event.instrument.empty() ? phrase_instrument : event.instrument;
    if (name.empty()) {
      throw SourceError(phrase.line,
                        "phrase \"" + phrase.name + "\" plays a note without an instrument");
    }
    const auto found = instruments_.find(name);
    if (found == instruments_.end()) {
      throw SourceError(phrase.line,
                        "phrase \"" + phrase.name + "\" uses unknown instrument \"" + name + "\"");
    }
    return static_cast<int>(found->second) + 1;
  }

  int DefaultVolume(int instrument_number) const {
    return song_.instruments[static_cast<std::size_t>(instrument_number - 1)].volume;
  }

  Cell MakeCell(const Event& event, const Phrase& phrase, const PhraseUse& use, int line) const {
    Cell cell;
    if (event.kind == EventKind::kKeyOff) {
      cell.note = kNoteOff;
      return cell;
    }
    const int note = event.note + use.transpose;
    if (note < 0 || note >= kHighestNote) {
      throw SourceError(line, "phrase \"" + phrase.name + "\" transposed by " +
                                  std::to_string(use.transpose) + " leaves the note range");
    }
    cell.note = note + 1;
    cell.instrument = InstrumentNumber(event, phrase, use);
    if (event.volume || use.volume) {
      const int base = event.volume.value_or(DefaultVolume(cell.instrument));
      const int volume = use.volume ? base * *use.volume / 64 : base;
      cell.volume = kVolumeColumnSet + volume;
    }
    return cell;
  }

  void LayChannel(const PatternPlan& plan, const ChannelLine& channel, Pattern& pattern) const {
    std::size_t cursor = 0;
    const auto column = static_cast<std::size_t>(channel.channel - 1);
    for (const PhraseUse& use : channel.uses) {
      const Phrase& phrase = FindPhrase(use.phrase, channel.line);
      for (int r = 0; r < use.repeat; ++r) {
        if (cursor + phrase.rows.size() > pattern.rows.size()) {
          throw SourceError(channel.line, "channel " + std::to_string(channel.channel) +
                                              " runs past the " + std::to_string(plan.rows) +
                                              " rows of pattern \"" + plan.name + "\"");
        }
        const auto delay = static_cast<std::size_t>(use.delay);
        for (std::size_t i = 0; i + delay < phrase.rows.size(); ++i) {
          if (!phrase.rows[i]) continue;
          pattern.rows[cursor + i + delay][column] =
              MakeCell(*phrase.rows[i], phrase, use, channel.line);
        }
        cursor += phrase.rows.size();
      }
    }
  }

  const SongSource& song_;
  const std::map<std::string, std::size_t>& phrases_;
  const std::map<std::string, std::size_t>& instruments_;
};

std::vector<int> ResolveOrder(const SongSource& song) {
  const std::map<std::string, std::size_t> patterns = IndexByName(song.patterns);
  std::vector<int> order;
  for (const std::string& name : song.order) {
    const auto found = patterns.find(name);
    if (found == patterns.end())
      throw SourceError(song.order_line, "unknown pattern \"" + name + "\" in the order");
    order.push_back(static_cast<int>(found->second));
  }
  if (song.restart >= static_cast<int>(order.size())) {
    throw SourceError(song.order_line, "\"loop\" must come before a pattern of the order");
  }
  return order;
}

}  // namespace

Module BuildModule(const SongSource& song) {
  Module module;
  module.name = song.title;
  module.channels = song.channels;
  module.speed = song.speed;
  module.bpm = song.bpm;
  module.restart = song.restart;
  module.orders = ResolveOrder(song);
  const std::map<std::string, std::size_t> phrases = IndexByName(song.phrases);
  const std::map<std::string, std::size_t> instruments = IndexByName(song.instruments);
  const PatternLayout layout(song, phrases, instruments);
  for (const PatternPlan& plan : song.patterns) module.patterns.push_back(layout.Build(plan));
  for (std::size_t i = 0; i < song.instruments.size(); ++i) {
    const auto seed = kNoiseSeedBase + static_cast<std::uint32_t>(i) * 7919u;
    module.instruments.push_back(SynthesizeInstrument(song.instruments[i], seed));
  }
  return module;
}

std::vector<std::uint8_t> CompileSong(std::string_view text) {
  return WriteXm(BuildModule(ParseSong(text)));
}

}  // namespace xm
