#pragma once

#include <cstdint>
#include <vector>

namespace sfx {

/// Encodes mono samples in [-1, 1] as a 16-bit PCM RIFF/WAVE file at `rate` Hz.
std::vector<std::uint8_t> EncodeWav(const std::vector<double>& samples, int rate);

}  // namespace sfx
