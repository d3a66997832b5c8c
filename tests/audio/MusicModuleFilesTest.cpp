// The generated music modules, loaded and rendered by libopenmpt as the game will play them.
#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.hpp>
#include <memory>
#include <string>
#include <vector>

#include "AudioMeasure.h"
#include "CaseName.h"
#include "XmLayout.h"

namespace {

using audio_test::MeasureLevels;
using audio_test::ToDecibels;

constexpr int kRate = 44100;

// Renders interleaved stereo; stops early only if the module ends.
std::vector<float> RenderStereo(openmpt::module& module, double seconds) {
  const auto frames = static_cast<std::size_t>(seconds * kRate);
  std::vector<float> out(frames * 2);
  std::size_t done = 0;
  while (done < frames) {
    const std::size_t chunk = std::min<std::size_t>(4096, frames - done);
    const std::size_t got = module.read_interleaved_stereo(kRate, chunk, out.data() + done * 2);
    if (got == 0) break;
    done += got;
  }
  out.resize(done * 2);
  return out;
}

std::span<const float> Window(const std::vector<float>& stereo, double start, double seconds) {
  const auto first = std::min(stereo.size(), static_cast<std::size_t>(start * kRate) * 2);
  const auto count = std::min(stereo.size() - first, static_cast<std::size_t>(seconds * kRate) * 2);
  return std::span(stereo).subspan(first, count);
}

// One module file and the name its tests are reported under.
struct ModuleCase {
  const char* File;
  const char* Name;
};

void PrintTo(const ModuleCase& c, std::ostream* out) {
  *out << c.File;
}

// Reads one generated module and opens it in libopenmpt before each check.
class MusicModuleFile : public ::testing::TestWithParam<ModuleCase> {
 protected:
  void SetUp() override {
    Bytes = audio_test::ReadBinaryFile(std::string(CLD_SOUNDS_DIR) + "/" + GetParam().File);
    ASSERT_FALSE(Bytes.empty()) << GetParam().File << " is missing or empty";
    Module = std::make_unique<openmpt::module>(Bytes);
  }

  std::vector<std::uint8_t> Bytes;
  std::unique_ptr<openmpt::module> Module;
};

TEST_P(MusicModuleFile, SizeFieldsWalkExactlyToTheEnd) {
  std::string error;
  const std::optional<audio_test::XmLayout> layout = audio_test::WalkXm(Bytes, error);
  ASSERT_TRUE(layout) << error;
  EXPECT_EQ(layout->Version, 0x0104);
  EXPECT_EQ(layout->SongHeaderSize, 276u);
  for (std::uint32_t size : layout->PatternHeaderSizes) EXPECT_EQ(size, 9u);
  for (std::uint32_t size : layout->InstrumentHeaderSizes) EXPECT_EQ(size, 263u);
  EXPECT_EQ(layout->End, Bytes.size());
  EXPECT_EQ(static_cast<int>(layout->Channels), Module->get_num_channels());
}

TEST_P(MusicModuleFile, PlaysAtLeastAMinuteBeforeLooping) {
  EXPECT_GE(Module->get_duration_seconds(), 60.0);
  EXPECT_LE(Module->get_duration_seconds(), 180.0);
}

TEST_P(MusicModuleFile, EveryTenSecondsHasSoundAndNothingClips) {
  const double duration = Module->get_duration_seconds();
  const std::vector<float> audio = RenderStereo(*Module, duration);
  ASSERT_GE(audio.size(), static_cast<std::size_t>((duration - 0.1) * kRate) * 2);
  for (double start = 0.0; start + 1.0 < duration; start += 10.0) {
    const double rms_db = ToDecibels(MeasureLevels(Window(audio, start, 10.0)).Rms);
    EXPECT_GT(rms_db, -35.0) << "window starting at " << start << " s";
  }
  EXPECT_LT(MeasureLevels(audio).Peak, 1.0);
  EXPECT_LT(audio_test::LongestRunAtOrAbove(audio, 0.999f), 3u);
}

TEST_P(MusicModuleFile, LoopsBackWithoutASilentGap) {
  Module->set_repeat_count(-1);
  const double duration = Module->get_duration_seconds();
  const std::vector<float> audio = RenderStereo(*Module, duration + 8.0);
  ASSERT_GE(audio.size(), static_cast<std::size_t>((duration + 7.9) * kRate) * 2)
      << "rendering stopped at the song end";
  for (double start = duration - 3.0; start < duration + 7.5; start += 0.25) {
    const double rms_db = ToDecibels(MeasureLevels(Window(audio, start, 0.25)).Rms);
    EXPECT_GT(rms_db, -45.0) << "quarter second starting at " << start << " s";
  }
}

TEST_P(MusicModuleFile, LoopSkipsTheIntroToTheRestartPosition) {
  std::string error;
  const std::optional<audio_test::XmLayout> layout = audio_test::WalkXm(Bytes, error);
  ASSERT_TRUE(layout) << error;
  EXPECT_GT(layout->Restart, 0);
  Module->set_repeat_count(-1);
  RenderStereo(*Module, Module->get_duration_seconds() + 0.5);
  EXPECT_EQ(Module->get_current_order(), layout->Restart);
}

INSTANTIATE_TEST_SUITE_P(GameMusic, MusicModuleFile,
                         ::testing::Values(ModuleCase{"1.xm", "Menu"}, ModuleCase{"2.xm", "Race"},
                                           ModuleCase{"3.xm", "Results"}),
                         audio_test::CaseName<ModuleCase>);

}  // namespace
