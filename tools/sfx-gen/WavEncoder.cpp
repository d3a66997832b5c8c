#include "WavEncoder.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace sfx {
namespace {

void PutTag(std::vector<std::uint8_t>& out, std::string_view tag) {
  for (char c : tag) out.push_back(static_cast<std::uint8_t>(c));
}

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::int16_t ToPcm16(double sample) {
  const double scaled = std::round(std::clamp(sample, -1.0, 1.0) * 32767.0);
  return static_cast<std::int16_t>(scaled);
}

}  // namespace

std::vector<std::uint8_t> EncodeWav(const std::vector<double>& samples, int rate) {
  constexpr std::uint32_t kChannels = 1;
  constexpr std::uint32_t kBytesPerSample = 2;
  const auto data_size = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);
  const auto sample_rate = static_cast<std::uint32_t>(rate);
  std::vector<std::uint8_t> out;
  out.reserve(44 + data_size);
  PutTag(out, "RIFF");
  PutLittleEndian(out, 36 + data_size, 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutLittleEndian(out, 16, 4);
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, kChannels, 2);
  PutLittleEndian(out, sample_rate, 4);
  PutLittleEndian(out, sample_rate * kChannels * kBytesPerSample, 4);
  PutLittleEndian(out, kChannels * kBytesPerSample, 2);
  PutLittleEndian(out, 8 * kBytesPerSample, 2);
  PutTag(out, "data");
  PutLittleEndian(out, data_size, 4);
  for (double sample : samples) {
    PutLittleEndian(out, static_cast<std::uint16_t>(ToPcm16(sample)), 2);
  }
  return out;
}

}  // namespace sfx
