#include "Rng.h"

namespace artgen {

std::uint64_t HashText(const std::string& text) {
  std::uint64_t h = 1469598103934665603ULL;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ULL;
  }
  return h;
}

std::uint64_t MixBits(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

TRng::TRng(const std::string& text, std::uint64_t salt) : State_(HashText(text) ^ MixBits(salt)) {}

std::uint64_t TRng::Next() {
  State_ += 0x9E3779B97F4A7C15ULL;
  return MixBits(State_);
}

double TRng::Uniform() {
  return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

}  // namespace artgen
