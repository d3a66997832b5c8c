#include "ImageListPicture.h"

#include <algorithm>
#include <cctype>

#include "BmpDecoder.h"
#include "platform/ImageFile.h"

namespace vexel {
namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Signature, IHDR length and type, width and height.
constexpr size_t kPngSizeEnd = 24;

uint32_t Be32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}

bool PngSize(const std::vector<uint8_t>& data, int32_t& width, int32_t& height,
             std::string& error) {
  if (data.size() < kPngSizeEnd ||
      !std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin())) {
    error = "PNG: no PNG signature";
    return false;
  }
  if (Be32(&data[8]) != 13 || std::string(data.begin() + 12, data.begin() + 16) != "IHDR") {
    error = "PNG: the first chunk is not a header";
    return false;
  }
  const uint32_t w = Be32(&data[16]);
  const uint32_t h = Be32(&data[20]);
  if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) {
    error = "PNG: picture size out of range";
    return false;
  }
  width = static_cast<int32_t>(w);
  height = static_cast<int32_t>(h);
  return true;
}

}  // namespace

std::string PictureClassName(TPicture::TKind kind) {
  switch (kind) {
    case TPicture::TKind::Png:
      return "TPNGObject";
    case TPicture::TKind::Bitmap:
      return "TBitmap";
    case TPicture::TKind::None:
      break;
  }
  return "";
}

TPicture::TKind PictureKindOfClass(const std::string& className) {
  if (className == "TPNGObject") return TPicture::TKind::Png;
  if (className == "TBitmap") return TPicture::TKind::Bitmap;
  return TPicture::TKind::None;
}

TPicture::TKind PictureKindOfFileName(const std::string& fileName) {
  const size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos) return TPicture::TKind::None;
  std::string extension = fileName.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "png") return TPicture::TKind::Png;
  if (extension == "bmp") return TPicture::TKind::Bitmap;
  return TPicture::TKind::None;
}

bool PictureSize(const TPicture& picture, int32_t& width, int32_t& height, std::string& error) {
  switch (picture.Kind) {
    case TPicture::TKind::Png:
      return PngSize(picture.Data, width, height, error);
    case TPicture::TKind::Bitmap: {
      TBmpHeader header;
      if (!ReadBmpHeader(picture.Data.data(), picture.Data.size(), header, error)) return false;
      width = header.Width;
      height = header.Height;
      return true;
    }
    case TPicture::TKind::None:
      break;
  }
  error = "no picture";
  return false;
}

bool DecodePicture(const TPicture& picture, int32_t& width, int32_t& height,
                   std::vector<uint32_t>& argb, std::string& error) {
  switch (picture.Kind) {
    case TPicture::TKind::Png:
      if (platform::DecodePng(picture.Data.data(), picture.Data.size(), width, height, argb,
                              error)) {
        return true;
      }
      error = "PNG: " + error;
      return false;
    case TPicture::TKind::Bitmap:
      return DecodeBmp(picture.Data.data(), picture.Data.size(), width, height, argb, error);
    case TPicture::TKind::None:
      break;
  }
  error = "no picture";
  return false;
}

}  // namespace vexel
