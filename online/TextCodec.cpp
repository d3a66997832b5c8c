#include "TextCodec.h"

#include <cstdint>
#include <vector>

namespace online {

// Both directions work on one bit string, most significant bit first. Zero bits are put in
// front until the length divides evenly into the output's group size.
namespace {

std::vector<uint8_t> PadFront(std::vector<uint8_t> bits, size_t group) {
  const size_t extra = (group - bits.size() % group) % group;
  bits.insert(bits.begin(), extra, 0);
  return bits;
}

uint32_t GroupValue(const std::vector<uint8_t>& bits, size_t start, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) value = (value << 1) | bits[start + i];
  return value;
}

}  // namespace

std::string EncodeText(std::string_view plain) {
  std::vector<uint8_t> bits;
  bits.reserve(plain.size() * 8);
  for (unsigned char byte : plain) {
    for (int b = 7; b >= 0; --b) bits.push_back(static_cast<uint8_t>((byte >> b) & 1));
  }
  bits = PadFront(std::move(bits), 5);
  std::string out;
  out.reserve(bits.size() / 5);
  for (size_t i = 0; i < bits.size(); i += 5) out.push_back(kTextAlphabet[GroupValue(bits, i, 5)]);
  return out;
}

std::string DecodeText(std::string_view encoded) {
  std::vector<uint8_t> bits;
  bits.reserve(encoded.size() * 5);
  for (char c : encoded) {
    const size_t v = kTextAlphabet.find(c);
    if (v == std::string_view::npos) continue;
    for (int b = 4; b >= 0; --b) bits.push_back(static_cast<uint8_t>((v >> b) & 1));
  }
  if (bits.size() < 8) return {};
  bits = PadFront(std::move(bits), 8);
  std::string out;
  out.reserve(bits.size() / 8);
  for (size_t i = 0; i < bits.size(); i += 8) {
    out.push_back(static_cast<char>(GroupValue(bits, i, 8)));
  }
  return out;
}

}  // namespace online
