#include "SongBuilder.h"

#include <algorithm>
#include <map>

#include "InstrumentSynth.h"
#include "SongParser.h"
#include "XmWriter.h"
#include "synth/SourceError.h"

namespace xm {
namespace {

using synth::TSourceError;

constexpr int kVolumeColumnSet = 0x10;
constexpr std::uint32_t kNoiseSeedBase = 0x5EED;

template <typename Item>
std::map<std::string, std::size_t> IndexByName(const std::vector<Item>& items) {
  std::map<std::string, std::size_t> index;
  for (std::size_t i = 0; i < items.size(); ++i) index[items[i].Name] = i;
  return index;
}

// Lays phrases into the rows of one pattern and converts their events to cells.
class TPatternLayout {
 public:
  TPatternLayout(const TSongSource& song, const std::map<std::string, std::size_t>& phrases,
                 const std::map<std::string, std::size_t>& instruments)
      : Song_(song), Phrases_(phrases), Instruments_(instruments) {}

  TPattern Build(const TPatternPlan& plan) const {
    TPattern pattern;
    pattern.Rows.assign(static_cast<std::size_t>(plan.Rows),
                        std::vector<TCell>(static_cast<std::size_t>(Song_.Channels)));
    for (const TChannelLine& channel : plan.Channels) LayChannel(plan, channel, pattern);
    return pattern;
  }

 private:
  const TPhrase& FindPhrase(const std::string& name, int line) const {
    const auto found = Phrases_.find(name);
    if (found == Phrases_.end()) throw TSourceError(line, "unknown phrase \"" + name + "\"");
    return Song_.Phrases[found->second];
  }

  int InstrumentNumber(const TEvent& event, const TPhrase& phrase, const TPhraseUse& use) const {
    const std::string& phrase_instrument =
        use.Instrument.empty() ? phrase.Instrument : use.Instrument;
    const std::string& name = event.Instrument.empty() ? phrase_instrument : event.Instrument;
    if (name.empty()) {
      throw TSourceError(phrase.Line,
                         "phrase \"" + phrase.Name + "\" plays a note without an instrument");
    }
    const auto found = Instruments_.find(name);
    if (found == Instruments_.end()) {
      throw TSourceError(phrase.Line,
                         "phrase \"" + phrase.Name + "\" uses unknown instrument \"" + name + "\"");
    }
    return static_cast<int>(found->second) + 1;
  }

  int DefaultVolume(int instrument_number) const {
    return Song_.Instruments[static_cast<std::size_t>(instrument_number - 1)].Volume;
  }

  TCell MakeCell(const TEvent& event, const TPhrase& phrase, const TPhraseUse& use,
                 int line) const {
    TCell cell;
    if (event.Kind == EventKind::kKeyOff) {
      cell.Note = kNoteOff;
      return cell;
    }
    const int note = event.Note + use.Transpose;
    if (note < 0 || note >= kHighestNote) {
      throw TSourceError(line, "phrase \"" + phrase.Name + "\" transposed by " +
                                   std::to_string(use.Transpose) + " leaves the note range");
    }
    cell.Note = note + 1;
    cell.Instrument = InstrumentNumber(event, phrase, use);
    if (event.Volume || use.Volume) {
      const int base = event.Volume.value_or(DefaultVolume(cell.Instrument));
      const int volume = use.Volume ? base * *use.Volume / 64 : base;
      cell.Volume = kVolumeColumnSet + volume;
    }
    return cell;
  }

  void LayChannel(const TPatternPlan& plan, const TChannelLine& channel, TPattern& pattern) const {
    std::size_t cursor = 0;
    const auto column = static_cast<std::size_t>(channel.Channel - 1);
    for (const TPhraseUse& use : channel.Uses) {
      const TPhrase& phrase = FindPhrase(use.Phrase, channel.Line);
      for (int r = 0; r < use.Repeat; ++r) {
        if (cursor + phrase.Rows.size() > pattern.Rows.size()) {
          throw TSourceError(channel.Line, "channel " + std::to_string(channel.Channel) +
                                               " runs past the " + std::to_string(plan.Rows) +
                                               " rows of pattern \"" + plan.Name + "\"");
        }
        const auto delay = static_cast<std::size_t>(use.Delay);
        for (std::size_t i = 0; i + delay < phrase.Rows.size(); ++i) {
          if (!phrase.Rows[i]) continue;
          pattern.Rows[cursor + i + delay][column] =
              MakeCell(*phrase.Rows[i], phrase, use, channel.Line);
        }
        cursor += phrase.Rows.size();
      }
    }
  }

  const TSongSource& Song_;
  const std::map<std::string, std::size_t>& Phrases_;
  const std::map<std::string, std::size_t>& Instruments_;
};

std::vector<int> ResolveOrder(const TSongSource& song) {
  const std::map<std::string, std::size_t> patterns = IndexByName(song.Patterns);
  std::vector<int> order;
  for (const std::string& name : song.Order) {
    const auto found = patterns.find(name);
    if (found == patterns.end())
      throw TSourceError(song.OrderLine, "unknown pattern \"" + name + "\" in the order");
    order.push_back(static_cast<int>(found->second));
  }
  if (song.Restart >= static_cast<int>(order.size())) {
    throw TSourceError(song.OrderLine, "\"loop\" must come before a pattern of the order");
  }
  return order;
}

}  // namespace

TModule BuildModule(const TSongSource& song) {
  TModule module;
  module.Name = song.Title;
  module.Channels = song.Channels;
  module.Speed = song.Speed;
  module.Bpm = song.Bpm;
  module.Restart = song.Restart;
  module.Orders = ResolveOrder(song);
  const std::map<std::string, std::size_t> phrases = IndexByName(song.Phrases);
  const std::map<std::string, std::size_t> instruments = IndexByName(song.Instruments);
  const TPatternLayout layout(song, phrases, instruments);
  for (const TPatternPlan& plan : song.Patterns) module.Patterns.push_back(layout.Build(plan));
  for (std::size_t i = 0; i < song.Instruments.size(); ++i) {
    const auto seed = kNoiseSeedBase + static_cast<std::uint32_t>(i) * 7919u;
    module.Instruments.push_back(SynthesizeInstrument(song.Instruments[i], seed));
  }
  return module;
}

std::vector<std::uint8_t> CompileSong(std::string_view text) {
  return WriteXm(BuildModule(ParseSong(text)));
}

}  // namespace xm
