#include "ImageFile.h"

#include <png.h>

#include <cstring>
#include <fstream>

namespace platform {
namespace {

// Pixel counts above this are refused before any allocation (a 16384 x 16384 picture).
constexpr uint64_t kMaxPixels = 16384ull * 16384ull;

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, int32_t& width, int32_t& height,
               std::vector<uint32_t>& argb, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    error = image.message;
    return false;
  }
  if (static_cast<uint64_t>(image.width) * image.height > kMaxPixels || image.width == 0 ||
      image.height == 0) {
    png_image_free(&image);
    error = "picture size out of range";
    return false;
  }
  image.format = PNG_FORMAT_BGRA;
  argb.assign(static_cast<size_t>(image.width) * image.height, 0);
  if (!png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr)) {
    error = image.message;
    png_image_free(&image);
    argb.clear();
    return false;
  }
  width = static_cast<int32_t>(image.width);
  height = static_cast<int32_t>(image.height);
  return true;
}

bool EncodePng(int32_t width, int32_t height, const std::vector<uint32_t>& argb,
               std::vector<uint8_t>& out) {
  if (width <= 0 || height <= 0 || argb.size() < static_cast<size_t>(width) * height) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_BGRA;
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, argb.data(), 0, nullptr)) return false;
  out.resize(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, argb.data(), 0, nullptr)) {
    return false;
  }
  out.resize(size);
  return true;
}

bool WritePng(const std::string& path, int32_t width, int32_t height,
              const std::vector<uint32_t>& argb) {
  std::vector<uint8_t> bytes;
  return EncodePng(width, height, argb, bytes) && WriteFile(path, bytes);
}

bool WriteBmp24(const std::string& path, int32_t width, int32_t height,
                const std::vector<uint32_t>& argb) {
  if (width <= 0 || height <= 0 || argb.size() < static_cast<size_t>(width) * height) return false;
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.reserve(54 + imageBytes);
  out.push_back('B');
  out.push_back('M');
  PutLe(out, 54 + imageBytes, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);
  PutLe(out, static_cast<uint32_t>(width), 4);
  PutLe(out, static_cast<uint32_t>(height), 4);
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  PutLe(out, 0, 4);
  PutLe(out, imageBytes, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (int32_t y = height - 1; y >= 0; --y) {
    for (int32_t x = 0; x < width; ++x) PutLe(out, argb[static_cast<size_t>(y) * width + x], 3);
    for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return WriteFile(path, out);
}

}  // namespace platform
