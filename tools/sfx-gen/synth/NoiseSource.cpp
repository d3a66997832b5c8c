#include "synth/NoiseSource.h"

namespace synth {

TNoiseSource::TNoiseSource(std::uint32_t seed) : State_(seed == 0 ? 0x9E3779B9u : seed) {}

double TNoiseSource::Next() {
  State_ ^= State_ << 13;
  State_ ^= State_ >> 17;
  State_ ^= State_ << 5;
  return static_cast<double>(State_) / 2147483648.0 - 1.0;
}

}  // namespace synth
