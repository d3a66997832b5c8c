#pragma once

#include <cstdint>
#include <string>

namespace artgen {

/// A small deterministic random generator (splitmix64), so that the same seed gives the
/// same pictures on every machine and library version.
class TRng {
 public:
  /// Starts the sequence from a text (e.g. an image key) and a number.
  TRng(const std::string& text, std::uint64_t salt);

  /// The next 64 random bits.
  std::uint64_t Next();
  /// Uniform in [0, 1).
  double Uniform();
  /// Uniform in [lo, hi).
  double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

 private:
  std::uint64_t State_;
};

/// FNV-1a hash of a text, used to seed generators by name.
std::uint64_t HashText(const std::string& text);
/// Mixes an integer into a well-spread 64-bit hash.
std::uint64_t MixBits(std::uint64_t x);

}  // namespace artgen
