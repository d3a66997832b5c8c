#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace xm {

/// Appends little-endian integers and fixed-width text to a growing byte buffer.
class TByteWriter {
 public:
  /// Appends one byte.
  void Put8(std::uint32_t value);
  /// Appends a 16-bit little-endian value.
  void Put16(std::uint32_t value);
  /// Appends a 32-bit little-endian value.
  void Put32(std::uint32_t value);
  /// Appends `text` padded with `pad` (or cut) to exactly `width` bytes.
  void PutText(std::string_view text, std::size_t width, char pad);
  /// Appends `count` zero bytes.
  void PutZeros(std::size_t count);
  /// Overwrites the 16-bit value at `offset`, which must already have been written.
  void Patch16(std::size_t offset, std::uint32_t value);
  /// Number of bytes written so far.
  std::size_t Size() const { return Bytes_.size(); }
  /// The bytes written so far.
  const std::vector<std::uint8_t>& Bytes() const { return Bytes_; }

 private:
  std::vector<std::uint8_t> Bytes_;
};

}  // namespace xm
