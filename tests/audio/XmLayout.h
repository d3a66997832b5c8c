#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Reads the size fields of an XM file the way a player skips through it.
namespace audio_test {

/// What walking an XM file by its own size fields found.
struct XmLayout {
  std::uint16_t Version = 0;
  std::uint32_t SongHeaderSize = 0;
  std::uint16_t Restart = 0;
  std::uint16_t Channels = 0;
  std::vector<std::uint32_t> PatternHeaderSizes;
  std::vector<std::uint32_t> InstrumentHeaderSizes;
  std::size_t End = 0;
};

/// Walks `bytes` from header to the last sample by the sizes stored in the file. Returns
/// nothing (and sets `error`) when a size points outside the file.
std::optional<XmLayout> WalkXm(const std::vector<std::uint8_t>& bytes, std::string& error);

/// Little-endian 16-bit value at `offset`; the caller checks the bounds.
std::uint16_t Read16(const std::vector<std::uint8_t>& bytes, std::size_t offset);

/// Little-endian 32-bit value at `offset`; the caller checks the bounds.
std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t offset);

}  // namespace audio_test
