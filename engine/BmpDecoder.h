#pragma once
// BMP files: 8-bit palette, 24-bit and 32-bit pictures, uncompressed or with bit-field masks.
// Every length and offset is checked against the bytes at hand before it is used.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vexel {

/// What the headers of a BMP file say, already checked against the file's length.
struct TBmpHeader {
  int32_t Width = 0;
  int32_t Height = 0;
  bool TopDown = false;
  uint16_t BitCount = 0;
  size_t PixelOffset = 0;
  size_t RowBytes = 0;
  /// Red, green, blue and alpha masks of 32-bit pictures (alpha 0: the picture is opaque).
  std::array<uint32_t, 4> Masks{0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0};
  /// The colours of an 8-bit picture as 0xAARRGGBB, opaque.
  std::vector<uint32_t> Palette;
};

/// Reads and checks the headers of a BMP file held in memory; false (with a reason) when they
/// are damaged, describe an unsupported kind, or promise more pixel data than the file holds.
bool ReadBmpHeader(const uint8_t* data, size_t size, TBmpHeader& header, std::string& error);

/// Decodes a BMP file held in memory into 0xAARRGGBB pixels, top row first; false (with a
/// reason) on bad data. Palette indices past the palette give opaque black.
bool DecodeBmp(const uint8_t* data, size_t size, int32_t& width, int32_t& height,
               std::vector<uint32_t>& argb, std::string& error);

}  // namespace vexel
