#pragma once

#include <cstdint>
#include <string>

namespace artgen {

/// A small deterministic random generator (splitmix64), so that the same seed gives the
/// same pictures on every machine and library version.
class Rng {
 public:
  /// Starts the sequence from a text (e.g. an image key) and a number.
  Rng(const std::string& text, std::uint64_t salt);

  /// The next 64 random bits.
  std::uint64_t next();
  /// Uniform in [0, 1).
  double uniform();
  /// Uniform in [lo, hi).
  double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

 private:
  std::uint64_t state_;
};

/// FNV-1a hash of a text, used to seed generators by name.
std::uint64_t hashText(const std::string& text);
/// Mixes an integer into a well-spread 64-bit hash.
std::uint64_t mixBits(std::uint64_t x);

}  // namespace artgen
