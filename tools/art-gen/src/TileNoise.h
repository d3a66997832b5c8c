#pragma once

#include <cstdint>

namespace artgen {

/// Smooth value noise that repeats exactly over the unit square, so textures made from it
/// tile without seams in both directions.
class TileNoise {
 public:
  /// Noise with its own lattice values taken from seed.
  explicit TileNoise(std::uint64_t seed) : seed_(seed) {}

  /// Noise in [0, 1] at (u, v) of the unit square, with period lattice cells per side.
  double at(double u, double v, int period) const;
  /// Sum of octaves from basePeriod upwards (each doubling the period, halving the weight),
  /// normalised to [0, 1].
  double fractal(double u, double v, int basePeriod, int octaves) const;

 private:
  double lattice(int x, int y, int period) const;

  std::uint64_t seed_;
};

}  // namespace artgen
