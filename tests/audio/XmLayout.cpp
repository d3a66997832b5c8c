#include "XmLayout.h"

namespace audio_test {
namespace {

constexpr std::size_t kSongHeaderOffset = 60;
constexpr std::size_t kSampleHeaderSize = 40;

bool Fits(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t size) {
  return offset <= bytes.size() && size <= bytes.size() - offset;
}

bool WalkPatterns(const std::vector<std::uint8_t>& bytes, std::size_t count, std::size_t& pos,
                  XmLayout& layout) {
  for (std::size_t i = 0; i < count; ++i) {
    if (!Fits(bytes, pos, 9)) return false;
    const std::uint32_t header = Read32(bytes, pos);
    layout.PatternHeaderSizes.push_back(header);
    pos += header + Read16(bytes, pos + 7);
  }
  return true;
}

bool WalkInstruments(const std::vector<std::uint8_t>& bytes, std::size_t count, std::size_t& pos,
                     XmLayout& layout) {
  for (std::size_t i = 0; i < count; ++i) {
    if (!Fits(bytes, pos, 29)) return false;
    const std::uint32_t header = Read32(bytes, pos);
    const std::uint16_t samples = Read16(bytes, pos + 27);
    layout.InstrumentHeaderSizes.push_back(header);
    pos += header;
    std::size_t data = 0;
    for (std::uint16_t s = 0; s < samples; ++s) {
      if (!Fits(bytes, pos, kSampleHeaderSize)) return false;
      data += Read32(bytes, pos);
      pos += kSampleHeaderSize;
    }
    pos += data;
  }
  return true;
}

}  // namespace

std::uint16_t Read16(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(Read16(bytes, offset)) |
         static_cast<std::uint32_t>(Read16(bytes, offset + 2)) << 16;
}

std::optional<XmLayout> WalkXm(const std::vector<std::uint8_t>& bytes, std::string& error) {
  if (!Fits(bytes, 0, kSongHeaderOffset + 20)) {
    error = "shorter than the song header";
    return std::nullopt;
  }
  XmLayout layout;
  layout.Version = Read16(bytes, 58);
  layout.SongHeaderSize = Read32(bytes, kSongHeaderOffset);
  layout.Restart = Read16(bytes, 66);
  layout.Channels = Read16(bytes, 68);
  std::size_t pos = kSongHeaderOffset + layout.SongHeaderSize;
  if (!WalkPatterns(bytes, Read16(bytes, 70), pos, layout)) {
    error = "a pattern header runs past the end";
    return std::nullopt;
  }
  if (!WalkInstruments(bytes, Read16(bytes, 72), pos, layout)) {
    error = "an instrument or sample header runs past the end";
    return std::nullopt;
  }
  layout.End = pos;
  return layout;
}

}  // namespace audio_test
