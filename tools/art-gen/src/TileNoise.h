#pragma once

#include <cstdint>

namespace artgen {

/// Smooth value noise that repeats exactly over the unit square, so textures made from it
/// tile without seams in both directions.
class TTileNoise {
 public:
  /// Noise with its own lattice values taken from seed.
  explicit TTileNoise(std::uint64_t seed) : Seed_(seed) {}

  /// Noise in [0, 1] at (u, v) of the unit square, with period lattice cells per side.
  double At(double u, double v, int period) const;
  /// Sum of octaves from basePeriod upwards (each doubling the period, halving the weight),
  /// normalised to [0, 1].
  double Fractal(double u, double v, int basePeriod, int octaves) const;

 private:
  double Lattice(int x, int y, int period) const;

  std::uint64_t Seed_;
};

}  // namespace artgen
