#include "effect_parser.h"

#include <functional>
#include <map>
#include <string>

#include "synth/note_name.h"
#include "synth/source_error.h"
#include "synth/source_text.h"

namespace sfx {
namespace {

using synth::ExpectArgumentCount;
using synth::ParseNumber;
using synth::SourceError;
using synth::SourceLine;

constexpr double kMaxSeconds = 10.0;

double Seconds(const SourceLine& line, std::size_t index) {
  return ParseNumber(line.words[index], line.number, 0.0, kMaxSeconds, line.words[0]);
}

double Frequency(const SourceLine& line, std::size_t index) {
  const std::string& word = line.words[index];
  if (const std::optional<int> note = synth::ParseNoteName(word)) {
    return synth::NoteFrequency(*note);
  }
  return ParseNumber(word, line.number, 1.0, 20000.0, line.words[0]);
}

double Fraction(const SourceLine& line, std::size_t index) {
  return ParseNumber(line.words[index], line.number, 0.0, 1.0, line.words[0]);
}

void ParseWave(const SourceLine& line, VoiceDescription& voice) {
  ExpectArgumentCount(line, 1, 1);
  const std::optional<synth::Waveform> wave = synth::ParseWaveform(line.words[1]);
  if (!wave) {
    throw SourceError(line.number, "unknown wave \"" + line.words[1] +
                                       "\" (sine, triangle, saw, square, pulse or noise)");
  }
  voice.wave = *wave;
}

void ParseFrequencies(const SourceLine& line, VoiceDescription& voice) {
  ExpectArgumentCount(line, 1, 2);
  voice.freq_start = Frequency(line, 1);
  voice.freq_end = line.words.size() > 2 ? Frequency(line, 2) : voice.freq_start;
}

void ParseFilter(const SourceLine& line, VoiceDescription& voice) {
  ExpectArgumentCount(line, 2, 4);
  const std::optional<synth::FilterMode> mode = synth::ParseFilterMode(line.words[1]);
  if (!mode) {
    throw SourceError(line.number,
                      "unknown filter \"" + line.words[1] + "\" (lowpass, highpass or bandpass)");
  }
  FilterDescription filter;
  filter.mode = *mode;
  filter.cutoff_start = Frequency(line, 2);
  filter.cutoff_end = line.words.size() > 3 ? Frequency(line, 3) : filter.cutoff_start;
  if (line.words.size() > 4) filter.q = ParseNumber(line.words[4], line.number, 0.3, 20.0, "q");
  voice.filter = filter;
}

using VoiceKey = std::function<void(const SourceLine&, VoiceDescription&)>;

VoiceKey Single(double VoiceDescription::*field, double (*read)(const SourceLine&, std::size_t)) {
  return [field, read](const SourceLine& line, VoiceDescription& voice) {
    ExpectArgumentCount(line, 1, 1);
    voice.*field = read(line, 1);
  };
}

VoiceKey Pair(double VoiceDescription::*first, double VoiceDescription::*second, double max) {
  return [first, second, max](const SourceLine& line, VoiceDescription& voice) {
    ExpectArgumentCount(line, 2, 2);
    voice.*first = ParseNumber(line.words[1], line.number, 0.0, max, line.words[0]);
    voice.*second = ParseNumber(line.words[2], line.number, 0.0, max, line.words[0]);
  };
}

double Gain(const SourceLine& line, std::size_t index) {
  return ParseNumber(line.words[index], line.number, 0.0, 4.0, line.words[0]);
}

const std::map<std::string, VoiceKey>& VoiceKeys() {
  static const std::map<std::string, VoiceKey> keys = {
      {"wave", ParseWave},
      {"freq", ParseFrequencies},
      {"filter", ParseFilter},
      {"start", Single(&VoiceDescription::start, Seconds)},
      {"length", Single(&VoiceDescription::length, Seconds)},
      {"gain", Single(&VoiceDescription::gain, Gain)},
      {"attack", Single(&VoiceDescription::attack, Seconds)},
      {"decay", Single(&VoiceDescription::decay, Seconds)},
      {"sustain", Single(&VoiceDescription::sustain, Fraction)},
      {"release", Single(&VoiceDescription::release, Seconds)},
      {"duty", Single(&VoiceDescription::duty, Fraction)},
      {"vibrato", Pair(&VoiceDescription::vibrato_rate, &VoiceDescription::vibrato_depth, 50.0)},
      {"tremolo", Pair(&VoiceDescription::tremolo_rate, &VoiceDescription::tremolo_depth, 50.0)},
      {"fm", Pair(&VoiceDescription::fm_ratio, &VoiceDescription::fm_index, 20.0)},
  };
  return keys;
}

void ParseEcho(const SourceLine& line, EffectDescription& effect) {
  ExpectArgumentCount(line, 3, 3);
  effect.echo.delay = ParseNumber(line.words[1], line.number, 0.001, 2.0, "echo delay");
  effect.echo.feedback = ParseNumber(line.words[2], line.number, 0.0, 0.95, "echo feedback");
  effect.echo.mix = ParseNumber(line.words[3], line.number, 0.0, 1.0, "echo mix");
}

void ParseEffectKey(const SourceLine& line, EffectDescription& effect) {
  const std::string& key = line.words[0];
  if (key == "echo") return ParseEcho(line, effect);
  ExpectArgumentCount(line, 1, 1);
  const std::string& value = line.words[1];
  if (key == "length") {
    effect.length = ParseNumber(value, line.number, 0.01, kMaxSeconds, key);
  } else if (key == "fade_in") {
    effect.fade_in = ParseNumber(value, line.number, 0.0, 1.0, key);
  } else if (key == "fade_out") {
    effect.fade_out = ParseNumber(value, line.number, 0.0, 1.0, key);
  } else if (key == "peak_db") {
    effect.peak_db = ParseNumber(value, line.number, -40.0, 0.0, key);
  } else if (key == "loop") {
    effect.loop = ParseNumber(value, line.number, 0.001, 1.0, key);
  } else if (key == "seed") {
    effect.seed =
        static_cast<std::uint32_t>(synth::ParseInteger(value, line.number, 0, 2147483647, key));
  } else {
    throw SourceError(line.number, "unknown effect setting \"" + key + "\"");
  }
}

void ParseVoiceKey(const SourceLine& line, VoiceDescription& voice) {
  const auto key = VoiceKeys().find(line.words[0]);
  if (key == VoiceKeys().end()) {
    throw SourceError(line.number, "unknown voice setting \"" + line.words[0] + "\"");
  }
  key->second(line, voice);
}

void CheckVoice(const VoiceDescription& voice, const EffectDescription& effect) {
  if (voice.length <= 0.0) throw SourceError(voice.line, "voice length must be above 0");
  if (voice.start + voice.length > effect.length + 1e-9) {
    throw SourceError(voice.line, "voice ends at " + std::to_string(voice.start + voice.length) +
                                      " s, after the effect's length of " +
                                      std::to_string(effect.length) + " s");
  }
  if (voice.attack + voice.release > voice.length + 1e-9) {
    throw SourceError(voice.line, "voice attack and release are longer than the voice");
  }
}

void CheckEffect(const EffectDescription& effect) {
  if (effect.voices.empty()) throw SourceError(1, "an effect needs at least one voice");
  if (effect.fade_in + effect.fade_out > effect.length) {
    throw SourceError(1, "fade_in and fade_out are longer than the effect");
  }
  if (effect.loop * 2.0 > effect.length) {
    throw SourceError(1, "the loop cross-fade is longer than half the effect");
  }
  for (const VoiceDescription& voice : effect.voices) CheckVoice(voice, effect);
}

}  // namespace

EffectDescription ParseEffect(std::string_view text) {
  EffectDescription effect;
  for (const SourceLine& line : synth::SplitSourceLines(text)) {
    if (line.words[0] == "voice") {
      ExpectArgumentCount(line, 0, 0);
      effect.voices.emplace_back();
      effect.voices.back().line = line.number;
    } else if (effect.voices.empty()) {
      ParseEffectKey(line, effect);
    } else {
      ParseVoiceKey(line, effect.voices.back());
    }
  }
  CheckEffect(effect);
  return effect;
}

}  // namespace sfx
