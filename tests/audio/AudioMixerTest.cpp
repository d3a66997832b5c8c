// The mixer on its own: how voices and paths sum, how the sum is limited, and when a stream
// asks for its halves to be refilled.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "CaseName.h"
#include "platform/AudioMixer.h"

namespace {

using namespace std::chrono_literals;

constexpr float kCeiling = platform::TAudioMixer::kCeiling;

// A clip that holds one value on both channels.
std::shared_ptr<const platform::TAudioClip> Constant(float value, std::size_t frames, int rate) {
  return std::make_shared<const platform::TAudioClip>(std::vector<float>(frames * 2, value), rate);
}

// Two voices and the gains of the paths they play on, and the level the sum should reach.
struct SumCase {
  const char* Name;
  float First;
  float Second;
  float FirstGain;
  float SecondGain;
  bool SamePath;
  float Expected;
};

void PrintTo(const SumCase& c, std::ostream* out) {
  *out << c.Name;
}

class MixerSum : public ::testing::TestWithParam<SumCase> {};

TEST_P(MixerSum, AddsEveryVoiceWithItsPathGainAndLimitsOnlyTheSum) {
  const SumCase& c = GetParam();
  platform::TAudioMixer mixer(44100);
  const int a = mixer.AddPath();
  const int b = c.SamePath ? a : mixer.AddPath();
  mixer.SetPathGain(a, c.FirstGain);
  if (!c.SamePath) mixer.SetPathGain(b, c.SecondGain);
  mixer.Play(a, Constant(c.First, 64, 44100), 0);
  mixer.Play(b, Constant(c.Second, 64, 44100), 0);
  std::vector<float> out(2 * 32);
  mixer.Mix(out.data(), 32);
  for (float sample : out) EXPECT_FLOAT_EQ(sample, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Voices, MixerSum,
    ::testing::Values(
        SumCase{"OnePathSums", 0.25f, 0.5f, 1.0f, 1.0f, true, 0.75f},
        SumCase{"PathGainScalesEach", 0.8f, 0.8f, 0.5f, 0.25f, false, 0.6f},
        // Each voice is full scale but the gains bring the sum under the ceiling: untouched.
        SumCase{"LoudVoicesQuietPaths", 1.0f, 1.0f, 0.44f, 0.44f, false, 0.88f},
        // A sum over the ceiling (-1 dBFS) is held at it.
        SumCase{"SumAboveTheCeilingIsLimited", 0.7f, 0.6f, 1.0f, 1.0f, true, kCeiling},
        SumCase{"SumBelowMinusTheCeilingIsLimited", -0.7f, -0.6f, 1.0f, 1.0f, true, -kCeiling},
        SumCase{"OppositeVoicesCancel", 0.9f, -0.9f, 1.0f, 1.0f, true, 0.0f}),
    audio_test::CaseName<SumCase>);

// A sine clip of `amplitude` at 441 Hz, 100 whole cycles long at 44100 Hz.
std::shared_ptr<const platform::TAudioClip> Sine(float amplitude) {
  std::vector<float> samples(2 * 10000);
  for (std::size_t i = 0; i < samples.size() / 2; ++i) {
    const double phase = 2 * std::numbers::pi * 441.0 * static_cast<double>(i) / 44100.0;
    samples[2 * i] = samples[2 * i + 1] = amplitude * static_cast<float>(std::sin(phase));
  }
  return std::make_shared<const platform::TAudioClip>(std::move(samples), 44100);
}

float Peak(const std::vector<float>& samples, std::size_t from, std::size_t to) {
  float peak = 0;
  for (std::size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(samples[i]));
  return peak;
}

TEST(MixerLimiter, ALoudSumTurnsDownInsteadOfClippingAndRecoversAfterwards) {
  platform::TAudioMixer mixer(44100);
  const int loud = mixer.AddPath();
  const int quiet = mixer.AddPath();
  mixer.Play(loud, Sine(1.0f), 1);  // 20000 frames, at twice the ceiling with its gain
  mixer.SetPathGain(loud, 1.8f);
  mixer.Play(quiet, Sine(0.5f), -1);
  std::vector<float> out(2 * 44100);
  mixer.Mix(out.data(), 44100);
  const std::size_t loudEnd = 2 * 20000;
  EXPECT_LE(Peak(out, 0, out.size()), kCeiling);
  // Limited, not clipped: the sum (a sine of 2.3) keeps its shape, only the tips of its peaks
  // at the ceiling, where a clipped one would sit there for most of each half cycle.
  const auto atCeiling = std::count_if(out.begin(), out.begin() + static_cast<long>(loudEnd),
                                       [](float s) { return std::abs(s) >= kCeiling * 0.999f; });
  EXPECT_LT(atCeiling, static_cast<long>(loudEnd) / 5);
  EXPECT_GT(Peak(out, loudEnd - 2000, loudEnd), kCeiling * 0.95f);
  // Half a second after the loud voice ends the quiet one is back at (almost) its own level.
  EXPECT_NEAR(Peak(out, out.size() - 4000, out.size()), 0.5f, 0.03f);
  EXPECT_LT(Peak(out, loudEnd + 100, loudEnd + 1000), 0.45f) << "the gain recovers gradually";
}

TEST(Mixer, AVoiceEndsAfterItsRepeatsAndItsPathFrequencyResamples) {
  platform::TAudioMixer mixer(44100);
  const int path = mixer.AddPath();
  auto clip = Constant(0.5f, 100, 22050);
  mixer.Play(path, clip, 2);  // three times in all
  std::vector<float> out(2 * 400);
  mixer.Mix(out.data(), 400);
  EXPECT_FLOAT_EQ(out[2 * 299], 0.5f);
  EXPECT_FLOAT_EQ(out[2 * 300], 0.0f);
  EXPECT_FALSE(mixer.IsPlaying(clip.get()));
  // At 44100 Hz a clip recorded at 22050 Hz plays twice as fast.
  mixer.SetPathFrequency(path, 44100);
  mixer.Play(path, clip, 0);
  mixer.Mix(out.data(), 400);
  EXPECT_FLOAT_EQ(out[2 * 49], 0.5f);
  EXPECT_FLOAT_EQ(out[2 * 50], 0.0f);
}

TEST(Mixer, RemovingAPathOrStoppingAClipSilencesItsVoices) {
  platform::TAudioMixer mixer(44100);
  const int kept = mixer.AddPath();
  const int removed = mixer.AddPath();
  auto endless = Constant(0.25f, 10, 44100);
  auto other = Constant(0.5f, 10, 44100);
  mixer.Play(kept, endless, -1);
  mixer.Play(removed, other, -1);
  mixer.RemovePath(removed);
  EXPECT_EQ(mixer.ActiveVoices(kept), 1);
  std::vector<float> out(2 * 1000);
  mixer.Mix(out.data(), 1000);
  EXPECT_FLOAT_EQ(out[2 * 999], 0.25f);
  mixer.Stop(endless.get());
  mixer.Mix(out.data(), 1000);
  EXPECT_FLOAT_EQ(out[0], 0.0f);
  EXPECT_EQ(mixer.ActiveVoices(kept), 0);
}

TEST(Mixer, EveryVoiceBusyTheOldestGivesWay) {
  platform::TAudioMixer mixer(44100);
  const int path = mixer.AddPath();
  auto oldest = Constant(0.001f, 10, 44100);
  mixer.Play(path, oldest, -1);
  for (int i = 1; i < platform::TAudioMixer::kMaxVoices; ++i) {
    mixer.Play(path, Constant(0.001f, 10, 44100), -1);
  }
  EXPECT_TRUE(mixer.IsPlaying(oldest.get()));
  mixer.Play(path, Constant(0.001f, 10, 44100), -1);
  EXPECT_FALSE(mixer.IsPlaying(oldest.get()));
  EXPECT_EQ(mixer.ActiveVoices(path), platform::TAudioMixer::kMaxVoices);
}

TEST(Mixer, AStreamAsksForEachHalfAsItsPositionEntersTheOther) {
  // At 22050 Hz out, one output frame is one stream frame.
  platform::TAudioMixer mixer(platform::TAudioStream::kRate);
  platform::TAudioStream stream;
  std::fill(stream.Half(0).begin(), stream.Half(0).end(), std::int16_t{16384});
  mixer.AddStream(&stream);
  mixer.SetStreamPlaying(&stream, true);
  EXPECT_EQ(stream.WaitForRefill(0ms), -1);
  std::vector<float> out(2 * platform::TAudioStream::kHalfFrames);
  mixer.Mix(out.data(), platform::TAudioStream::kHalfFrames - 1);
  EXPECT_FLOAT_EQ(out[0], 0.5f);
  EXPECT_EQ(stream.WaitForRefill(0ms), -1);
  mixer.Mix(out.data(), 1);
  EXPECT_EQ(stream.WaitForRefill(0ms), 0);  // in the second half: the first is due
  mixer.Mix(out.data(), platform::TAudioStream::kHalfFrames);
  EXPECT_FLOAT_EQ(out[4], 0.0f);            // the second half was silence
  EXPECT_EQ(stream.WaitForRefill(0ms), 1);  // back at the start: the second is due
  mixer.SetStreamPlaying(&stream, false);
  mixer.Mix(out.data(), 100);
  EXPECT_FLOAT_EQ(out[0], 0.0f);
  mixer.RemoveStream(&stream);
}

TEST(Mixer, AStreamIsResampledToTheOutputRate) {
  platform::TAudioMixer mixer(44100);
  platform::TAudioStream stream;
  std::fill(stream.Half(0).begin(), stream.Half(0).end(), std::int16_t{8192});
  mixer.AddStream(&stream);
  mixer.SetStreamPlaying(&stream, true);
  // One second of stream, the first half, lasts one second of output: 44100 frames.
  std::vector<float> out(2 * 44100);
  mixer.Mix(out.data(), 44098);
  EXPECT_EQ(stream.WaitForRefill(0ms), -1);
  EXPECT_FLOAT_EQ(out[2 * 44097], 0.25f);
  mixer.Mix(out.data(), 4);
  EXPECT_EQ(stream.WaitForRefill(0ms), 0);
  mixer.RemoveStream(&stream);
}

}  // namespace
