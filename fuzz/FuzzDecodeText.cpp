// fuzz_decode_text: the 32-symbol text decoding of the settings files and score submissions on
// any characters, and the promise that decoding gives back what was encoded: exactly for
// whole groups of five bytes, otherwise with at most a few zero bytes in front.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "online/TextCodec.h"

namespace {

// Bytes that encoding then decoding may put in front of a plain text whose length is no
// multiple of five.
constexpr size_t kMostLeadingZeros = 4;

bool ComesBack(std::string_view plain) {
  const std::string back = online::DecodeText(online::EncodeText(plain));
  if (back.size() < plain.size() || back.size() > plain.size() + kMostLeadingZeros) return false;
  if (plain.size() % 5 == 0 && back.size() != plain.size()) return false;
  const std::string_view front(back.data(), back.size() - plain.size());
  return std::all_of(front.begin(), front.end(), [](char c) { return c == '\0'; }) &&
         std::string_view(back).substr(front.size()) == plain;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (online::DecodeText(bytes).size() > size) abort();
  if (!ComesBack(bytes)) abort();
  return 0;
}
