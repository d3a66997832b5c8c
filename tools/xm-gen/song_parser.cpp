#include "song_parser.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>

#include "synth/note_name.h"
#include "synth/source_error.h"
#include "synth/source_text.h"

namespace xm {
namespace {

using synth::ExpectArgumentCount;
using synth::ParseInteger;
using synth::ParseNumber;
using synth::SourceError;
using synth::SourceLine;

constexpr int kMaxRepeat = 256;

bool IsName(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

void RequireName(const SourceLine& line, std::size_t index, std::string_view what) {
  if (!IsName(line.words[index])) {
    throw SourceError(line.number, std::string(what) + " name \"" + line.words[index] +
                                       "\" may only use letters, digits and _");
  }
}

int Note(const SourceLine& line, const std::string& word) {
  const std::optional<int> note = synth::ParseNoteName(word);
  if (!note) throw SourceError(line.number, "\"" + word + "\" is not a note name such as c#4");
  return *note;
}

double Frequency(const SourceLine& line, const std::string& word) {
  if (const std::optional<int> note = synth::ParseNoteName(word)) {
    return synth::NoteFrequency(*note);
  }
  return ParseNumber(word, line.number, 10.0, 20000.0, "frequency");
}

// ---- instruments ----

double Number(const SourceLine& line, std::size_t index, double min, double max) {
  return ParseNumber(line.words[index], line.number, min, max, line.words[0]);
}

int Integer(const SourceLine& line, std::size_t index, int min, int max) {
  return ParseInteger(line.words[index], line.number, min, max, line.words[0]);
}

void ParseWave(const SourceLine& line, InstrumentRecipe& recipe) {
  ExpectArgumentCount(line, 1, 1);
  const std::optional<synth::Waveform> wave = synth::ParseWaveform(line.words[1]);
  if (!wave) {
    throw SourceError(line.number, "unknown wave \"" + line.words[1] +
                                       "\" (sine, triangle, saw, square, pulse or noise)");
  }
  recipe.wave = *wave;
}

void ParseFilter(const SourceLine& line, InstrumentRecipe& recipe) {
  ExpectArgumentCount(line, 2, 4);
  const std::optional<synth::FilterMode> mode = synth::ParseFilterMode(line.words[1]);
  if (!mode) {
    throw SourceError(line.number,
                      "unknown filter \"" + line.words[1] + "\" (lowpass, highpass or bandpass)");
  }
  SampleFilter filter;
  filter.mode = *mode;
  filter.cutoff_start = Frequency(line, line.words[2]);
  filter.cutoff_end = line.words.size() > 3 ? Frequency(line, line.words[3]) : filter.cutoff_start;
  if (line.words.size() > 4) filter.q = ParseNumber(line.words[4], line.number, 0.3, 20.0, "q");
  recipe.filter = filter;
}

void ParseEnvelope(const SourceLine& line, InstrumentRecipe& recipe) {
  const std::size_t values = line.words.size() - 1;
  if (values < 4 || values > 24 || values % 2 != 0) {
    throw SourceError(line.number, "envelope takes 2 to 12 pairs of tick and level");
  }
  recipe.envelope.points.clear();
  for (std::size_t i = 1; i < line.words.size(); i += 2) {
    recipe.envelope.points.push_back(
        {ParseInteger(line.words[i], line.number, 0, 65535, "envelope tick"),
         ParseInteger(line.words[i + 1], line.number, 0, 64, "envelope level")});
  }
}

using InstrumentKey = std::function<void(const SourceLine&, InstrumentRecipe&)>;

const std::map<std::string, InstrumentKey>& InstrumentKeys() {
  static const std::map<std::string, InstrumentKey> keys = {
      {"wave", ParseWave},
      {"filter", ParseFilter},
      {"envelope", ParseEnvelope},
      {"voices",
       [](const SourceLine& l, InstrumentRecipe& s) {
         ExpectArgumentCount(l, 2, 2);
         s.voices = Integer(l, 1, 1, 9);
         s.detune_cents = Number(l, 2, 0.0, 100.0);
       }},
      {"pitch",
       [](const SourceLine& l, InstrumentRecipe& s) {
         ExpectArgumentCount(l, 1, 1);
         s.pitch = Note(l, l.words[1]);
       }},
      {"freq",
       [](const SourceLine& l, InstrumentRecipe& s) {
         ExpectArgumentCount(l, 1, 2);
         s.freq_start = Frequency(l, l.words[1]);
         s.freq_end = l.words.size() > 2 ? Frequency(l, l.words[2]) : *s.freq_start;
       }},
      {"loop",
       [](const SourceLine& l, InstrumentRecipe& s) {
         ExpectArgumentCount(l, 0, 0);
         s.loop = true;
       }},
      {"fm",
       [](const SourceLine& l, InstrumentRecipe& s) {
         ExpectArgumentCount(l, 2, 2);
         s.fm_ratio = Number(l, 1, 0.0, 16.0);
         s.fm_index = Number(l, 2, 0.0, 20.0);
       }},
      {"sustain",
       [](const SourceLine& l, InstrumentRecipe& s) {
         ExpectArgumentCount(l, 1, 1);
         s.envelope.sustain = Integer(l, 1, 0, 11);
       }},
      {"vibrato",
       [](const SourceLine& l, InstrumentRecipe& s) {
         ExpectArgumentCount(l, 4, 4);
         s.vibrato = {Integer(l, 1, 0, 3), Integer(l, 2, 0, 255), Integer(l, 3, 0, 15),
                      Integer(l, 4, 0, 63)};
       }},
  };
  return keys;
}

void ParseSimpleInstrumentKey(const SourceLine& line, InstrumentRecipe& recipe) {
  const std::string& key = line.words[0];
  ExpectArgumentCount(line, 1, 1);
  if (key == "duty") {
    recipe.duty = Number(line, 1, 0.01, 0.99);
  } else if (key == "length") {
    recipe.length = Number(line, 1, 0.001, 4.0);
  } else if (key == "attack") {
    recipe.attack = Number(line, 1, 0.0, 4.0);
  } else if (key == "decay") {
    recipe.decay = Number(line, 1, 0.0, 30.0);
  } else if (key == "noise") {
    recipe.noise = Number(line, 1, 0.0, 1.0);
  } else if (key == "rate") {
    recipe.rate = Integer(line, 1, 8000, 48000);
  } else if (key == "volume") {
    recipe.volume = Integer(line, 1, 0, 64);
  } else if (key == "panning") {
    recipe.panning = Integer(line, 1, 0, 255);
  } else if (key == "fadeout") {
    recipe.fadeout = Integer(line, 1, 0, 4095);
  } else {
    throw SourceError(line.number, "unknown instrument setting \"" + key + "\"");
  }
}

void ParseInstrumentLine(const SourceLine& line, InstrumentRecipe& recipe) {
  const auto key = InstrumentKeys().find(line.words[0]);
  if (key != InstrumentKeys().end()) return key->second(line, recipe);
  ParseSimpleInstrumentKey(line, recipe);
}

void CheckInstrument(const InstrumentRecipe& recipe) {
  const auto& envelope = recipe.envelope;
  if (envelope.sustain && *envelope.sustain >= static_cast<int>(envelope.points.size())) {
    throw SourceError(recipe.line, "instrument \"" + recipe.name +
                                       "\": sustain names an envelope point it does not have");
  }
  if (recipe.attack > recipe.length) {
    throw SourceError(recipe.line,
                      "instrument \"" + recipe.name + "\": attack is longer than the sample");
  }
}

// ---- phrase tokens ----

// Splits "base:inst@vol*n" into the base and its marked parts.
std::map<char, std::string> SplitMarked(const std::string& word, std::string_view markers,
                                        std::string& base, int line) {
  std::map<char, std::string> parts;
  const std::size_t first = word.find_first_of(markers);
  base = word.substr(0, first);
  std::size_t pos = first;
  while (pos != std::string::npos) {
    const std::size_t next = word.find_first_of(markers, pos + 1);
    const char marker = word[pos];
    if (parts.count(marker) != 0) {
      throw SourceError(line, "\"" + word + "\" repeats the '" + std::string(1, marker) + "' part");
    }
    parts[marker] = word.substr(pos + 1, next == std::string::npos ? next : next - pos - 1);
    pos = next;
  }
  return parts;
}

std::optional<Event> BaseEvent(const std::string& base, const SourceLine& line,
                               const std::map<std::string, Event>& aliases) {
  if (base == ".") return std::nullopt;
  if (base == "off") return Event{EventKind::kKeyOff, 0, "", std::nullopt};
  const auto alias = aliases.find(base);
  if (alias != aliases.end()) return alias->second;
  if (const std::optional<int> note = synth::ParseNoteName(base)) {
    return Event{EventKind::kNote, *note, "", std::nullopt};
  }
  throw SourceError(line.number, "\"" + base + "\" is not a note, an alias, \".\" or \"off\"");
}

void ApplyEventParts(const std::map<char, std::string>& parts, const std::string& word, int line,
                     std::optional<Event>& event) {
  const bool sets_event_fields = parts.count(':') != 0 || parts.count('@') != 0;
  if (sets_event_fields && (!event || event->kind != EventKind::kNote)) {
    throw SourceError(line, "\"" + word + "\": only notes take an instrument or a volume");
  }
  if (parts.count(':') != 0) {
    if (!IsName(parts.at(':'))) throw SourceError(line, "\"" + word + "\": bad instrument name");
    event->instrument = parts.at(':');
  }
  if (parts.count('@') != 0) event->volume = ParseInteger(parts.at('@'), line, 0, 64, "volume");
}

void AppendToken(const std::string& word, const SourceLine& line,
                 const std::map<std::string, Event>& aliases, Phrase& phrase) {
  std::string base;
  const std::map<char, std::string> parts = SplitMarked(word, ":@*/", base, line.number);
  std::optional<Event> event = BaseEvent(base, line, aliases);
  ApplyEventParts(parts, word, line.number, event);
  if (parts.count('*') != 0 && parts.count('/') != 0) {
    throw SourceError(line.number, "\"" + word + "\" cannot both repeat (*) and hold (/)");
  }
  if (parts.count('*') != 0) {
    const int count = ParseInteger(parts.at('*'), line.number, 1, kMaxRepeat, "repeat count");
    phrase.rows.insert(phrase.rows.end(), static_cast<std::size_t>(count), event);
    return;
  }
  const int span =
      parts.count('/') != 0 ? ParseInteger(parts.at('/'), line.number, 1, kMaxRepeat, "length") : 1;
  phrase.rows.push_back(event);
  phrase.rows.insert(phrase.rows.end(), static_cast<std::size_t>(span - 1), std::nullopt);
}

// ---- pattern lines ----

PhraseUse ParsePhraseUse(const std::string& word, int line) {
  PhraseUse use;
  const std::map<char, std::string> parts = SplitMarked(word, ":+-*@>", use.phrase, line);
  if (!IsName(use.phrase))
    throw SourceError(line, "\"" + word + "\" does not start with a phrase name");
  if (parts.count('+') != 0 && parts.count('-') != 0) {
    throw SourceError(line, "\"" + word + "\" transposes both up and down");
  }
  if (parts.count(':') != 0) {
    if (!IsName(parts.at(':'))) throw SourceError(line, "\"" + word + "\": bad instrument name");
    use.instrument = parts.at(':');
  }
  if (parts.count('+') != 0) use.transpose = ParseInteger(parts.at('+'), line, 0, 95, "transpose");
  if (parts.count('-') != 0) use.transpose = -ParseInteger(parts.at('-'), line, 0, 95, "transpose");
  if (parts.count('*') != 0)
    use.repeat = ParseInteger(parts.at('*'), line, 1, kMaxRepeat, "repeat count");
  if (parts.count('@') != 0) use.volume = ParseInteger(parts.at('@'), line, 0, 64, "volume");
  if (parts.count('>') != 0) use.delay = ParseInteger(parts.at('>'), line, 0, kMaxRepeat, "delay");
  return use;
}

ChannelLine ParseChannelLine(const SourceLine& line, int channels) {
  if (line.words.size() < 2) {
    throw SourceError(line.number, "a pattern line is a channel number followed by phrases");
  }
  ChannelLine channel;
  channel.line = line.number;
  channel.channel = ParseInteger(line.words[0], line.number, 1, channels, "channel");
  for (std::size_t i = 1; i < line.words.size(); ++i) {
    channel.uses.push_back(ParsePhraseUse(line.words[i], line.number));
  }
  return channel;
}

// ---- the whole song ----

// Reads a song source line by line, keeping track of the block being filled.
class SongParser {
 public:
  explicit SongParser(std::string_view text) : lines_(synth::SplitSourceLines(text)) {}

  SongSource Parse() {
    for (next_ = 0; next_ < lines_.size();) ParseTopLevel(lines_[next_++]);
    if (song_.order.empty()) throw SourceError(LastLine(), "the song has no \"order\" line");
    return song_;
  }

 private:
  int LastLine() const { return lines_.empty() ? 1 : lines_.back().number; }

  std::vector<SourceLine> BlockBody(const SourceLine& opening) {
    std::vector<SourceLine> body;
    while (next_ < lines_.size()) {
      const SourceLine& line = lines_[next_++];
      if (line.words[0] == "end") {
        ExpectArgumentCount(line, 0, 0);
        return body;
      }
      body.push_back(line);
    }
    throw SourceError(opening.number, "\"" + opening.words[0] + "\" block has no \"end\"");
  }

  void ClaimName(const SourceLine& line, std::set<std::string>& names, std::string_view what) {
    RequireName(line, 1, what);
    if (!names.insert(line.words[1]).second) {
      throw SourceError(line.number,
                        std::string(what) + " \"" + line.words[1] + "\" is defined twice");
    }
  }

  // "like <name>" copies every setting of an earlier instrument; later lines override them.
  void CopyInstrument(const SourceLine& line, InstrumentRecipe& recipe) const {
    ExpectArgumentCount(line, 1, 1);
    const auto found =
        std::find_if(song_.instruments.begin(), song_.instruments.end(),
                     [&](const InstrumentRecipe& s) { return s.name == line.words[1]; });
    if (found == song_.instruments.end()) {
      throw SourceError(line.number, "\"like\" names unknown instrument \"" + line.words[1] + "\"");
    }
    const std::string name = recipe.name;
    const int number = recipe.line;
    recipe = *found;
    recipe.name = name;
    recipe.line = number;
  }

  void ParseInstrument(const SourceLine& line) {
    ExpectArgumentCount(line, 1, 1);
    ClaimName(line, instrument_names_, "instrument");
    InstrumentRecipe recipe;
    recipe.name = line.words[1];
    recipe.line = line.number;
    for (const SourceLine& body : BlockBody(line)) {
      if (body.words[0] == "like") {
        CopyInstrument(body, recipe);
      } else {
        ParseInstrumentLine(body, recipe);
      }
    }
    CheckInstrument(recipe);
    song_.instruments.push_back(recipe);
  }

  void ParsePhrase(const SourceLine& line) {
    ExpectArgumentCount(line, 1, 2);
    ClaimName(line, phrase_names_, "phrase");
    Phrase phrase;
    phrase.name = line.words[1];
    phrase.line = line.number;
    if (line.words.size() > 2) phrase.instrument = line.words[2];
    for (const SourceLine& body : BlockBody(line)) {
      for (const std::string& word : body.words) AppendToken(word, body, aliases_, phrase);
    }
    if (phrase.rows.empty())
      throw SourceError(line.number, "phrase \"" + phrase.name + "\" is empty");
    song_.phrases.push_back(phrase);
  }

  void ParsePattern(const SourceLine& line) {
    ExpectArgumentCount(line, 2, 2);
    ClaimName(line, pattern_names_, "pattern");
    PatternPlan pattern;
    pattern.name = line.words[1];
    pattern.line = line.number;
    pattern.rows = ParseInteger(line.words[2], line.number, 1, 256, "pattern rows");
    for (const SourceLine& body : BlockBody(line)) {
      pattern.channels.push_back(ParseChannelLine(body, song_.channels));
    }
    song_.patterns.push_back(pattern);
  }

  void ParseAlias(const SourceLine& line) {
    ExpectArgumentCount(line, 2, 2);
    RequireName(line, 1, "alias");
    const std::string& name = line.words[1];
    if (name == "off" || synth::ParseNoteName(name) || aliases_.count(name) != 0) {
      throw SourceError(line.number,
                        "alias \"" + name + "\" clashes with a note, off or another alias");
    }
    Phrase scratch;
    AppendToken(line.words[2], line, aliases_, scratch);
    if (scratch.rows.size() != 1 || !scratch.rows[0]) {
      throw SourceError(line.number, "an alias stands for exactly one note or off");
    }
    aliases_[name] = *scratch.rows[0];
  }

  void ParseOrder(const SourceLine& line) {
    ExpectArgumentCount(line, 1, 256);
    if (song_.order.empty()) song_.order_line = line.number;
    for (std::size_t i = 1; i < line.words.size(); ++i) {
      if (line.words[i] == "loop") {
        song_.restart = static_cast<int>(song_.order.size());
      } else {
        song_.order.push_back(line.words[i]);
      }
    }
  }

  void ParseHeader(const SourceLine& line) {
    const std::string& key = line.words[0];
    if (key == "title") {
      ExpectArgumentCount(line, 1, 20);
      song_.title = line.words[1];
      for (std::size_t i = 2; i < line.words.size(); ++i) song_.title += " " + line.words[i];
      return;
    }
    ExpectArgumentCount(line, 1, 1);
    if (key == "channels") {
      song_.channels = ParseInteger(line.words[1], line.number, 2, 32, key);
    } else if (key == "speed") {
      song_.speed = ParseInteger(line.words[1], line.number, 1, 31, key);
    } else if (key == "bpm") {
      song_.bpm = ParseInteger(line.words[1], line.number, 32, 255, key);
    } else {
      throw SourceError(line.number, "unknown song setting \"" + key + "\"");
    }
  }

  void ParseTopLevel(const SourceLine& line) {
    const std::string& key = line.words[0];
    if (key == "instrument") return ParseInstrument(line);
    if (key == "phrase") return ParsePhrase(line);
    if (key == "pattern") return ParsePattern(line);
    if (key == "alias") return ParseAlias(line);
    if (key == "order") return ParseOrder(line);
    if (key == "end") throw SourceError(line.number, "\"end\" without a block to close");
    ParseHeader(line);
  }

  std::vector<SourceLine> lines_;
  std::size_t next_ = 0;
  SongSource song_;
  std::map<std::string, Event> aliases_;
  std::set<std::string> instrument_names_;
  std::set<std::string> phrase_names_;
  std::set<std::string> pattern_names_;
};

}  // namespace

SongSource ParseSong(std::string_view text) {
  return SongParser(text).Parse();
}

}  // namespace xm
