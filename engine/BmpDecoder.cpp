#include "BmpDecoder.h"

#include <bit>

namespace vexel {
namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionBitFields = 3;
constexpr uint32_t kCompressionAlphaBitFields = 6;
// Sides above this are refused before any allocation, as for PNG pictures.
constexpr int64_t kMaxSide = 16384;

uint32_t Le(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

bool Fail(std::string& error, const std::string& reason) {
  error = "BMP: " + reason;
  return false;
}

// The fields of the information header that matter here, whatever its version.
struct TInfo {
  uint32_t HeaderBytes = 0;
  int64_t Width = 0;
  int64_t Height = 0;
  uint32_t Planes = 0;
  uint32_t BitCount = 0;
  uint32_t Compression = kCompressionRgb;
  uint32_t ColorsUsed = 0;
};

bool ReadInfo(const uint8_t* data, size_t size, TInfo& info, std::string& error) {
  if (size < kFileHeaderBytes + 4) return Fail(error, "file too short for its headers");
  if (data[0] != 'B' || data[1] != 'M') return Fail(error, "no \"BM\" signature");
  const uint8_t* p = data + kFileHeaderBytes;
  info.HeaderBytes = Le(p, 4);
  if (info.HeaderBytes != kCoreHeaderBytes && info.HeaderBytes < kInfoHeaderBytes) {
    return Fail(error, "unknown information header size " + std::to_string(info.HeaderBytes));
  }
  if (info.HeaderBytes > size - kFileHeaderBytes) return Fail(error, "header runs past the end");
  if (info.HeaderBytes == kCoreHeaderBytes) {
    info.Width = Le(p + 4, 2);
    info.Height = Le(p + 6, 2);
    info.Planes = Le(p + 8, 2);
    info.BitCount = Le(p + 10, 2);
    return true;
  }
  info.Width = static_cast<int32_t>(Le(p + 4, 4));
  info.Height = static_cast<int32_t>(Le(p + 8, 4));
  info.Planes = Le(p + 12, 2);
  info.BitCount = Le(p + 14, 2);
  info.Compression = Le(p + 16, 4);
  info.ColorsUsed = Le(p + 32, 4);
  return true;
}

bool CheckInfo(const TInfo& info, std::string& error) {
  if (info.Planes != 1) return Fail(error, "plane count is not 1");
  if (info.BitCount != 8 && info.BitCount != 24 && info.BitCount != 32) {
    return Fail(error, "unsupported bit depth " + std::to_string(info.BitCount));
  }
  const bool masked =
      info.Compression == kCompressionBitFields || info.Compression == kCompressionAlphaBitFields;
  if (info.Compression != kCompressionRgb && !(masked && info.BitCount == 32)) {
    return Fail(error, "unsupported compression " + std::to_string(info.Compression));
  }
  const int64_t height = info.Height < 0 ? -info.Height : info.Height;
  if (info.Width <= 0 || height == 0 || info.Width > kMaxSide || height > kMaxSide) {
    return Fail(error, "picture size out of range");
  }
  return true;
}

// Bit-field masks sit inside the larger headers, or follow a 40-byte header.
bool ReadMasks(const uint8_t* data, size_t size, const TInfo& info, TBmpHeader& header,
               size_t& tableEnd, std::string& error) {
  const size_t masksAt = kFileHeaderBytes + kInfoHeaderBytes;
  const bool alphaInHeader = info.HeaderBytes >= 56;
  int count = info.Compression == kCompressionAlphaBitFields || alphaInHeader ? 4 : 3;
  if (info.HeaderBytes == kInfoHeaderBytes) {
    tableEnd += static_cast<size_t>(count) * 4;
    if (tableEnd > size) return Fail(error, "bit-field masks run past the end");
  } else if (info.HeaderBytes < 52) {
    return Fail(error, "header too short for its bit-field masks");
  } else if (!alphaInHeader) {
    count = 3;
  }
  header.Masks[3] = 0;
  for (int i = 0; i < count; ++i) header.Masks[i] = Le(data + masksAt + 4 * i, 4);
  return true;
}

bool ReadPalette(const uint8_t* data, size_t size, const TInfo& info, TBmpHeader& header,
                 size_t& tableEnd, std::string& error) {
  const size_t entryBytes = info.HeaderBytes == kCoreHeaderBytes ? 3 : 4;
  const size_t colors = info.ColorsUsed == 0 ? 256 : info.ColorsUsed;
  if (colors > 256) return Fail(error, "palette of more than 256 colours");
  if (colors * entryBytes > size - tableEnd) return Fail(error, "palette runs past the end");
  for (size_t i = 0; i < colors; ++i) {
    const uint8_t* entry = data + tableEnd + i * entryBytes;
    header.Palette.push_back(0xFF000000u | Le(entry, 3));
  }
  tableEnd += colors * entryBytes;
  return true;
}

// One channel of a masked pixel, scaled to 8 bits.
uint32_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const uint32_t value = (pixel & mask) >> shift;
  const uint32_t top = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
  return static_cast<uint32_t>((static_cast<uint64_t>(value) * 255 + top / 2) / top);
}

uint32_t MaskedPixel(uint32_t pixel, const std::array<uint32_t, 4>& masks) {
  const uint32_t alpha = masks[3] == 0 ? 0xFF : Channel(pixel, masks[3]);
  return alpha << 24 | Channel(pixel, masks[0]) << 16 | Channel(pixel, masks[1]) << 8 |
         Channel(pixel, masks[2]);
}

uint32_t PixelAt(const uint8_t* row, int32_t x, const TBmpHeader& header) {
  switch (header.BitCount) {
    case 8: {
      const uint8_t index = row[x];
      return index < header.Palette.size() ? header.Palette[index] : 0xFF000000u;
    }
    case 24:
      return 0xFF000000u | Le(row + 3 * x, 3);
    default:
      return MaskedPixel(Le(row + 4 * x, 4), header.Masks);
  }
}

}  // namespace

bool ReadBmpHeader(const uint8_t* data, size_t size, TBmpHeader& header, std::string& error) {
  header = TBmpHeader{};
  TInfo info;
  if (!ReadInfo(data, size, info, error) || !CheckInfo(info, error)) return false;
  size_t tableEnd = kFileHeaderBytes + info.HeaderBytes;
  const bool masked = info.Compression != kCompressionRgb;
  if (masked && !ReadMasks(data, size, info, header, tableEnd, error)) return false;
  if (info.BitCount == 8 && !ReadPalette(data, size, info, header, tableEnd, error)) return false;
  header.Width = static_cast<int32_t>(info.Width);
  header.TopDown = info.Height < 0;
  header.Height = static_cast<int32_t>(header.TopDown ? -info.Height : info.Height);
  header.BitCount = static_cast<uint16_t>(info.BitCount);
  header.RowBytes = (static_cast<size_t>(header.Width) * info.BitCount + 31) / 32 * 4;
  header.PixelOffset = Le(data + 10, 4);
  if (header.PixelOffset > size) return Fail(error, "pixel data offset past the end");
  if (header.RowBytes * static_cast<size_t>(header.Height) > size - header.PixelOffset) {
    return Fail(error, "pixel data runs past the end");
  }
  return true;
}

bool DecodeBmp(const uint8_t* data, size_t size, int32_t& width, int32_t& height,
               std::vector<uint32_t>& argb, std::string& error) {
  TBmpHeader header;
  if (!ReadBmpHeader(data, size, header, error)) return false;
  width = header.Width;
  height = header.Height;
  argb.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  for (int32_t y = 0; y < height; ++y) {
    const int32_t stored = header.TopDown ? y : height - 1 - y;
    const uint8_t* row = data + header.PixelOffset + static_cast<size_t>(stored) * header.RowBytes;
    uint32_t* out = argb.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int32_t x = 0; x < width; ++x) out[x] = PixelAt(row, x, header);
  }
  return true;
}

}  // namespace vexel
