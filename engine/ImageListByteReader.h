#pragma once
// A bounded little-endian reader over bytes held in memory.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vexel {

/// Reads little-endian values from a byte buffer, never past its end: every read checks the
/// bytes remaining first and raises TStreamError (naming the offset) when they do not suffice.
class TByteReader {
 public:
  /// Reads from the given bytes, which must outlive the reader.
  explicit TByteReader(const std::vector<uint8_t>& bytes) : Bytes_(bytes) {}

  /// Current offset from the start.
  size_t Position() const { return Position_; }
  /// Bytes left after the current offset.
  size_t Remaining() const { return Bytes_.size() - Position_; }
  /// Moves to an offset inside the buffer (its end included).
  void Seek(size_t position);
  /// The next byte, without moving.
  uint8_t Peek() const;
  /// Reads one byte.
  uint8_t U8();
  /// Reads a 16-bit value.
  uint16_t U16();
  /// Reads a 32-bit value.
  uint32_t U32();
  /// Reads Count bytes.
  std::vector<uint8_t> Bytes(size_t count);
  /// Reads Count bytes as text.
  std::string Text(size_t count);
  /// Raises TStreamError with the current offset and the reason.
  [[noreturn]] void Fail(const std::string& reason) const;

 private:
  void Need(size_t count) const;

  const std::vector<uint8_t>& Bytes_;
  size_t Position_ = 0;
};

}  // namespace vexel
