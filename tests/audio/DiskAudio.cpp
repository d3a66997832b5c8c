#include "DiskAudio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "AudioMeasure.h"

namespace audio_test {
namespace {

namespace fs = std::filesystem;

void Put32(std::ofstream& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void Put16(std::ofstream& out, std::uint16_t value) {
  out.put(static_cast<char>(value & 0xFF));
  out.put(static_cast<char>(value >> 8));
}

}  // namespace

std::string FreshTestDir() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("cld-audio-") + test->test_suite_name() + "-" + test->name();
  std::replace(name.begin(), name.end(), '/', '-');
  const fs::path dir = fs::path(::testing::TempDir()) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

void UseDiskAudio(const std::string& dir, bool unpaced) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", (fs::path(dir) / "output.raw").c_str(), 1);
  if (unpaced) {
    setenv("SDL_DISKAUDIODELAY", "0", 1);
  } else {
    unsetenv("SDL_DISKAUDIODELAY");
  }
}

void UseMissingAudioDriver() {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
}

std::vector<float> ReadDiskAudio(const std::string& dir) {
  const std::vector<std::uint8_t> bytes = ReadBinaryFile((fs::path(dir) / "output.raw").string());
  std::vector<float> samples(bytes.size() / sizeof(float));
  std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
  return samples;
}

std::vector<float> Channel(std::span<const float> stereo, int channel) {
  std::vector<float> out(stereo.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = stereo[i * 2 + channel];
  return out;
}

std::size_t FirstAbove(std::span<const float> samples, float threshold) {
  const auto it = std::find_if(samples.begin(), samples.end(),
                               [threshold](float s) { return std::abs(s) > threshold; });
  return static_cast<std::size_t>(it - samples.begin());
}

std::size_t EndAbove(std::span<const float> samples, float threshold) {
  for (std::size_t i = samples.size(); i > 0; --i) {
    if (std::abs(samples[i - 1]) > threshold) return i;
  }
  return 0;
}

std::size_t HeardLength(std::span<const float> samples, float threshold) {
  const std::size_t end = EndAbove(samples, threshold);
  return end == 0 ? 0 : end - FirstAbove(samples, threshold);
}

void WriteWav(const std::string& path, std::span<const float> stereo, int rate) {
  std::ofstream out(path, std::ios::binary);
  const auto bytes = static_cast<std::uint32_t>(stereo.size() * 2);
  out.write("RIFF", 4);
  Put32(out, 36 + bytes);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, 2);
  Put32(out, static_cast<std::uint32_t>(rate));
  Put32(out, static_cast<std::uint32_t>(rate) * 4);
  Put16(out, 4);
  Put16(out, 16);
  out.write("data", 4);
  Put32(out, bytes);
  for (float sample : stereo) {
    const auto value =
        static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
    Put16(out, static_cast<std::uint16_t>(value));
  }
}

}  // namespace audio_test
