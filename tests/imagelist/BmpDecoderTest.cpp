// BMP decoding: 8, 24 and 32 bits, row order and padding, bit-field masks, and damaged headers
// that must be refused without reading past the data.

#include <gtest/gtest.h>

#include "ImageListTestSupport.h"
#include "engine/BmpDecoder.h"

namespace {

using imagelisttest::BmpFile;

// A 3 x 2 picture: odd width, so 8- and 24-bit rows carry padding.
const std::vector<uint32_t> kPixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                       0xFF123456, 0xFFFFFFFF, 0xFF000000};

std::vector<uint32_t> Decode(const std::vector<uint8_t>& file, int32_t& width, int32_t& height) {
  std::vector<uint32_t> argb;
  std::string error;
  EXPECT_TRUE(vexel::DecodeBmp(file.data(), file.size(), width, height, argb, error)) << error;
  return argb;
}

void PutLe(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

class BmpDepthTest : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(BmpDepthTest, DecodesEveryPixelTopRowFirst) {
  const auto [bitCount, topDown] = GetParam();
  int32_t width = 0;
  int32_t height = 0;
  const auto argb = Decode(BmpFile(3, 2, bitCount, kPixels, topDown), width, height);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(argb, kPixels);
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpDepthTest,
                         ::testing::Combine(::testing::Values(8, 24, 32), ::testing::Bool()));

TEST(BmpDecoder, PlainThirtyTwoBitPicturesAreOpaqueWhateverTheFourthByte) {
  auto file = BmpFile(1, 1, 32, {0x00ABCDEF});
  int32_t width = 0;
  int32_t height = 0;
  EXPECT_EQ(Decode(file, width, height), std::vector<uint32_t>{0xFFABCDEF});
}

TEST(BmpDecoder, BitFieldMasksAfterTheHeaderAndAlphaInAVersion3Header) {
  // 40-byte header with three masks after it: blue in the top byte, red in the low byte.
  auto file = BmpFile(1, 1, 32, {0});
  PutLe(file, 30, 3, 4);
  std::vector<uint8_t> masks(12);
  PutLe(masks, 0, 0x000000FF, 4);
  PutLe(masks, 4, 0x0000FF00, 4);
  PutLe(masks, 8, 0xFF000000, 4);
  file.insert(file.begin() + 54, masks.begin(), masks.end());
  PutLe(file, 10, 66, 4);
  PutLe(file, 66, 0xC0123456, 4);
  int32_t width = 0;
  int32_t height = 0;
  EXPECT_EQ(Decode(file, width, height), std::vector<uint32_t>{0xFF5634C0});

  // 56-byte header whose masks include alpha.
  auto v3 = BmpFile(1, 1, 32, {0});
  v3.insert(v3.begin() + 54, 16, 0);
  PutLe(v3, 14, 56, 4);
  PutLe(v3, 30, 3, 4);
  PutLe(v3, 54, 0x00FF0000, 4);
  PutLe(v3, 58, 0x0000FF00, 4);
  PutLe(v3, 62, 0x000000FF, 4);
  PutLe(v3, 66, 0xFF000000, 4);
  PutLe(v3, 10, 70, 4);
  PutLe(v3, 70, 0x80102030, 4);
  EXPECT_EQ(Decode(v3, width, height), std::vector<uint32_t>{0x80102030});
}

TEST(BmpDecoder, CoreHeaderWithThreeBytePaletteAndIndicesPastThePalette) {
  // 12-byte header, 2 x 1 pixels, 8 bits, 256 palette entries of 3 bytes (only entry 0 red).
  std::vector<uint8_t> file(14 + 12 + 256 * 3 + 4, 0);
  file[0] = 'B';
  file[1] = 'M';
  PutLe(file, 10, 14 + 12 + 256 * 3, 4);
  PutLe(file, 14, 12, 4);
  PutLe(file, 18, 2, 2);
  PutLe(file, 20, 1, 2);
  PutLe(file, 22, 1, 2);
  PutLe(file, 24, 8, 2);
  PutLe(file, 26, 0xFF0000, 3);
  file[14 + 12 + 256 * 3] = 0;
  file[14 + 12 + 256 * 3 + 1] = 1;
  int32_t width = 0;
  int32_t height = 0;
  EXPECT_EQ(Decode(file, width, height), (std::vector<uint32_t>{0xFFFF0000, 0xFF000000}));

  // A 40-byte header with a 2-colour palette: index 5 is past it and reads as black.
  auto small = BmpFile(2, 1, 8, {0xFF00FF00, 0xFF0000FF});
  small[small.size() - 4 + 1] = 5;
  EXPECT_EQ(Decode(small, width, height), (std::vector<uint32_t>{0xFF00FF00, 0xFF000000}));
}

struct TDamage {
  const char* Name;
  size_t At;
  uint32_t Value;
  int Bytes;
  const char* Reason;
};

class BmpDamageTest : public ::testing::TestWithParam<TDamage> {};

TEST_P(BmpDamageTest, IsRefusedWithAReason) {
  const TDamage& damage = GetParam();
  auto file = BmpFile(3, 2, 8, kPixels);
  PutLe(file, damage.At, damage.Value, damage.Bytes);
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> argb;
  std::string error;
  EXPECT_FALSE(vexel::DecodeBmp(file.data(), file.size(), width, height, argb, error));
  EXPECT_NE(error.find(damage.Reason), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, BmpDamageTest,
    ::testing::Values(TDamage{"Signature", 0, 'X', 1, "signature"},
                      TDamage{"HeaderSize", 14, 20, 4, "header size"},
                      TDamage{"HugeHeaderSize", 14, 0xFFFFFFF0, 4, "past the end"},
                      TDamage{"Planes", 26, 2, 2, "plane"},
                      TDamage{"Depth16", 28, 16, 2, "bit depth"},
                      TDamage{"Rle8", 30, 1, 4, "compression"},
                      TDamage{"ZeroWidth", 18, 0, 4, "size out of range"},
                      TDamage{"HugeWidth", 18, 100000, 4, "size out of range"},
                      TDamage{"NegativeWidth", 18, 0x80000000, 4, "size out of range"},
                      TDamage{"LowestHeight", 22, 0x80000000, 4, "size out of range"},
                      TDamage{"TallPicture", 22, 5000, 4, "pixel data runs past"},
                      TDamage{"PixelOffset", 10, 0xFFFFFFFF, 4, "offset past the end"},
                      TDamage{"PixelOffsetNearEnd", 10, 80, 4, "pixel data runs past"},
                      TDamage{"PaletteOf300", 46, 300, 4, "more than 256"},
                      TDamage{"PaletteOf200", 46, 200, 4, "palette runs past"}),
    [](const auto& test) { return std::string(test.param.Name); });

TEST(BmpDecoder, EveryTruncationIsRefused) {
  const auto file = BmpFile(3, 2, 24, kPixels);
  for (size_t size = 0; size < file.size(); ++size) {
    const std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> argb;
    std::string error;
    EXPECT_FALSE(vexel::DecodeBmp(cut.data(), cut.size(), width, height, argb, error)) << size;
    EXPECT_FALSE(error.empty());
  }
}

TEST(BmpDecoder, MaskedHeadersTooShortForTheirMasksAreRefused) {
  auto file = BmpFile(1, 1, 32, {0});
  PutLe(file, 30, 3, 4);  // bit fields promised, but the masks would overlap the pixel data end
  file.resize(58);
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> argb;
  std::string error;
  EXPECT_FALSE(vexel::DecodeBmp(file.data(), file.size(), width, height, argb, error));
  EXPECT_NE(error.find("masks"), std::string::npos) << error;
}

}  // namespace
