#include "ImageListTestSupport.h"

#include <algorithm>

#include "platform/ImageFile.h"

namespace imagelisttest {
namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

vexel::TPicture PngPicture(int32_t width, int32_t height, const std::vector<uint32_t>& argb) {
  vexel::TPicture picture;
  picture.Kind = vexel::TPicture::TKind::Png;
  EXPECT_TRUE(platform::EncodePng(width, height, argb, picture.Data));
  return picture;
}

vexel::TPicture SolidPng(int32_t width, int32_t height, uint32_t argb) {
  return PngPicture(width, height,
                    std::vector<uint32_t>(static_cast<size_t>(width * height), argb));
}

std::vector<uint8_t> BmpFile(int32_t width, int32_t height, int bitCount,
                             const std::vector<uint32_t>& argb, bool topDown) {
  std::vector<uint32_t> palette;
  if (bitCount == 8) {
    for (uint32_t pixel : argb) {
      if (std::find(palette.begin(), palette.end(), pixel) == palette.end())
        palette.push_back(pixel);
    }
  }
  const auto rowBytes = static_cast<uint32_t>((width * bitCount + 31) / 32 * 4);
  const uint32_t pixelOffset = 54 + static_cast<uint32_t>(palette.size()) * 4;
  std::vector<uint8_t> out{'B', 'M'};
  PutLe(out, pixelOffset + rowBytes * static_cast<uint32_t>(height), 4);
  PutLe(out, 0, 4);
  PutLe(out, pixelOffset, 4);
  PutLe(out, 40, 4);
  PutLe(out, static_cast<uint32_t>(width), 4);
  PutLe(out, static_cast<uint32_t>(topDown ? -height : height), 4);
  PutLe(out, 1, 2);
  PutLe(out, static_cast<uint32_t>(bitCount), 2);
  PutLe(out, 0, 4);
  PutLe(out, rowBytes * static_cast<uint32_t>(height), 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2835, 4);
  PutLe(out, static_cast<uint32_t>(palette.size()), 4);
  PutLe(out, 0, 4);
  for (uint32_t colour : palette) PutLe(out, colour & 0xFFFFFF, 4);
  for (int32_t row = 0; row < height; ++row) {
    const int32_t y = topDown ? row : height - 1 - row;
    const size_t start = out.size();
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t pixel = argb[static_cast<size_t>(y * width + x)];
      if (bitCount == 8) {
        const auto index = std::find(palette.begin(), palette.end(), pixel) - palette.begin();
        out.push_back(static_cast<uint8_t>(index));
      } else {
        PutLe(out, pixel, bitCount / 8);
      }
    }
    out.resize(start + rowBytes, 0);
  }
  return out;
}

TStreamBuilder TStreamBuilder::WithHeader(const std::string& name) {
  TStreamBuilder builder;
  builder.Byte(0xFF).Byte(10).Byte(0);
  for (char c : name) builder.Byte(static_cast<uint8_t>(c));
  builder.Byte(0).Byte(0x30).Byte(0x10).U32(0);
  return builder.Raw({'T', 'P', 'F', '0'});
}

TStreamBuilder& TStreamBuilder::Raw(const std::vector<uint8_t>& bytes) {
  Bytes_.insert(Bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

TStreamBuilder& TStreamBuilder::Byte(uint8_t value) {
  Bytes_.push_back(value);
  return *this;
}

TStreamBuilder& TStreamBuilder::U32(uint32_t value) {
  PutLe(Bytes_, value, 4);
  return *this;
}

TStreamBuilder& TStreamBuilder::Short(const std::string& text) {
  Byte(static_cast<uint8_t>(text.size()));
  return Raw({text.begin(), text.end()});
}

TStreamBuilder& TStreamBuilder::Root() {
  return Short("TImageListCollectionComponent").Short("Root");
}

TStreamBuilder& TStreamBuilder::Integer(uint8_t type, int32_t value) {
  Byte(type);
  PutLe(Bytes_, static_cast<uint32_t>(value), type == 2 ? 1 : type == 3 ? 2 : 4);
  return *this;
}

TStreamBuilder& TStreamBuilder::String(const std::string& text) {
  return Byte(6).Short(text);
}

TStreamBuilder& TStreamBuilder::LongString(const std::string& text) {
  Byte(12).U32(static_cast<uint32_t>(text.size()));
  return Raw({text.begin(), text.end()});
}

TStreamBuilder& TStreamBuilder::WideString(const std::u16string& text) {
  Byte(18).U32(static_cast<uint32_t>(text.size()));
  for (char16_t unit : text) PutLe(Bytes_, unit, 2);
  return *this;
}

TStreamBuilder& TStreamBuilder::Utf8String(const std::string& utf8) {
  Byte(20).U32(static_cast<uint32_t>(utf8.size()));
  return Raw({utf8.begin(), utf8.end()});
}

TStreamBuilder& TStreamBuilder::Ident(const std::string& name) {
  return Byte(7).Short(name);
}

TStreamBuilder& TStreamBuilder::Boolean(bool value) {
  return Byte(value ? 9 : 8);
}

TStreamBuilder& TStreamBuilder::PictureData(const vexel::TPicture& picture) {
  std::vector<uint8_t> data;
  const std::string name = vexel::PictureClassName(picture.Kind);
  data.push_back(static_cast<uint8_t>(name.size()));
  data.insert(data.end(), name.begin(), name.end());
  if (picture.Kind == vexel::TPicture::TKind::Bitmap) {
    PutLe(data, static_cast<uint32_t>(picture.Data.size()), 4);
  }
  data.insert(data.end(), picture.Data.begin(), picture.Data.end());
  Byte(10).U32(static_cast<uint32_t>(data.size()));
  return Raw(data);
}

}  // namespace imagelisttest
