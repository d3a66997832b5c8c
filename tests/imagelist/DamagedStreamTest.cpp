// Damaged image-list data: truncations at every offset, lying and huge length fields, unknown
// names and types. Loading never reads out of bounds or allocates absurd amounts, shows the
// stream message, says why, and keeps the entries read before the error.

#include <gtest/gtest.h>

#include "ImageListTestSupport.h"
#include "engine/ImageListFile.h"
#include "engine/VexelImageList.h"

namespace {

using imagelisttest::BmpFile;
using imagelisttest::kStreamMessage;
using imagelisttest::SolidPng;
using imagelisttest::StderrOf;
using imagelisttest::TStreamBuilder;

std::vector<vexel::TImageListFileEntry> TwoEntries() {
  vexel::TImageListFileEntry first;
  first.Name = "first";
  first.Picture = SolidPng(20, 10, 0xFF112233);
  first.TileWidth = 10;
  first.TileHeight = 10;
  first.TransparentColorName = "clFuchsia";
  first.Transparent = true;
  vexel::TImageListFileEntry second;
  second.Name = "second";
  second.Picture.Kind = vexel::TPicture::TKind::Bitmap;
  second.Picture.Data = BmpFile(3, 2, 8, std::vector<uint32_t>(6, 0xFF445566));
  second.TileWidth = 3;
  second.TileHeight = 2;
  second.Filepath = "x.bmp";
  return {first, second};
}

void ExpectFirstEntryIntact(const vexel::TImageListCollection& list) {
  ASSERT_GE(list.Count(), 1);
  const auto& item = *list.Items(0);
  const auto first = TwoEntries()[0];
  EXPECT_EQ(item.Name, first.Name);
  EXPECT_EQ(item.Picture.Data, first.Picture.Data);
  EXPECT_EQ(item.TileWidth, 10);
  EXPECT_EQ(item.TileHeight, 10);
  EXPECT_EQ(item.TransparentColor, 0xFF00FFu);
  EXPECT_TRUE(item.Transparent);
}

// Loads bytes that must fail; returns the reason.
std::string LoadBad(vexel::TImageListCollection& list, const std::vector<uint8_t>& bytes) {
  bool loaded = true;
  const std::string messages = StderrOf([&] { loaded = list.LoadFromStream(bytes); });
  EXPECT_FALSE(loaded);
  EXPECT_NE(messages.find(kStreamMessage), std::string::npos) << messages;
  EXPECT_FALSE(list.LoadError().empty());
  return list.LoadError();
}

TEST(DamagedStream, EveryTruncationFailsAndKeepsTheEntriesReadBeforeIt) {
  const auto bytes = vexel::WriteImageListFile(TwoEntries());
  // The one-entry file differs only in its size field and the second item.
  const size_t firstItemEnd = vexel::WriteImageListFile({TwoEntries()[0]}).size() - 3;
  for (size_t size = 0; size < bytes.size(); ++size) {
    SCOPED_TRACE("truncated to " + std::to_string(size) + " bytes");
    vexel::TImageListCollection list;
    LoadBad(list, {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)});
    EXPECT_LE(list.Count(), 2);
    if (size >= firstItemEnd) ExpectFirstEntryIntact(list);
  }
}

TEST(DamagedStream, EveryByteOverwrittenNeverReadsOutOfBounds) {
  const auto bytes = vexel::WriteImageListFile(TwoEntries());
  for (size_t at = 0; at < bytes.size(); ++at) {
    for (const uint8_t value : std::vector<uint8_t>{0x00, 0x01, 0x7F, 0x80, 0xFF}) {
      auto damaged = bytes;
      damaged[at] = value;
      vexel::TImageListCollection list;
      bool loaded = false;
      StderrOf([&] { loaded = list.LoadFromStream(damaged); });
      // A closing byte turned into a list start begins one more entry.
      EXPECT_LE(list.Count(), 3);
      EXPECT_EQ(loaded, list.LoadError().empty()) << at;
    }
  }
}

// A stream whose first entry is good and whose second is damaged by Damage.
struct TDamageCase {
  const char* Name;
  std::function<void(TStreamBuilder&)> Damage;
  int32_t Entries;
  const char* Reason;
};

TStreamBuilder FirstEntryThenSecondStarted() {
  auto builder = TStreamBuilder::WithHeader().Root().Property("List").Byte(14).Byte(1);
  const auto first = TwoEntries()[0];
  builder.Property("Name").String(first.Name);
  builder.Property("Picture.Data").PictureData(first.Picture);
  builder.Property("TileHeight").Integer(2, 10).Property("TileWidth").Integer(2, 10);
  builder.Property("TransparentColor").Ident("clFuchsia");
  builder.Property("Transparent").Boolean(true).Byte(0);
  return builder.Byte(1).Property("Name").String("second");
}

class DamageTest : public ::testing::TestWithParam<TDamageCase> {};

TEST_P(DamageTest, FailsWithAReasonAndKeepsTheFirstEntry) {
  auto builder = FirstEntryThenSecondStarted();
  GetParam().Damage(builder);
  vexel::TImageListCollection list;
  const std::string reason = LoadBad(list, builder.Bytes());
  EXPECT_NE(reason.find(GetParam().Reason), std::string::npos) << reason;
  EXPECT_EQ(list.Count(), GetParam().Entries);
  ExpectFirstEntryIntact(list);
  if (list.Count() == 2) {
    EXPECT_EQ(list.Items(1)->Name, "second");
  }
}

std::vector<uint8_t> Filler(size_t count) {
  return std::vector<uint8_t>(count, 0x41);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, DamageTest,
    ::testing::Values(
        TDamageCase{
            "PictureLengthHuge",
            [](auto& b) { b.Property("Picture.Data").Byte(10).U32(0xFFFFFFFF).Raw(Filler(40)); }, 2,
            "picture data of 4294967295"},
        TDamageCase{"PictureLengthOnePastTheEnd",
                    // 13 bytes follow the length.
                    [](auto& b) {
                      b.Property("Picture.Data").Byte(10).U32(14).Short("TBitmap").U32(0).Byte(0);
                    },
                    2, "picture data of 14 units runs past the end"},
        TDamageCase{
            "BitmapCountHuge",
            [](auto& b) {
              b.Property("Picture.Data").Byte(10).U32(8 + 4 + 4).Short("TBitmap").U32(0x7FFFFFFF);
              b.Raw(Filler(10));
            },
            2, "bitmap of 2147483647 bytes"},
        TDamageCase{"BitmapCountMissing",
                    [](auto& b) {
                      b.Property("Picture.Data").Byte(10).U32(8).Short("TBitmap").Raw(Filler(10));
                    },
                    2, "bitmap byte count"},
        TDamageCase{
            "ClassNameLongerThanTheValue",
            [](auto& b) {
              b.Property("Picture.Data").Byte(10).U32(2).Short("TPNGObject").Raw(Filler(10));
            },
            2, "picture kind name runs past"},
        TDamageCase{"UnknownPictureKind",
                    [](auto& b) {
                      b.Property("Picture.Data").Byte(10).U32(11).Short("TJPEGImage").Byte(0);
                    },
                    2, "unknown picture kind \"TJPEGImage\""},
        TDamageCase{
            "PngWithoutSignature",
            [](auto& b) {
              b.Property("Picture.Data").Byte(10).U32(11 + 30).Short("TPNGObject").Raw(Filler(30));
            },
            2, "PNG: no PNG signature"},
        TDamageCase{"BitmapWithBadHeader",
                    [](auto& b) {
                      b.Property("Picture.Data")
                          .Byte(10)
                          .U32(8 + 4 + 30)
                          .Short("TBitmap")
                          .U32(30)
                          .Raw(Filler(30));
                    },
                    2, "BMP: no \"BM\" signature"},
        TDamageCase{
            "LongStringHuge",
            [](auto& b) { b.Property("Filepath").Byte(12).U32(0x80000000).Raw(Filler(20)); }, 2,
            "long string of 2147483648"},
        TDamageCase{
            "WideStringHuge",
            [](auto& b) { b.Property("Filepath").Byte(18).U32(0x7FFFFFFF).Raw(Filler(20)); }, 2,
            "wide string of 2147483647"},
        TDamageCase{"WideStringOddHalf",
                    [](auto& b) { b.Property("Filepath").Byte(18).U32(3).Raw(Filler(5)); }, 2,
                    "wide string of 3"},
        TDamageCase{
            "Utf8StringHuge",
            [](auto& b) { b.Property("Filepath").Byte(20).U32(0xFFFFFFF0).Raw(Filler(20)); }, 2,
            "UTF-8 string of 4294967280"},
        TDamageCase{"PropertyNamePastTheEnd", [](auto& b) { b.Byte(200).Raw(Filler(5)); }, 2,
                    "needs 200 bytes, 5 left"},
        TDamageCase{"ShortStringValuePastTheEnd",
                    [](auto& b) { b.Property("Filepath").Byte(6).Byte(255).Raw(Filler(3)); }, 2,
                    "needs 255 bytes, 3 left"},
        TDamageCase{"UnsupportedValueType",
                    [](auto& b) { b.Property("TileWidth").Byte(5).Raw(Filler(10)); }, 2,
                    "TileWidth needs an integer, not value type 5"},
        TDamageCase{"StringForAnInteger", [](auto& b) { b.Property("TileHeight").String("12"); }, 2,
                    "TileHeight needs an integer"},
        TDamageCase{"IntegerForAString", [](auto& b) { b.Property("Name").Integer(2, 1); }, 2,
                    "Name needs a string"},
        TDamageCase{"IntegerForABoolean", [](auto& b) { b.Property("Transparent").Integer(2, 1); },
                    2, "Transparent needs a boolean"},
        TDamageCase{"ListForPicture", [](auto& b) { b.Property("Picture.Data").Byte(1).Byte(0); },
                    2, "Picture.Data needs binary data"},
        TDamageCase{"UnknownProperty", [](auto& b) { b.Property("Hint").String("x"); }, 2,
                    "unknown entry property \"Hint\""},
        TDamageCase{"UnknownColourName",
                    [](auto& b) { b.Property("TransparentColor").Ident("clPink"); }, 2,
                    "unknown colour name \"clPink\""},
        TDamageCase{"ItemWithoutListStart",
                    [](auto& b) { b.Byte(0).Byte(6).Short("x").Byte(0).Byte(0).Byte(0); }, 3,
                    "does not start with a list"},
        TDamageCase{
            "ChildObject",
            [](auto& b) { b.Byte(0).Byte(0).Byte(0).Short("TPanel").Short("Panel1").Byte(0); }, 2,
            "unexpected child object"},
        TDamageCase{"UnknownRootProperty",
                    [](auto& b) { b.Byte(0).Byte(0).Property("Items").Byte(14).Byte(0).Byte(0); },
                    2, "unknown property \"Items\""},
        TDamageCase{"EndsInsideTheItem", [](auto&) {}, 2, "needs 1 bytes, 0 left"}),
    [](const auto& test) { return std::string(test.param.Name); });

TEST(DamagedStream, TinyAndEmptyInputsAreRefused) {
  for (const auto& bytes : std::vector<std::vector<uint8_t>>{
           {}, {0xFF}, {0xFF, 10}, {0xFF, 10, 0}, {0xFF, 10, 0, 'N', 0, 0, 0, 0, 0, 0}}) {
    vexel::TImageListCollection list;
    LoadBad(list, bytes);
    EXPECT_EQ(list.Count(), 0);
  }
}

}  // namespace
