#pragma once
// Reads back what TByteWriter wrote, refusing bytes that run out or texts that are too long.

#include <cstddef>
#include <cstdint>
#include <string>

namespace game {

/// Reads little-endian integers, floats and texts; throws TReplayError naming the file kind.
class TByteReader {
 public:
  /// A reader over bytes, which must outlive it; fileName ("replay file") names them in errors.
  TByteReader(const std::string& bytes, std::string fileName);
  TByteReader(std::string&&, std::string) = delete;
  /// Reads an unsigned integer of `bytes` bytes, lowest first.
  uint64_t Unsigned(size_t bytes);
  /// Reads a two's complement integer of `bytes` bytes, lowest first.
  int64_t Signed(size_t bytes);
  /// Reads a 32-bit float from its bit pattern.
  float Float();
  /// Reads a text whose length stands in `lengthBytes` bytes and is at most `most`.
  std::string Text(size_t lengthBytes, uint64_t most);
  /// The number of bytes not read yet.
  size_t Left() const;
  /// Whether every byte has been read.
  bool AtEnd() const;

 private:
  void Need(uint64_t bytes) const;
  const std::string& Bytes_;
  std::string FileName_;
  size_t At_ = 0;
};

}  // namespace game
