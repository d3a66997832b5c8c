#pragma once
// Pictures and hand-built component streams for the image-list tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ImageListPicture.h"

namespace imagelisttest {

/// What a damaged image-list stream shows (caption, then text), as written to standard error.
inline constexpr char kStreamMessage[] =
    "[Error!] The stream could not be loaded, either it is corrupt or encrypted!";

/// A PNG picture of 0xAARRGGBB pixels, top row first.
vexel::TPicture PngPicture(int32_t width, int32_t height, const std::vector<uint32_t>& argb);

/// A width x height PNG picture of one colour.
vexel::TPicture SolidPng(int32_t width, int32_t height, uint32_t argb = 0xFFFFFFFF);

/// An uncompressed BMP file of 8, 24 or 32 bits (8 bits: a palette of the distinct colours),
/// rows stored bottom-up unless topDown.
std::vector<uint8_t> BmpFile(int32_t width, int32_t height, int bitCount,
                             const std::vector<uint32_t>& argb, bool topDown = false);

/// Builds component-stream bytes value by value, for streams the writer never makes.
class TStreamBuilder {
 public:
  /// Starts with a resource header naming Name and the "TPF0" signature.
  static TStreamBuilder WithHeader(const std::string& name = "X");

  /// Appends raw bytes.
  TStreamBuilder& Raw(const std::vector<uint8_t>& bytes);
  /// Appends one byte.
  TStreamBuilder& Byte(uint8_t value);
  /// Appends a 32-bit little-endian value.
  TStreamBuilder& U32(uint32_t value);
  /// Appends a length-prefixed short string (no type byte).
  TStreamBuilder& Short(const std::string& text);
  /// Appends a property name.
  TStreamBuilder& Property(const std::string& name) { return Short(name); }
  /// Root class and object names (after any prefix).
  TStreamBuilder& Root();
  /// An integer value of the given type (2, 3 or 4).
  TStreamBuilder& Integer(uint8_t type, int32_t value);
  /// A string value of type 6.
  TStreamBuilder& String(const std::string& text);
  /// A long string value of type 12.
  TStreamBuilder& LongString(const std::string& text);
  /// A wide string value of type 18 from UTF-16 units.
  TStreamBuilder& WideString(const std::u16string& text);
  /// A UTF-8 string value of type 20.
  TStreamBuilder& Utf8String(const std::string& utf8);
  /// An identifier value of type 7.
  TStreamBuilder& Ident(const std::string& name);
  /// A boolean value (types 8, 9).
  TStreamBuilder& Boolean(bool value);
  /// A Picture.Data binary value holding the picture under its kind's class name.
  TStreamBuilder& PictureData(const vexel::TPicture& picture);
  /// The bytes so far.
  const std::vector<uint8_t>& Bytes() const { return Bytes_; }

 private:
  std::vector<uint8_t> Bytes_;
};

/// Text written to standard error while Work runs (headless message boxes land there).
template <typename TWork>
std::string StderrOf(TWork&& work) {
  ::testing::internal::CaptureStderr();
  work();
  return ::testing::internal::GetCapturedStderr();
}

}  // namespace imagelisttest
