#include "TileNoise.h"

#include <cmath>

#include "Rng.h"

namespace artgen {

namespace {

double Smooth(double t) {
  return t * t * t * (t * (t * 6 - 15) + 10);
}

int Wrap(int i, int period) {
  return ((i % period) + period) % period;
}

}  // namespace

double TTileNoise::Lattice(int x, int y, int period) const {
  const auto key = static_cast<std::uint64_t>(Wrap(x, period)) * 73856093ULL ^
                   static_cast<std::uint64_t>(Wrap(y, period)) * 19349663ULL ^
                   static_cast<std::uint64_t>(period) * 83492791ULL;
  return static_cast<double>(MixBits(Seed_ ^ key) >> 11) * 0x1.0p-53;
}

double TTileNoise::At(double u, double v, int period) const {
  const double x = u * period;
  const double y = v * period;
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  const double tx = Smooth(x - fx);
  const double ty = Smooth(y - fy);
  const double a = Lattice(ix, iy, period);
  const double b = Lattice(ix + 1, iy, period);
  const double c = Lattice(ix, iy + 1, period);
  const double d = Lattice(ix + 1, iy + 1, period);
  const double top = a + (b - a) * tx;
  const double bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double TTileNoise::Fractal(double u, double v, int basePeriod, int octaves) const {
  double sum = 0.0;
  double weight = 1.0;
  double total = 0.0;
  int period = basePeriod;
  for (int i = 0; i < octaves; ++i) {
    sum += At(u, v, period) * weight;
    total += weight;
    weight *= 0.5;
    period *= 2;
  }
  return sum / total;
}

}  // namespace artgen
