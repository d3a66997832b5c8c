#pragma once
// PNG and BMP files of 32-bit ARGB pixels.

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

/// Decodes a PNG file held in memory into 0xAARRGGBB pixels, top row first; false (with a
/// reason in error) when the data is not a readable PNG.
bool DecodePng(const uint8_t* data, size_t size, int32_t& width, int32_t& height,
               std::vector<uint32_t>& argb, std::string& error);

/// Encodes 0xAARRGGBB pixels (top row first) as a PNG file in memory.
bool EncodePng(int32_t width, int32_t height, const std::vector<uint32_t>& argb,
               std::vector<uint8_t>& out);

/// Writes 0xAARRGGBB pixels (top row first) to a PNG file.
bool WritePng(const std::string& path, int32_t width, int32_t height,
              const std::vector<uint32_t>& argb);

/// Writes 0xAARRGGBB pixels (top row first) to a 24-bit BMP file.
bool WriteBmp24(const std::string& path, int32_t width, int32_t height,
                const std::vector<uint32_t>& argb);

}  // namespace platform
