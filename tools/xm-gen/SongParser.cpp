#include "SongParser.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>

#include "synth/NoteName.h"
#include "synth/SourceError.h"
#include "synth/SourceText.h"

namespace xm {
namespace {

using synth::ExpectArgumentCount;
using synth::ParseInteger;
using synth::ParseNumber;
using synth::TSourceError;
using synth::TSourceLine;

constexpr int kMaxRepeat = 256;

bool IsName(std::string_view word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

void RequireName(const TSourceLine& line, std::size_t index, std::string_view what) {
  if (!IsName(line.Words[index])) {
    throw TSourceError(line.Number, std::string(what) + " name \"" + line.Words[index] +
                                        "\" may only use letters, digits and _");
  }
}

int Note(const TSourceLine& line, const std::string& word) {
  const std::optional<int> note = synth::ParseNoteName(word);
  if (!note) throw TSourceError(line.Number, "\"" + word + "\" is not a note name such as c#4");
  return *note;
}

double Frequency(const TSourceLine& line, const std::string& word) {
  if (const std::optional<int> note = synth::ParseNoteName(word)) {
    return synth::NoteFrequency(*note);
  }
  return ParseNumber(word, line.Number, 10.0, 20000.0, "frequency");
}

// ---- instruments ----

double Number(const TSourceLine& line, std::size_t index, double min, double max) {
  return ParseNumber(line.Words[index], line.Number, min, max, line.Words[0]);
}

int Integer(const TSourceLine& line, std::size_t index, int min, int max) {
  return ParseInteger(line.Words[index], line.Number, min, max, line.Words[0]);
}

void ParseWave(const TSourceLine& line, TInstrumentRecipe& recipe) {
  ExpectArgumentCount(line, 1, 1);
  const std::optional<synth::Waveform> wave = synth::ParseWaveform(line.Words[1]);
  if (!wave) {
    throw TSourceError(line.Number, "unknown wave \"" + line.Words[1] +
                                        "\" (sine, triangle, saw, square, pulse or noise)");
  }
  recipe.Wave = *wave;
}

void ParseFilter(const TSourceLine& line, TInstrumentRecipe& recipe) {
  ExpectArgumentCount(line, 2, 4);
  const std::optional<synth::FilterMode> mode = synth::ParseFilterMode(line.Words[1]);
  if (!mode) {
    throw TSourceError(line.Number,
                       "unknown filter \"" + line.Words[1] + "\" (lowpass, highpass or bandpass)");
  }
  TSampleFilter filter;
  filter.Mode = *mode;
  filter.CutoffStart = Frequency(line, line.Words[2]);
  filter.CutoffEnd = line.Words.size() > 3 ? Frequency(line, line.Words[3]) : filter.CutoffStart;
  if (line.Words.size() > 4) filter.Q = ParseNumber(line.Words[4], line.Number, 0.3, 20.0, "q");
  recipe.Filter = filter;
}

void ParseEnvelope(const TSourceLine& line, TInstrumentRecipe& recipe) {
  const std::size_t values = line.Words.size() - 1;
  if (values < 4 || values > 24 || values % 2 != 0) {
    throw TSourceError(line.Number, "envelope takes 2 to 12 pairs of tick and level");
  }
  recipe.Envelope.Points.clear();
  for (std::size_t i = 1; i < line.Words.size(); i += 2) {
    recipe.Envelope.Points.push_back(
        {ParseInteger(line.Words[i], line.Number, 0, 65535, "envelope tick"),
         ParseInteger(line.Words[i + 1], line.Number, 0, 64, "envelope level")});
  }
}

using InstrumentKey = std::function<void(const TSourceLine&, TInstrumentRecipe&)>;

const std::map<std::string, InstrumentKey>& InstrumentKeys() {
  static const std::map<std::string, InstrumentKey> kEys = {
      {"wave", ParseWave},
      {"filter", ParseFilter},
      {"envelope", ParseEnvelope},
      {"voices",
       [](const TSourceLine& l, TInstrumentRecipe& s) {
         ExpectArgumentCount(l, 2, 2);
         s.Voices = Integer(l, 1, 1, 9);
         s.DetuneCents = Number(l, 2, 0.0, 100.0);
       }},
      {"pitch",
       [](const TSourceLine& l, TInstrumentRecipe& s) {
         ExpectArgumentCount(l, 1, 1);
         s.Pitch = Note(l, l.Words[1]);
       }},
      {"freq",
       [](const TSourceLine& l, TInstrumentRecipe& s) {
         ExpectArgumentCount(l, 1, 2);
         s.FreqStart = Frequency(l, l.Words[1]);
         s.FreqEnd = l.Words.size() > 2 ? Frequency(l, l.Words[2]) : *s.FreqStart;
       }},
      {"loop",
       [](const TSourceLine& l, TInstrumentRecipe& s) {
         ExpectArgumentCount(l, 0, 0);
         s.Loop = true;
       }},
      {"fm",
       [](const TSourceLine& l, TInstrumentRecipe& s) {
         ExpectArgumentCount(l, 2, 2);
         s.FmRatio = Number(l, 1, 0.0, 16.0);
         s.FmIndex = Number(l, 2, 0.0, 20.0);
       }},
      {"sustain",
       [](const TSourceLine& l, TInstrumentRecipe& s) {
         ExpectArgumentCount(l, 1, 1);
         s.Envelope.Sustain = Integer(l, 1, 0, 11);
       }},
      {"vibrato",
       [](const TSourceLine& l, TInstrumentRecipe& s) {
         ExpectArgumentCount(l, 4, 4);
         s.Vibrato = {Integer(l, 1, 0, 3), Integer(l, 2, 0, 255), Integer(l, 3, 0, 15),
                      Integer(l, 4, 0, 63)};
       }},
  };
  return kEys;
}

void ParseSimpleInstrumentKey(const TSourceLine& line, TInstrumentRecipe& recipe) {
  const std::string& key = line.Words[0];
  ExpectArgumentCount(line, 1, 1);
  if (key == "duty") {
    recipe.Duty = Number(line, 1, 0.01, 0.99);
  } else if (key == "length") {
    recipe.Length = Number(line, 1, 0.001, 4.0);
  } else if (key == "attack") {
    recipe.Attack = Number(line, 1, 0.0, 4.0);
  } else if (key == "decay") {
    recipe.Decay = Number(line, 1, 0.0, 30.0);
  } else if (key == "noise") {
    recipe.Noise = Number(line, 1, 0.0, 1.0);
  } else if (key == "rate") {
    recipe.Rate = Integer(line, 1, 8000, 48000);
  } else if (key == "volume") {
    recipe.Volume = Integer(line, 1, 0, 64);
  } else if (key == "panning") {
    recipe.Panning = Integer(line, 1, 0, 255);
  } else if (key == "fadeout") {
    recipe.Fadeout = Integer(line, 1, 0, 4095);
  } else {
    throw TSourceError(line.Number, "unknown instrument setting \"" + key + "\"");
  }
}

void ParseInstrumentLine(const TSourceLine& line, TInstrumentRecipe& recipe) {
  const auto key = InstrumentKeys().find(line.Words[0]);
  if (key != InstrumentKeys().end()) return key->second(line, recipe);
  ParseSimpleInstrumentKey(line, recipe);
}

void CheckInstrument(const TInstrumentRecipe& recipe) {
  const auto& envelope = recipe.Envelope;
  if (envelope.Sustain && *envelope.Sustain >= static_cast<int>(envelope.Points.size())) {
    throw TSourceError(recipe.Line, "instrument \"" + recipe.Name +
                                        "\": sustain names an envelope point it does not have");
  }
  if (recipe.Attack > recipe.Length) {
    throw TSourceError(recipe.Line,
                       "instrument \"" + recipe.Name + "\": attack is longer than the sample");
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
      throw TSourceError(line,
                         "\"" + word + "\" repeats the '" + std::string(1, marker) + "' part");
    }
    parts[marker] = word.substr(pos + 1, next == std::string::npos ? next : next - pos - 1);
    pos = next;
  }
  return parts;
}

std::optional<TEvent> BaseEvent(const std::string& base, const TSourceLine& line,
                                const std::map<std::string, TEvent>& aliases) {
  if (base == ".") return std::nullopt;
  if (base == "off") return TEvent{EventKind::kKeyOff, 0, "", std::nullopt};
  const auto alias = aliases.find(base);
  if (alias != aliases.end()) return alias->second;
  if (const std::optional<int> note = synth::ParseNoteName(base)) {
    return TEvent{EventKind::kNote, *note, "", std::nullopt};
  }
  throw TSourceError(line.Number, "\"" + base + "\" is not a note, an alias, \".\" or \"off\"");
}

void ApplyEventParts(const std::map<char, std::string>& parts, const std::string& word, int line,
                     std::optional<TEvent>& event) {
  const bool sets_event_fields = parts.count(':') != 0 || parts.count('@') != 0;
  if (sets_event_fields && (!event || event->Kind != EventKind::kNote)) {
    throw TSourceError(line, "\"" + word + "\": only notes take an instrument or a volume");
  }
  if (parts.count(':') != 0) {
    if (!IsName(parts.at(':'))) throw TSourceError(line, "\"" + word + "\": bad instrument name");
    event->Instrument = parts.at(':');
  }
  if (parts.count('@') != 0) event->Volume = ParseInteger(parts.at('@'), line, 0, 64, "volume");
}

void AppendToken(const std::string& word, const TSourceLine& line,
                 const std::map<std::string, TEvent>& aliases, TPhrase& phrase) {
  std::string base;
  const std::map<char, std::string> parts = SplitMarked(word, ":@*/", base, line.Number);
  std::optional<TEvent> event = BaseEvent(base, line, aliases);
  ApplyEventParts(parts, word, line.Number, event);
  if (parts.count('*') != 0 && parts.count('/') != 0) {
    throw TSourceError(line.Number, "\"" + word + "\" cannot both repeat (*) and hold (/)");
  }
  if (parts.count('*') != 0) {
    const int count = ParseInteger(parts.at('*'), line.Number, 1, kMaxRepeat, "repeat count");
    phrase.Rows.insert(phrase.Rows.end(), static_cast<std::size_t>(count), event);
    return;
  }
  const int span =
      parts.count('/') != 0 ? ParseInteger(parts.at('/'), line.Number, 1, kMaxRepeat, "length") : 1;
  phrase.Rows.push_back(event);
  phrase.Rows.insert(phrase.Rows.end(), static_cast<std::size_t>(span - 1), std::nullopt);
}

// ---- pattern lines ----

TPhraseUse ParsePhraseUse(const std::string& word, int line) {
  TPhraseUse use;
  const std::map<char, std::string> parts = SplitMarked(word, ":+-*@>", use.Phrase, line);
  if (!IsName(use.Phrase))
    throw TSourceError(line, "\"" + word + "\" does not start with a phrase name");
  if (parts.count('+') != 0 && parts.count('-') != 0) {
    throw TSourceError(line, "\"" + word + "\" transposes both up and down");
  }
  if (parts.count(':') != 0) {
    if (!IsName(parts.at(':'))) throw TSourceError(line, "\"" + word + "\": bad instrument name");
    use.Instrument = parts.at(':');
  }
  if (parts.count('+') != 0) use.Transpose = ParseInteger(parts.at('+'), line, 0, 95, "transpose");
  if (parts.count('-') != 0) use.Transpose = -ParseInteger(parts.at('-'), line, 0, 95, "transpose");
  if (parts.count('*') != 0)
    use.Repeat = ParseInteger(parts.at('*'), line, 1, kMaxRepeat, "repeat count");
  if (parts.count('@') != 0) use.Volume = ParseInteger(parts.at('@'), line, 0, 64, "volume");
  if (parts.count('>') != 0) use.Delay = ParseInteger(parts.at('>'), line, 0, kMaxRepeat, "delay");
  return use;
}

TChannelLine ParseChannelLine(const TSourceLine& line, int channels) {
  if (line.Words.size() < 2) {
    throw TSourceError(line.Number, "a pattern line is a channel number followed by phrases");
  }
  TChannelLine channel;
  channel.Line = line.Number;
  channel.Channel = ParseInteger(line.Words[0], line.Number, 1, channels, "channel");
  for (std::size_t i = 1; i < line.Words.size(); ++i) {
    channel.Uses.push_back(ParsePhraseUse(line.Words[i], line.Number));
  }
  return channel;
}

// ---- the whole song ----

// Reads a song source line by line, keeping track of the block being filled.
class TSongParser {
 public:
  explicit TSongParser(std::string_view text) : Lines_(synth::SplitSourceLines(text)) {}

  TSongSource Parse() {
    for (Next_ = 0; Next_ < Lines_.size();) ParseTopLevel(Lines_[Next_++]);
    if (Song_.Order.empty()) throw TSourceError(LastLine(), "the song has no \"order\" line");
    return Song_;
  }

 private:
  int LastLine() const { return Lines_.empty() ? 1 : Lines_.back().Number; }

  std::vector<TSourceLine> BlockBody(const TSourceLine& opening) {
    std::vector<TSourceLine> body;
    while (Next_ < Lines_.size()) {
      const TSourceLine& line = Lines_[Next_++];
      if (line.Words[0] == "end") {
        ExpectArgumentCount(line, 0, 0);
        return body;
      }
      body.push_back(line);
    }
    throw TSourceError(opening.Number, "\"" + opening.Words[0] + "\" block has no \"end\"");
  }

  void ClaimName(const TSourceLine& line, std::set<std::string>& names, std::string_view what) {
    RequireName(line, 1, what);
    if (!names.insert(line.Words[1]).second) {
      throw TSourceError(line.Number,
                         std::string(what) + " \"" + line.Words[1] + "\" is defined twice");
    }
  }

  // "like <name>" copies every setting of an earlier instrument; later lines override them.
  void CopyInstrument(const TSourceLine& line, TInstrumentRecipe& recipe) const {
    ExpectArgumentCount(line, 1, 1);
    const auto found =
        std::find_if(Song_.Instruments.begin(), Song_.Instruments.end(),
                     [&](const TInstrumentRecipe& s) { return s.Name == line.Words[1]; });
    if (found == Song_.Instruments.end()) {
      throw TSourceError(line.Number,
                         "\"like\" names unknown instrument \"" + line.Words[1] + "\"");
    }
    const std::string name = recipe.Name;
    const int number = recipe.Line;
    recipe = *found;
    recipe.Name = name;
    recipe.Line = number;
  }

  void ParseInstrument(const TSourceLine& line) {
    ExpectArgumentCount(line, 1, 1);
    ClaimName(line, InstrumentNames_, "instrument");
    TInstrumentRecipe recipe;
    recipe.Name = line.Words[1];
    recipe.Line = line.Number;
    for (const TSourceLine& body : BlockBody(line)) {
      if (body.Words[0] == "like") {
        CopyInstrument(body, recipe);
      } else {
        ParseInstrumentLine(body, recipe);
      }
    }
    CheckInstrument(recipe);
    Song_.Instruments.push_back(recipe);
  }

  void ParsePhrase(const TSourceLine& line) {
    ExpectArgumentCount(line, 1, 2);
    ClaimName(line, PhraseNames_, "phrase");
    TPhrase phrase;
    phrase.Name = line.Words[1];
    phrase.Line = line.Number;
    if (line.Words.size() > 2) phrase.Instrument = line.Words[2];
    for (const TSourceLine& body : BlockBody(line)) {
      for (const std::string& word : body.Words) AppendToken(word, body, Aliases_, phrase);
    }
    if (phrase.Rows.empty())
      throw TSourceError(line.Number, "phrase \"" + phrase.Name + "\" is empty");
    Song_.Phrases.push_back(phrase);
  }

  void ParsePattern(const TSourceLine& line) {
    ExpectArgumentCount(line, 2, 2);
    ClaimName(line, PatternNames_, "pattern");
    TPatternPlan pattern;
    pattern.Name = line.Words[1];
    pattern.Line = line.Number;
    pattern.Rows = ParseInteger(line.Words[2], line.Number, 1, 256, "pattern rows");
    for (const TSourceLine& body : BlockBody(line)) {
      pattern.Channels.push_back(ParseChannelLine(body, Song_.Channels));
    }
    Song_.Patterns.push_back(pattern);
  }

  void ParseAlias(const TSourceLine& line) {
    ExpectArgumentCount(line, 2, 2);
    RequireName(line, 1, "alias");
    const std::string& name = line.Words[1];
    if (name == "off" || synth::ParseNoteName(name) || Aliases_.count(name) != 0) {
      throw TSourceError(line.Number,
                         "alias \"" + name + "\" clashes with a note, off or another alias");
    }
    TPhrase scratch;
    AppendToken(line.Words[2], line, Aliases_, scratch);
    if (scratch.Rows.size() != 1 || !scratch.Rows[0]) {
      throw TSourceError(line.Number, "an alias stands for exactly one note or off");
    }
    Aliases_[name] = *scratch.Rows[0];
  }

  void ParseOrder(const TSourceLine& line) {
    ExpectArgumentCount(line, 1, 256);
    if (Song_.Order.empty()) Song_.OrderLine = line.Number;
    for (std::size_t i = 1; i < line.Words.size(); ++i) {
      if (line.Words[i] == "loop") {
        Song_.Restart = static_cast<int>(Song_.Order.size());
      } else {
        Song_.Order.push_back(line.Words[i]);
      }
    }
  }

  void ParseHeader(const TSourceLine& line) {
    const std::string& key = line.Words[0];
    if (key == "title") {
      ExpectArgumentCount(line, 1, 20);
      Song_.Title = line.Words[1];
      for (std::size_t i = 2; i < line.Words.size(); ++i) Song_.Title += " " + line.Words[i];
      return;
    }
    ExpectArgumentCount(line, 1, 1);
    if (key == "channels") {
      Song_.Channels = ParseInteger(line.Words[1], line.Number, 2, 32, key);
    } else if (key == "speed") {
      Song_.Speed = ParseInteger(line.Words[1], line.Number, 1, 31, key);
    } else if (key == "bpm") {
      Song_.Bpm = ParseInteger(line.Words[1], line.Number, 32, 255, key);
    } else {
      throw TSourceError(line.Number, "unknown song setting \"" + key + "\"");
    }
  }

  void ParseTopLevel(const TSourceLine& line) {
    const std::string& key = line.Words[0];
    if (key == "instrument") return ParseInstrument(line);
    if (key == "phrase") return ParsePhrase(line);
    if (key == "pattern") return ParsePattern(line);
    if (key == "alias") return ParseAlias(line);
    if (key == "order") return ParseOrder(line);
    if (key == "end") throw TSourceError(line.Number, "\"end\" without a block to close");
    ParseHeader(line);
  }

  std::vector<TSourceLine> Lines_;
  std::size_t Next_ = 0;
  TSongSource Song_;
  std::map<std::string, TEvent> Aliases_;
  std::set<std::string> InstrumentNames_;
  std::set<std::string> PhraseNames_;
  std::set<std::string> PatternNames_;
};

}  // namespace

TSongSource ParseSong(std::string_view text) {
  return TSongParser(text).Parse();
}

}  // namespace xm
