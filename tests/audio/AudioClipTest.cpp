// Wave files as the sound effects load them: sound files convert to stereo at the output rate,
// and damaged ones are refused with a reason or play what they hold, without sizing anything
// by a length the file cannot back.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CaseName.h"
#include "platform/AudioClip.h"

namespace {

namespace fs = std::filesystem;

constexpr int kOutputRate = 44100;

void Put32(std::string& bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i));
}

void Put16(std::string& bytes, uint16_t value) {
  bytes += static_cast<char>(value);
  bytes += static_cast<char>(value >> 8);
}

// A mono 16-bit PCM wave file whose chunk sizes can be set apart from the data it holds.
std::string Wave(uint32_t rate, uint32_t frames, uint32_t declaredDataBytes) {
  std::string fmt;
  Put16(fmt, 1);
  Put16(fmt, 1);
  Put32(fmt, rate);
  Put32(fmt, rate * 2);
  Put16(fmt, 2);
  Put16(fmt, 16);
  std::string data;
  for (uint32_t i = 0; i < frames; ++i) Put16(data, static_cast<uint16_t>(i % 2 ? 8000 : -8000));
  std::string body = "WAVEfmt ";
  Put32(body, static_cast<uint32_t>(fmt.size()));
  body += fmt + "data";
  Put32(body, declaredDataBytes);
  body += data;
  std::string file = "RIFF";
  Put32(file, static_cast<uint32_t>(body.size()));
  return file + body;
}

struct ClipCase {
  std::string Name;
  std::string Bytes;
  // Stereo frames expected at the output rate, within 2; -1 when the file must be refused.
  long Frames;
  // Part of the reason given for a refusal.
  std::string Reason;
};

std::vector<ClipCase> Cases() {
  return {
      {"SoundFileAtHalfTheOutputRate", Wave(22050, 1000, 2000), 2000, ""},
      {"SoundFileAtTheUsualCardRate", Wave(48000, 4800, 9600), 4410, ""},
      {"ShorterThanTheResamplersDelay", Wave(8000, 40, 80), 220, ""},
      {"DataLengthPastTheEndPlaysWhatIsThere", Wave(44100, 300, 0xFFFFFFFFu), 300, ""},
      {"WithoutItsRiffHeader", Wave(44100, 300, 0xFFFFFFFFu).substr(8), 300, ""},
      {"CutInsideTheData", Wave(44100, 300, 600).substr(0, 44 + 200), 100, ""},
      {"OneHertzWouldGrowFortyThousandFold", Wave(1, 20000, 40000), -1, "sample rate"},
      {"AnHourLongIsNoEffect", Wave(1000, 3'700'000, 7'400'000), -1, "longer than"},
      {"NotAWaveFile", std::string("MThd\0\0\0\6", 8) + std::string(100, 'x'), -1, "RIFF"},
      {"EmptyFile", "", -1, ""},
  };
}

class ClipLoading : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipLoading, ConvertsOrRefusesWithAReason) {
  const ClipCase& c = GetParam();
  const fs::path file =
      fs::temp_directory_path() / ("cld-clip-" + std::to_string(getpid()) + "-" + c.Name + ".wav");
  std::ofstream(file, std::ios::binary) << c.Bytes;
  std::string error;
  const auto clip = platform::TAudioClip::LoadWav(file.string(), kOutputRate, error);
  fs::remove(file);
  if (c.Frames < 0) {
    ASSERT_EQ(clip, nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_NE(error.find(c.Reason), std::string::npos) << error;
    return;
  }
  ASSERT_NE(clip, nullptr) << error;
  EXPECT_NEAR(static_cast<double>(clip->Frames()), static_cast<double>(c.Frames), 2.0);
  EXPECT_EQ(clip->Samples().size(), 2 * clip->Frames());
}

INSTANTIATE_TEST_SUITE_P(Files, ClipLoading, ::testing::ValuesIn(Cases()),
                         audio_test::CaseName<ClipCase>);

TEST(ClipLoading, AFileLargerThanAnyEffectIsRefusedUnread) {
  const fs::path file = fs::temp_directory_path() / ("cld-clip-huge-" + std::to_string(getpid()));
  std::ofstream(file, std::ios::binary) << Wave(44100, 10, 20);
  fs::resize_file(file, 65u << 20);  // sparse: takes no room on disk
  std::string error;
  EXPECT_EQ(platform::TAudioClip::LoadWav(file.string(), kOutputRate, error), nullptr);
  fs::remove(file);
  EXPECT_NE(error.find("larger than"), std::string::npos) << error;
}

TEST(ClipLoading, AMissingFileNamesItself) {
  std::string error;
  EXPECT_EQ(platform::TAudioClip::LoadWav("/no/such/sound.wav", kOutputRate, error), nullptr);
  EXPECT_NE(error.find("/no/such/sound.wav"), std::string::npos) << error;
}

}  // namespace
