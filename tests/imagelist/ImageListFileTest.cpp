// Image-list files: the writer's layout, round trips through writer and reader, every value
// type the reader accepts (hand-built where the writer never writes it), and the load rules.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ImageListTestSupport.h"
#include "engine/ImageListFile.h"
#include "engine/VexelImageList.h"

namespace {

using imagelisttest::BmpFile;
using imagelisttest::kStreamMessage;
using imagelisttest::SolidPng;
using imagelisttest::StderrOf;
using imagelisttest::TStreamBuilder;

constexpr char kFileMessage[] = "Cannot be loaded - file error or file encrypted!";

vexel::TPicture BmpPicture() {
  vexel::TPicture picture;
  picture.Kind = vexel::TPicture::TKind::Bitmap;
  picture.Data = BmpFile(3, 2, 24, std::vector<uint32_t>(6, 0xFF00FF00));
  return picture;
}

std::vector<vexel::TImageListFileEntry> SampleEntries() {
  vexel::TImageListFileEntry png;
  png.Name = "font";
  png.Picture = SolidPng(100, 60);
  png.TileWidth = 10;
  png.TileHeight = 300;
  png.TransparentColor = 0xFF00FF;
  png.TransparentColorName = "clFuchsia";
  png.Transparent = true;
  vexel::TImageListFileEntry bmp;
  bmp.Name = std::string(300, 'n');
  bmp.Picture = BmpPicture();
  bmp.TileWidth = 70000;
  bmp.TileHeight = -2;
  bmp.TransparentColor = 0xFF00000F;
  bmp.Filepath = "pics\\car.bmp";
  return {png, bmp};
}

bool Load(vexel::TImageListCollection& list, const std::vector<uint8_t>& bytes) {
  bool loaded = false;
  const std::string messages = StderrOf([&] { loaded = list.LoadFromStream(bytes); });
  EXPECT_EQ(messages.empty(), loaded) << messages;
  return loaded;
}

TEST(ImageListFile, WriterLaysOutHeaderSignatureRootAndClosingBytes) {
  const auto bytes = vexel::WriteImageListFile(SampleEntries());
  const std::string name = "TIMAGELISTCOLLECTIONCOMPONENT";
  ASSERT_GT(bytes.size(), name.size() + 20);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 10);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(std::string(bytes.begin() + 3, bytes.begin() + 3 + static_cast<long>(name.size())),
            name);
  const size_t stream = name.size() + 10;
  EXPECT_EQ(bytes[3 + name.size()], 0);
  const uint32_t size = bytes[stream - 4] | bytes[stream - 3] << 8 | bytes[stream - 2] << 16 |
                        static_cast<uint32_t>(bytes[stream - 1]) << 24;
  EXPECT_EQ(size, bytes.size() - stream);
  EXPECT_EQ(std::string(bytes.begin() + static_cast<long>(stream),
                        bytes.begin() + static_cast<long>(stream) + 4),
            "TPF0");
  const std::string root = "\x1dTImageListCollectionComponent";
  EXPECT_EQ(std::string(bytes.begin() + static_cast<long>(stream) + 4,
                        bytes.begin() + static_cast<long>(stream + 4 + root.size())),
            root);
  // Item end, collection end, end of the root's properties, end of its children.
  EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 4, bytes.end()), std::vector<uint8_t>(4, 0));
}

TEST(ImageListFile, RoundTripKeepsEveryFieldOfPngAndBitmapEntries) {
  const auto entries = SampleEntries();
  vexel::TImageListCollection list;
  ASSERT_TRUE(Load(list, vexel::WriteImageListFile(entries)));
  ASSERT_EQ(list.Count(), 2);
  for (int32_t i = 0; i < 2; ++i) {
    const auto& item = *list.Items(i);
    const auto& entry = entries[static_cast<size_t>(i)];
    EXPECT_EQ(item.Name, entry.Name);
    EXPECT_EQ(item.Picture.Kind, entry.Picture.Kind);
    EXPECT_EQ(item.Picture.Data, entry.Picture.Data);
    EXPECT_EQ(item.TileWidth, entry.TileWidth);
    EXPECT_EQ(item.TileHeight, entry.TileHeight);
    EXPECT_EQ(item.TransparentColor, entry.TransparentColor);
    EXPECT_EQ(item.Transparent, entry.Transparent);
    EXPECT_EQ(item.Filepath, entry.Filepath.value_or(""));
    // The picture is filled directly: its size is known only once the list is prepared.
    EXPECT_EQ(item.ImageWidth, 0);
    EXPECT_EQ(item.ImageHeight, 0);
    EXPECT_EQ(item.Texture, nullptr);
  }
  EXPECT_TRUE(list.LoadError().empty());
}

TEST(ImageListFile, WriterOutputIsReproducible) {
  EXPECT_EQ(vexel::WriteImageListFile(SampleEntries()), vexel::WriteImageListFile(SampleEntries()));
}

// One entry property given as hand-built value bytes, and what the entry holds afterwards.
struct TValueCase {
  const char* Name;
  std::function<void(TStreamBuilder&)> Value;
  std::function<void(const vexel::TImageListItem&)> Check;
};

class ValueTypeTest : public ::testing::TestWithParam<TValueCase> {};

TEST_P(ValueTypeTest, IsReadIntoTheEntry) {
  auto builder = TStreamBuilder::WithHeader().Root().Property("List").Byte(14).Byte(1);
  GetParam().Value(builder);
  builder.Byte(0).Byte(0).Byte(0).Byte(0);
  vexel::TImageListCollection list;
  ASSERT_TRUE(Load(list, builder.Bytes())) << list.LoadError();
  ASSERT_EQ(list.Count(), 1);
  GetParam().Check(*list.Items(0));
}

INSTANTIATE_TEST_SUITE_P(
    AllTypes, ValueTypeTest,
    ::testing::Values(
        TValueCase{"String6", [](auto& b) { b.Property("Name").String("car1"); },
                   [](const auto& i) { EXPECT_EQ(i.Name, "car1"); }},
        TValueCase{"LongString12", [](auto& b) { b.Property("Name").LongString("b_go"); },
                   [](const auto& i) { EXPECT_EQ(i.Name, "b_go"); }},
        TValueCase{
            "WideString18",
            [](auto& b) { b.Property("Name").WideString(u"\u041f\u0440\u0438x\u20ac\U0001F600"); },
            // Cyrillic and the euro sign exist in code page 1251; the emoji's two
            // surrogate halves do not.
            [](const auto& i) { EXPECT_EQ(i.Name, "\xCF\xF0\xE8x\x88??"); }},
        TValueCase{"Utf8String20",
                   [](auto& b) { b.Property("Filepath").Utf8String("\xD0\x9F\xD0\xB8.png"); },
                   [](const auto& i) { EXPECT_EQ(i.Filepath, "\xCF\xE8.png"); }},
        TValueCase{"Int8Negative", [](auto& b) { b.Property("TileWidth").Integer(2, -5); },
                   [](const auto& i) { EXPECT_EQ(i.TileWidth, -5); }},
        TValueCase{"Int16", [](auto& b) { b.Property("TileHeight").Integer(3, -300); },
                   [](const auto& i) { EXPECT_EQ(i.TileHeight, -300); }},
        TValueCase{"Int32", [](auto& b) { b.Property("TransparentColor").Integer(4, 0x00123456); },
                   [](const auto& i) { EXPECT_EQ(i.TransparentColor, 0x00123456u); }},
        TValueCase{"IdentNamedColour",
                   [](auto& b) { b.Property("TransparentColor").Ident("clFuchsia"); },
                   [](const auto& i) { EXPECT_EQ(i.TransparentColor, 0xFF00FFu); }},
        TValueCase{"IdentSystemColour",
                   [](auto& b) { b.Property("TransparentColor").Ident("clBtnFace"); },
                   [](const auto& i) { EXPECT_EQ(i.TransparentColor, 0xFF00000Fu); }},
        TValueCase{"IdentAnyCase", [](auto& b) { b.Property("TransparentColor").Ident("CLNONE"); },
                   [](const auto& i) { EXPECT_EQ(i.TransparentColor, 0x1FFFFFFFu); }},
        TValueCase{"True", [](auto& b) { b.Property("Transparent").Boolean(true); },
                   [](const auto& i) { EXPECT_TRUE(i.Transparent); }},
        TValueCase{"False",
                   [](auto& b) {
                     b.Property("Transparent").Boolean(true).Property("Transparent").Boolean(false);
                   },
                   [](const auto& i) { EXPECT_FALSE(i.Transparent); }},
        TValueCase{"BinaryBitmap",
                   [](auto& b) { b.Property("Picture.Data").PictureData(BmpPicture()); },
                   [](const auto& i) { EXPECT_EQ(i.Picture.Data, BmpPicture().Data); }},
        TValueCase{"BinaryEmptyBitmap",
                   [](auto& b) {
                     b.Property("Picture.Data").PictureData({vexel::TPicture::TKind::Bitmap, {}});
                   },
                   [](const auto& i) { EXPECT_TRUE(i.Picture.Empty()); }},
        TValueCase{"BinaryBitmapCountShorterThanTheValue",
                   [](auto& b) {
                     // A bitmap count smaller than the binary value: the rest is ignored.
                     auto bmp = BmpPicture();
                     const auto size = static_cast<uint32_t>(bmp.Data.size());
                     bmp.Data.push_back(0xEE);
                     b.Property("Picture.Data").Byte(10).U32(8 + 4 + size + 1).Short("TBitmap");
                     b.U32(size).Raw(bmp.Data);
                   },
                   [](const auto& i) { EXPECT_EQ(i.Picture.Data, BmpPicture().Data); }}),
    [](const auto& test) { return std::string(test.param.Name); });

TEST(ImageListFile, PrefixOrderingIntegersAndRootTagAreAccepted) {
  const auto picture = SolidPng(4, 4);
  auto bytes = TStreamBuilder::WithHeader("A long resource name")
                   .Byte(0xF3)
                   .Integer(3, 1234)  // child position, flagged by bit value 2
                   .Root()
                   .Property("Tag")
                   .Integer(2, 7)
                   .Property("List")
                   .Byte(14)
                   .Integer(2, 0)
                   .Byte(1)
                   .Property("Name")
                   .String("first")
                   .Property("Picture.Data")
                   .PictureData(picture)
                   .Byte(0)
                   .Integer(4, 1)
                   .Byte(1)
                   .Property("Name")
                   .String("second")
                   .Byte(0)
                   .Byte(0)
                   .Byte(0)
                   .Byte(0)
                   .Bytes();
  vexel::TImageListCollection list;
  ASSERT_TRUE(Load(list, bytes)) << list.LoadError();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0)->Name, "first");
  EXPECT_EQ(list.Items(0)->Picture.Data, picture.Data);
  EXPECT_EQ(list.Items(1)->Name, "second");

  // A prefix without bit value 2 has no integer after it.
  auto plain = TStreamBuilder::WithHeader().Byte(0xF1).Root().Byte(0).Byte(0).Bytes();
  EXPECT_TRUE(Load(list, plain)) << list.LoadError();
  EXPECT_EQ(list.Count(), 0);
}

TEST(ImageListFile, AbsentPropertiesKeepTheirConstructionValues) {
  auto bytes = TStreamBuilder::WithHeader()
                   .Root()
                   .Property("List")
                   .Byte(14)
                   .Byte(1)
                   .Property("Name")
                   .String("bare")
                   .Byte(0)
                   .Byte(0)
                   .Byte(0)
                   .Byte(0)
                   .Bytes();
  vexel::TImageListCollection list;
  ASSERT_TRUE(Load(list, bytes));
  ASSERT_EQ(list.Count(), 1);
  const auto& item = *list.Items(0);
  EXPECT_FALSE(item.Transparent);
  EXPECT_EQ(item.TileWidth, 1);
  EXPECT_EQ(item.TileHeight, 1);
  EXPECT_EQ(item.TransparentColor, 0u);
  EXPECT_TRUE(item.Filepath.empty());
  EXPECT_TRUE(item.Picture.Empty());
}

TEST(ImageListFile, LoadingIntoAFilledListReplacesItsEntries) {
  vexel::TImageListCollection list;
  list.Add()->Name = "old1";
  list.Add()->Name = "old2";
  list.Add()->Name = "old3";
  ASSERT_TRUE(Load(list, vexel::WriteImageListFile(SampleEntries())));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0)->Name, "font");
  EXPECT_EQ(list.Find("old1"), nullptr);
}

TEST(ImageListFile, FirstByteOtherThanFFIsRefusedAndLeavesTheListEmpty) {
  auto bytes = vexel::WriteImageListFile(SampleEntries());
  bytes[0] = 0xFE;
  vexel::TImageListCollection list;
  list.Add()->Name = "old";
  std::string messages = StderrOf([&] { EXPECT_FALSE(list.LoadFromStream(bytes)); });
  EXPECT_NE(messages.find(kStreamMessage), std::string::npos) << messages;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_NE(list.LoadError().find("resource header"), std::string::npos) << list.LoadError();

  bytes[0] = 0xFF;
  bytes[1] = 11;  // resource type 11
  messages = StderrOf([&] { EXPECT_FALSE(list.LoadFromStream(bytes)); });
  EXPECT_NE(messages.find(kStreamMessage), std::string::npos);
}

TEST(ImageListFile, MissingSignatureIsRefused) {
  auto bytes = vexel::WriteImageListFile(SampleEntries());
  const size_t signature = std::string("TIMAGELISTCOLLECTIONCOMPONENT").size() + 10;
  bytes[signature + 3] = '1';
  vexel::TImageListCollection list;
  const std::string messages = StderrOf([&] { EXPECT_FALSE(list.LoadFromStream(bytes)); });
  EXPECT_NE(messages.find(kStreamMessage), std::string::npos) << messages;
  EXPECT_NE(list.LoadError().find("TPF0"), std::string::npos) << list.LoadError();
  EXPECT_EQ(list.Count(), 0);
}

TEST(ImageListFile, ResourceNameWithoutTerminatorEndsAtTheBytesRead) {
  // A name longer than the 79 bytes read: the stream starts 76 + 10 bytes in.
  auto builder = TStreamBuilder::WithHeader(std::string(90, 'N'));
  std::vector<uint8_t> bytes = builder.Bytes();
  std::vector<uint8_t> tail =
      TStreamBuilder{}.Raw({'T', 'P', 'F', '0'}).Root().Byte(0).Byte(0).Bytes();
  bytes.resize(86);
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  vexel::TImageListCollection list;
  EXPECT_TRUE(Load(list, bytes)) << list.LoadError();
}

TEST(ImageListFile, MissingFileShowsTheFileMessageAndLeavesTheListAsItWas) {
  vexel::TImageListCollection list;
  list.Add()->Name = "kept";
  const std::string messages =
      StderrOf([&] { EXPECT_FALSE(list.LoadFromFile("no such folder\\data9.oil")); });
  EXPECT_NE(messages.find(kFileMessage), std::string::npos) << messages;
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0)->Name, "kept");
}

TEST(ImageListFile, LoadFromFileReadsBackslashPathsAndPassesTheLoadFilter) {
  const auto folder = std::filesystem::temp_directory_path() / "imagelist-file-test";
  std::filesystem::create_directories(folder / "Data");
  auto bytes = vexel::WriteImageListFile(SampleEntries());
  // The filter undoes a simple scrambling of every byte.
  for (auto& b : bytes) b = static_cast<uint8_t>(b ^ 0x5A);
  std::ofstream(folder / "Data" / "data1.oil", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  vexel::TImageListCollection list;
  list.LoadFilter = [](const std::vector<uint8_t>& in) {
    std::vector<uint8_t> out(in);
    for (auto& b : out) b = static_cast<uint8_t>(b ^ 0x5A);
    return out;
  };
  bool loaded = false;
  const std::string messages =
      StderrOf([&] { loaded = list.LoadFromFile((folder / "Data").string() + "\\data1.oil"); });
  EXPECT_TRUE(loaded) << messages << list.LoadError();
  EXPECT_EQ(list.Count(), 2);
  std::filesystem::remove_all(folder);
}

}  // namespace
