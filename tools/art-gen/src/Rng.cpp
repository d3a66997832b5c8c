#include "Rng.h"

namespace artgen {

std::uint64_t hashText(const std::string& text) {
  std::uint64_t h = 1469598103934665603ULL;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ULL;
  }
  return h;
}

std::uint64_t mixBits(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

Rng::Rng(const std::string& text, std::uint64_t salt) : state_(hashText(text) ^ mixBits(salt)) {}

std::uint64_t Rng::next() {
  state_ += 0x9E3779B97F4A7C15ULL;
  return mixBits(state_);
}

double Rng::uniform() {
  return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

}  // namespace artgen
