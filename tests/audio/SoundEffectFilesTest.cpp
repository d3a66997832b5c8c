// The generated sound effects, decoded by SDL as the game's mixer will load them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "AudioMeasure.h"

namespace {

using audio_test::MeasureLevels;
using audio_test::ToDecibels;

// Mono samples of a decoded effect with the format SDL reported.
struct DecodedEffect {
  SDL_AudioSpec Format{};
  std::vector<float> Samples;
  double Seconds() const { return static_cast<double>(Samples.size()) / Format.freq; }
  std::span<const float> FirstSeconds(double seconds) const {
    return std::span(Samples).first(static_cast<std::size_t>(seconds * Format.freq));
  }
  std::span<const float> LastSeconds(double seconds) const {
    return std::span(Samples).last(static_cast<std::size_t>(seconds * Format.freq));
  }
};

std::optional<DecodedEffect> LoadEffect(const std::string& name) {
  const std::string path = std::string(CLD_SOUNDS_DIR) + "/" + name;
  DecodedEffect effect;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV(path.c_str(), &effect.Format, &buffer, &length) == nullptr) return std::nullopt;
  if (SDL_AUDIO_BITSIZE(effect.Format.format) == 16 && effect.Format.channels > 0) {
    const auto* pcm = reinterpret_cast<const Sint16*>(buffer);
    const std::size_t frames = length / 2 / effect.Format.channels;
    for (std::size_t i = 0; i < frames; ++i) {
      effect.Samples.push_back(static_cast<float>(pcm[i * effect.Format.channels]) / 32768.0f);
    }
  }
  SDL_FreeWAV(buffer);
  return effect;
}

// One effect with the shortest and longest length that suits where the game plays it, and
// the peak level its source asks for.
struct EffectCase {
  const char* File;
  double MinSeconds;
  double MaxSeconds;
  double PeakDb = -1.0;
};

void PrintTo(const EffectCase& c, std::ostream* out) {
  *out << c.File;
}

// Loads one generated effect through SDL before each check.
class SoundEffectFile : public ::testing::TestWithParam<EffectCase> {
 protected:
  static void SetUpTestSuite() { SDL_Init(0); }
  static void TearDownTestSuite() { SDL_Quit(); }

  void SetUp() override {
    Effect = LoadEffect(GetParam().File);
    ASSERT_TRUE(Effect.has_value()) << GetParam().File << ": " << SDL_GetError();
  }

  std::optional<DecodedEffect> Effect;
};

TEST_P(SoundEffectFile, IsSixteenBitPcmAtCdRate) {
  EXPECT_EQ(Effect->Format.format, AUDIO_S16LSB);
  EXPECT_EQ(Effect->Format.freq, 44100);
  EXPECT_TRUE(Effect->Format.channels == 1 || Effect->Format.channels == 2);
}

TEST_P(SoundEffectFile, LengthSuitsItsUse) {
  EXPECT_GE(Effect->Seconds(), GetParam().MinSeconds);
  EXPECT_LE(Effect->Seconds(), GetParam().MaxSeconds);
}

TEST_P(SoundEffectFile, PeakIsNormalisedToItsLevel) {
  const double peak_db = ToDecibels(MeasureLevels(Effect->Samples).Peak);
  EXPECT_NEAR(peak_db, GetParam().PeakDb, 0.5);
  EXPECT_LE(peak_db, -1.0 + 0.01) << "no effect goes past -1 dBFS";
}

TEST_P(SoundEffectFile, HasBodyNotJustAPeak) {
  EXPECT_GT(ToDecibels(MeasureLevels(Effect->Samples).Rms), -30.0);
}

TEST_P(SoundEffectFile, StartsAndEndsInSilenceWithoutAClick) {
  EXPECT_LT(ToDecibels(MeasureLevels(Effect->FirstSeconds(0.0005)).Peak), -20.0);
  EXPECT_LT(ToDecibels(MeasureLevels(Effect->LastSeconds(0.002)).Peak), -40.0);
  EXPECT_LT(std::abs(Effect->Samples.front()), 0.01f);
  EXPECT_LT(std::abs(Effect->Samples.back()), 0.01f);
}

INSTANTIATE_TEST_SUITE_P(
    GameSounds, SoundEffectFile,
    ::testing::Values(
        // The menu click sounds over the menu music, so it keeps its peak lower.
        EffectCase{"Lighter 03.wav", 0.03, 0.15, -4.0}, EffectCase{"Switch 04.wav", 0.03, 0.2},
        EffectCase{"Car Start 01.wav", 1.0, 2.0}, EffectCase{"finish.wav", 1.5, 3.0},
        // The lamp beep repeats after 100 frames (about 1.1 s) and must end first.
        EffectCase{"svet1.wav", 0.1, 0.6}, EffectCase{"svet2.wav", 0.6, 1.5},
        // The panel slide it accompanies lasts about 0.3 s.
        EffectCase{"up.wav", 0.2, 0.45},
        // A crash plays again 12 frames (0.13 s) later only for a much harder bump: it may
        // ring on under the next one but not for long.
        EffectCase{"crash.wav", 0.2, 0.8},
        // The lap chimes end well before the next lap; the last lap's is the longer.
        EffectCase{"lap.wav", 0.4, 1.2}, EffectCase{"lastlap.wav", 1.0, 2.0}));

// The race's loops, played end to end for as long as a car drives or slides.
class SoundLoopFile : public SoundEffectFile {};

TEST_P(SoundLoopFile, RunsFromItsEndIntoItsStartWithoutAJump) {
  const std::vector<float>& samples = Effect->Samples;
  float steepest = 0.0f;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    steepest = std::max(steepest, std::abs(samples[i] - samples[i - 1]));
  }
  EXPECT_LE(std::abs(samples.front() - samples.back()), steepest);
}

TEST_P(SoundLoopFile, KeepsItsLevelFromStartToEnd) {
  EXPECT_NEAR(ToDecibels(MeasureLevels(Effect->Samples).Peak), GetParam().PeakDb, 0.5);
  const double first = ToDecibels(MeasureLevels(Effect->FirstSeconds(0.1)).Rms);
  const double last = ToDecibels(MeasureLevels(Effect->LastSeconds(0.1)).Rms);
  EXPECT_GT(first, -25.0) << "no fade-in";
  EXPECT_NEAR(first, last, 3.0) << "no fade-out";
}

TEST_P(SoundLoopFile, LengthSuitsItsUse) {
  EXPECT_GE(Effect->Seconds(), GetParam().MinSeconds);
  EXPECT_LE(Effect->Seconds(), GetParam().MaxSeconds);
}

INSTANTIATE_TEST_SUITE_P(RaceLoops, SoundLoopFile,
                         ::testing::Values(EffectCase{"engine.wav", 0.3, 1.0},
                                           EffectCase{"skid.wav", 0.3, 1.0}));

TEST(EngineLoop, IsALowBuzzSoThatItsPitchCanRiseThreeTimesOver) {
  SDL_Init(0);
  const std::optional<DecodedEffect> engine = LoadEffect("engine.wav");
  SDL_Quit();
  ASSERT_TRUE(engine);
  const double hz = audio_test::ZeroCrossingFrequency(engine->Samples, 44100);
  EXPECT_GT(hz, 40.0);
  EXPECT_LT(hz, 200.0);
}

TEST(StartLightTones, GoToneIsHigherAndLongerThanTheLampBeep) {
  const std::optional<DecodedEffect> lamp = LoadEffect("svet1.wav");
  const std::optional<DecodedEffect> go = LoadEffect("svet2.wav");
  ASSERT_TRUE(lamp && go);
  const double lamp_hz = audio_test::ZeroCrossingFrequency(lamp->FirstSeconds(0.2), 44100);
  const double go_hz = audio_test::ZeroCrossingFrequency(go->FirstSeconds(0.2), 44100);
  EXPECT_GT(go_hz, lamp_hz * 1.2);
  EXPECT_GT(go->Seconds(), lamp->Seconds());
}

}  // namespace
