#pragma once

#include <cstdint>

namespace synth {

/// Seeded white-noise generator (xorshift32) that gives the same sequence on every machine.
class TNoiseSource {
 public:
  /// Starts the sequence from `seed`; a zero seed is replaced by a fixed non-zero one.
  explicit TNoiseSource(std::uint32_t seed);

  /// Next sample, uniformly spread over [-1, 1).
  double Next();

 private:
  std::uint32_t State_;
};

}  // namespace synth
