#pragma once
// The encoded pictures image-list entries hold, and what can be learnt from them: their size
// from the header alone, and their pixels.

#include <cstdint>
#include <string>
#include <vector>

namespace vexel {

/// The encoded picture of an entry: the bytes of a PNG file or of a BMP file, as stored.
struct TPicture {
  enum class TKind { None, Png, Bitmap };
  TKind Kind = TKind::None;
  std::vector<uint8_t> Data;
  /// Whether the picture holds an image.
  bool Empty() const { return Kind == TKind::None || Data.empty(); }
};

/// The class name a picture kind is stored under ("TPNGObject", "TBitmap"); empty for None.
std::string PictureClassName(TPicture::TKind kind);

/// The picture kind stored under a class name; None for an unknown name.
TPicture::TKind PictureKindOfClass(const std::string& className);

/// The picture kind a file name's extension stands for (".png", ".bmp", any case); None otherwise.
TPicture::TKind PictureKindOfFileName(const std::string& fileName);

/// Reads a picture's width and height from its header; false (with a reason) when the header
/// is not a readable PNG or BMP header.
bool PictureSize(const TPicture& picture, int32_t& width, int32_t& height, std::string& error);

/// Decodes a picture into 0xAARRGGBB pixels, top row first; false (with a reason) on bad data.
bool DecodePicture(const TPicture& picture, int32_t& width, int32_t& height,
                   std::vector<uint32_t>& argb, std::string& error);

}  // namespace vexel
