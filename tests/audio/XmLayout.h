#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reads the size fields of an XM file the way a player skips through it.
namespace audio_test {

/// What walking an XM file by its own size fields found.
struct XmLayout {
  std::uint16_t version = 0;
  std::uint32_t song_header_size = 0;
  std::uint16_t restart = 0;
  std::uint16_t channels = 0;
  std::vector<std::uint32_t> pattern_header_sizes;
  std::vector<std::uint32_t> instrument_header_sizes;
  std::size_t end = 0;
};

/// Walks `bytes` from header to the last sample by the sizes stored in the file. Returns
/// nothing (and sets `error`) when a size points outside the file.
std::optional<XmLayout> WalkXm(const std::vector<std::uint8_t>& bytes, std::string& error);

/// Little-endian 16-bit value at `offset`; the caller checks the bounds.
std::uint16_t Read16(const std::vector<std::uint8_t>& bytes, std::size_t offset);

/// Little-endian 32-bit value at `offset`; the caller checks the bounds.
std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t offset);

}  // namespace audio_test
