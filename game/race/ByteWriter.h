#pragma once
// Little-endian integers, floats and texts appended to a byte string, as the replay and ghost
// files store them.

#include <cstddef>
#include <cstdint>
#include <string>

namespace game {

/// Appends little-endian integers, floats and length-prefixed texts to a byte string.
class TByteWriter {
 public:
  /// Appends the lowest `bytes` bytes of value, lowest first.
  void Unsigned(uint64_t value, size_t bytes);
  /// Appends a 32-bit float as its bit pattern.
  void Float(float value);
  /// Appends the text's length in `lengthBytes` bytes, then the text.
  void Text(const std::string& text, size_t lengthBytes);

  /// The bytes written so far.
  std::string Bytes;
};

}  // namespace game
