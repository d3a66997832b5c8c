#include "EffectParser.h"

#include <functional>
#include <map>
#include <string>

#include "synth/NoteName.h"
#include "synth/SourceError.h"
#include "synth/SourceText.h"

namespace sfx {
namespace {

using synth::ExpectArgumentCount;
using synth::ParseNumber;
using synth::TSourceError;
using synth::TSourceLine;

constexpr double kMaxSeconds = 10.0;

double Seconds(const TSourceLine& line, std::size_t index) {
  return ParseNumber(line.Words[index], line.Number, 0.0, kMaxSeconds, line.Words[0]);
}

double Frequency(const TSourceLine& line, std::size_t index) {
  const std::string& word = line.Words[index];
  if (const std::optional<int> note = synth::ParseNoteName(word)) {
    return synth::NoteFrequency(*note);
  }
  return ParseNumber(word, line.Number, 1.0, 20000.0, line.Words[0]);
}

double Fraction(const TSourceLine& line, std::size_t index) {
  return ParseNumber(line.Words[index], line.Number, 0.0, 1.0, line.Words[0]);
}

void ParseWave(const TSourceLine& line, TVoiceDescription& voice) {
  ExpectArgumentCount(line, 1, 1);
  const std::optional<synth::Waveform> wave = synth::ParseWaveform(line.Words[1]);
  if (!wave) {
    throw TSourceError(line.Number, "unknown wave \"" + line.Words[1] +
                                        "\" (sine, triangle, saw, square, pulse or noise)");
  }
  voice.Wave = *wave;
}

void ParseFrequencies(const TSourceLine& line, TVoiceDescription& voice) {
  ExpectArgumentCount(line, 1, 2);
  voice.FreqStart = Frequency(line, 1);
  voice.FreqEnd = line.Words.size() > 2 ? Frequency(line, 2) : voice.FreqStart;
}

void ParseFilter(const TSourceLine& line, TVoiceDescription& voice) {
  ExpectArgumentCount(line, 2, 4);
  const std::optional<synth::FilterMode> mode = synth::ParseFilterMode(line.Words[1]);
  if (!mode) {
    throw TSourceError(line.Number,
                       "unknown filter \"" + line.Words[1] + "\" (lowpass, highpass or bandpass)");
  }
  TFilterDescription filter;
  filter.Mode = *mode;
  filter.CutoffStart = Frequency(line, 2);
  filter.CutoffEnd = line.Words.size() > 3 ? Frequency(line, 3) : filter.CutoffStart;
  if (line.Words.size() > 4) filter.Q = ParseNumber(line.Words[4], line.Number, 0.3, 20.0, "q");
  voice.Filter = filter;
}

using VoiceKey = std::function<void(const TSourceLine&, TVoiceDescription&)>;

VoiceKey Single(double TVoiceDescription::*field, double (*read)(const TSourceLine&, std::size_t)) {
  return [field, read](const TSourceLine& line, TVoiceDescription& voice) {
    ExpectArgumentCount(line, 1, 1);
    voice.*field = read(line, 1);
  };
}

VoiceKey Pair(double TVoiceDescription::*first, double TVoiceDescription::*second, double max) {
  return [first, second, max](const TSourceLine& line, TVoiceDescription& voice) {
    ExpectArgumentCount(line, 2, 2);
    voice.*first = ParseNumber(line.Words[1], line.Number, 0.0, max, line.Words[0]);
    voice.*second = ParseNumber(line.Words[2], line.Number, 0.0, max, line.Words[0]);
  };
}

double Gain(const TSourceLine& line, std::size_t index) {
  return ParseNumber(line.Words[index], line.Number, 0.0, 4.0, line.Words[0]);
}

const std::map<std::string, VoiceKey>& VoiceKeys() {
  static const std::map<std::string, VoiceKey> kEys = {
      {"wave", ParseWave},
      {"freq", ParseFrequencies},
      {"filter", ParseFilter},
      {"start", Single(&TVoiceDescription::Start, Seconds)},
      {"length", Single(&TVoiceDescription::Length, Seconds)},
      {"gain", Single(&TVoiceDescription::Gain, Gain)},
      {"attack", Single(&TVoiceDescription::Attack, Seconds)},
      {"decay", Single(&TVoiceDescription::Decay, Seconds)},
      {"sustain", Single(&TVoiceDescription::Sustain, Fraction)},
      {"release", Single(&TVoiceDescription::Release, Seconds)},
      {"duty", Single(&TVoiceDescription::Duty, Fraction)},
      {"vibrato", Pair(&TVoiceDescription::VibratoRate, &TVoiceDescription::VibratoDepth, 50.0)},
      {"tremolo", Pair(&TVoiceDescription::TremoloRate, &TVoiceDescription::TremoloDepth, 50.0)},
      {"fm", Pair(&TVoiceDescription::FmRatio, &TVoiceDescription::FmIndex, 20.0)},
  };
  return kEys;
}

void ParseEcho(const TSourceLine& line, TEffectDescription& effect) {
  ExpectArgumentCount(line, 3, 3);
  effect.Echo.Delay = ParseNumber(line.Words[1], line.Number, 0.001, 2.0, "echo delay");
  effect.Echo.Feedback = ParseNumber(line.Words[2], line.Number, 0.0, 0.95, "echo feedback");
  effect.Echo.Mix = ParseNumber(line.Words[3], line.Number, 0.0, 1.0, "echo mix");
}

void ParseEffectKey(const TSourceLine& line, TEffectDescription& effect) {
  const std::string& key = line.Words[0];
  if (key == "echo") return ParseEcho(line, effect);
  ExpectArgumentCount(line, 1, 1);
  const std::string& value = line.Words[1];
  if (key == "length") {
    effect.Length = ParseNumber(value, line.Number, 0.01, kMaxSeconds, key);
  } else if (key == "fade_in") {
    effect.FadeIn = ParseNumber(value, line.Number, 0.0, 1.0, key);
  } else if (key == "fade_out") {
    effect.FadeOut = ParseNumber(value, line.Number, 0.0, 1.0, key);
  } else if (key == "peak_db") {
    effect.PeakDb = ParseNumber(value, line.Number, -40.0, 0.0, key);
  } else if (key == "loop") {
    effect.Loop = ParseNumber(value, line.Number, 0.001, 1.0, key);
  } else if (key == "seed") {
    effect.Seed =
        static_cast<std::uint32_t>(synth::ParseInteger(value, line.Number, 0, 2147483647, key));
  } else {
    throw TSourceError(line.Number, "unknown effect setting \"" + key + "\"");
  }
}

void ParseVoiceKey(const TSourceLine& line, TVoiceDescription& voice) {
  const auto key = VoiceKeys().find(line.Words[0]);
  if (key == VoiceKeys().end()) {
    throw TSourceError(line.Number, "unknown voice setting \"" + line.Words[0] + "\"");
  }
  key->second(line, voice);
}

void CheckVoice(const TVoiceDescription& voice, const TEffectDescription& effect) {
  if (voice.Length <= 0.0) throw TSourceError(voice.Line, "voice length must be above 0");
  if (voice.Start + voice.Length > effect.Length + 1e-9) {
    throw TSourceError(voice.Line, "voice ends at " + std::to_string(voice.Start + voice.Length) +
                                       " s, after the effect's length of " +
                                       std::to_string(effect.Length) + " s");
  }
  if (voice.Attack + voice.Release > voice.Length + 1e-9) {
    throw TSourceError(voice.Line, "voice attack and release are longer than the voice");
  }
}

void CheckEffect(const TEffectDescription& effect) {
  if (effect.Voices.empty()) throw TSourceError(1, "an effect needs at least one voice");
  if (effect.FadeIn + effect.FadeOut > effect.Length) {
    throw TSourceError(1, "fade_in and fade_out are longer than the effect");
  }
  if (effect.Loop * 2.0 > effect.Length) {
    throw TSourceError(1, "the loop cross-fade is longer than half the effect");
  }
  for (const TVoiceDescription& voice : effect.Voices) CheckVoice(voice, effect);
}

}  // namespace

TEffectDescription ParseEffect(std::string_view text) {
  TEffectDescription effect;
  for (const TSourceLine& line : synth::SplitSourceLines(text)) {
    if (line.Words[0] == "voice") {
      ExpectArgumentCount(line, 0, 0);
      effect.Voices.emplace_back();
      effect.Voices.back().Line = line.Number;
    } else if (effect.Voices.empty()) {
      ParseEffectKey(line, effect);
    } else {
      ParseVoiceKey(line, effect.Voices.back());
    }
  }
  CheckEffect(effect);
  return effect;
}

}  // namespace sfx
