// Effect sources: parsing mistakes, the voice envelope and what rendering guarantees.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CaseName.h"
#include "EffectParser.h"
#include "EffectRenderer.h"
#include "WavEncoder.h"
#include "synth/NoteName.h"
#include "synth/SourceError.h"

namespace {

constexpr const char* kNoiseBurst = R"(length 0.2
peak_db -3
seed 42
voice
  wave noise
  length 0.2
  attack 0.01
  release 0.05
  filter lowpass c6 c4 0.7
)";

std::string WithSeed(int seed) {
  std::string text = kNoiseBurst;
  text.replace(text.find("seed 42"), 7, "seed " + std::to_string(seed));
  return text;
}

TEST(EffectRendering, SameSourceGivesTheSameBytesAndTheSeedChangesThem) {
  const auto render = [](const std::string& text) {
    return sfx::EncodeWav(sfx::RenderEffect(sfx::ParseEffect(text)), sfx::kEffectSampleRate);
  };
  EXPECT_EQ(render(WithSeed(42)), render(WithSeed(42)));
  EXPECT_NE(render(WithSeed(42)), render(WithSeed(43)));
}

TEST(EffectRendering, LengthPeakAndSilentEdges) {
  const std::vector<double> samples = sfx::RenderEffect(sfx::ParseEffect(kNoiseBurst));
  ASSERT_EQ(samples.size(), static_cast<std::size_t>(0.2 * sfx::kEffectSampleRate));
  double peak = 0.0;
  for (double sample : samples) peak = std::max(peak, std::abs(sample));
  EXPECT_NEAR(20.0 * std::log10(peak), -3.0, 1e-6);
  EXPECT_EQ(samples.front(), 0.0);
  EXPECT_NEAR(samples.back(), 0.0, 1e-6);
}

// A loop of a tone and how many whole cycles its looped part holds (a fraction: the seam
// meets the tone out of phase, which the cross-fade must still join).
struct LoopCase {
  const char* Name;
  double Frequency;
};

class EffectLoop : public ::testing::TestWithParam<LoopCase> {};

TEST_P(EffectLoop, IsShorterByItsCrossFadeAndRunsFromItsEndIntoItsStartWithoutAJump) {
  const std::string text =
      "length 0.3\nloop 0.05\npeak_db -2\nvoice\n  wave saw\n  length 0.3\n"
      "  attack 0\n  decay 0\n  release 0\n  freq " +
      std::to_string(GetParam().Frequency) + "\n  filter lowpass 800 800 0.7\n";
  const std::vector<double> samples = sfx::RenderEffect(sfx::ParseEffect(text));
  ASSERT_EQ(samples.size(), static_cast<std::size_t>(0.25 * sfx::kEffectSampleRate));
  double peak = 0.0;
  double steepest = 0.0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    peak = std::max(peak, std::abs(samples[i]));
    if (i > 0) steepest = std::max(steepest, std::abs(samples[i] - samples[i - 1]));
  }
  EXPECT_NEAR(20.0 * std::log10(peak), -2.0, 1e-6);
  EXPECT_GT(std::abs(samples.front()), 1e-3) << "a loop has no fade-in";
  EXPECT_LE(std::abs(samples.front() - samples.back()), steepest);
}

INSTANTIATE_TEST_SUITE_P(Tones, EffectLoop,
                         ::testing::Values(LoopCase{"WholeCycles", 60},
                                           LoopCase{"CyclesOutOfPhaseAtTheSeam", 97.3}),
                         audio_test::CaseName<LoopCase>);

TEST(EffectRendering, WavHeaderDescribesSixteenBitMono) {
  const std::vector<std::uint8_t> wav = sfx::EncodeWav({0.0, 0.5, -1.0}, 44100);
  ASSERT_EQ(wav.size(), 44u + 6u);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(wav[22], 1) << "channels";
  EXPECT_EQ(wav[34], 16) << "bits per sample";
  EXPECT_EQ(wav[44 + 4], 0x01);
  EXPECT_EQ(wav[44 + 5], 0x80) << "-1.0 is stored as -32767";
}

TEST(EffectParsing, NoteNamesWithSharpsAreFrequencies) {
  const sfx::TEffectDescription effect =
      sfx::ParseEffect("length 0.1\nvoice  # the only voice\n  freq c#5 a4\n  length 0.1\n");
  ASSERT_EQ(effect.Voices.size(), 1u);
  EXPECT_NEAR(effect.Voices[0].FreqStart, 554.365, 0.01);
  EXPECT_NEAR(effect.Voices[0].FreqEnd, 440.0, 1e-9);
}

// A point in time of a voice's envelope and the level it must have there.
struct EnvelopeCase {
  double Time;
  double Level;
};

// Samples the envelope of a fixed voice at one point in time.
class VoiceEnvelope : public ::testing::TestWithParam<EnvelopeCase> {};

TEST_P(VoiceEnvelope, FollowsAttackDecaySustainRelease) {
  sfx::TVoiceDescription voice;
  voice.Length = 1.0;
  voice.Attack = 0.1;
  voice.Decay = 0.2;
  voice.Sustain = 0.5;
  voice.Release = 0.2;
  EXPECT_NEAR(sfx::EnvelopeLevel(voice, GetParam().Time), GetParam().Level, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Shape, VoiceEnvelope,
                         ::testing::Values(EnvelopeCase{0.0, 0.0}, EnvelopeCase{0.05, 0.5},
                                           EnvelopeCase{0.1, 1.0}, EnvelopeCase{0.3, 0.505},
                                           EnvelopeCase{0.7, 0.5}, EnvelopeCase{0.9, 0.125},
                                           EnvelopeCase{1.0, 0.0}, EnvelopeCase{-0.1, 0.0}));

// A faulty effect source, the line of the fault and words of the message.
struct EffectErrorCase {
  const char* Name;
  const char* Text;
  int Line;
  const char* Message;
};

void PrintTo(const EffectErrorCase& c, std::ostream* out) {
  *out << c.Name;
}

// Parses a faulty effect source and expects a source error.
class EffectSourceRejects : public ::testing::TestWithParam<EffectErrorCase> {};

TEST_P(EffectSourceRejects, WithTheLineAndTheReason) {
  try {
    sfx::ParseEffect(GetParam().Text);
    FAIL() << "the effect was accepted";
  } catch (const synth::TSourceError& error) {
    EXPECT_EQ(error.Line(), GetParam().Line) << error.what();
    EXPECT_NE(std::string(error.what()).find(GetParam().Message), std::string::npos)
        << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    BadEffects, EffectSourceRejects,
    ::testing::Values(
        EffectErrorCase{"UnknownEffectSetting", "loudness 3\n", 1, "unknown effect setting"},
        EffectErrorCase{"UnknownVoiceSetting", "length 1\nvoice\n  colour red\n", 3,
                        "unknown voice setting \"colour\""},
        EffectErrorCase{"UnknownWave", "length 1\nvoice\n  wave organ\n", 3,
                        "unknown wave \"organ\""},
        EffectErrorCase{"UnknownFilter", "length 1\nvoice\n  filter notch 100\n", 3,
                        "unknown filter \"notch\""},
        EffectErrorCase{"NotANumber", "length 1\nvoice\n  gain loud\n", 3, "gain must be a number"},
        EffectErrorCase{"NumberOutOfRange", "length 1\nvoice\n  sustain 1.5\n", 3,
                        "sustain must be in the range 0 to 1"},
        EffectErrorCase{"WrongValueCount", "length 1\nvoice\n  vibrato 5\n", 3,
                        "\"vibrato\" takes 2 value(s), found 1"},
        EffectErrorCase{"VoicePastTheEffectEnd", "length 0.5\nvoice\n  start 0.3\n  length 0.3\n",
                        2, "after the effect's length"},
        EffectErrorCase{"AttackAndReleaseLongerThanTheVoice",
                        "length 1\nvoice\n  length 0.1\n  attack 0.08\n  release 0.05\n", 2,
                        "longer than the voice"},
        EffectErrorCase{"NoVoices", "length 1\n", 1, "at least one voice"},
        EffectErrorCase{"LoopOfNothing", "length 1\nloop 0\nvoice\n", 2, "loop must be"},
        EffectErrorCase{"LoopLongerThanHalfTheEffect", "length 0.1\nloop 0.06\nvoice\n", 1,
                        "longer than half the effect"}),
    audio_test::CaseName<EffectErrorCase>);

}  // namespace
