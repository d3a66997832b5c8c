// oil-tool: manifests packed into image-list files that the engine reads back, listing and
// extracting, and bad manifest lines named by file and line.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ImageListTestSupport.h"
#include "OilCommands.h"
#include "OilManifest.h"
#include "engine/VexelImageList.h"

namespace {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class OilToolTest : public ::testing::Test {
 protected:
  // Each test process gets a folder of its own: CTest runs the cases side by side.
  OilToolTest()
      : Folder(fs::temp_directory_path() / ("oil-tool-test-" + std::to_string(getpid()))) {
    fs::remove_all(Folder);
    fs::create_directories(Folder / "pics");
    Png = imagelisttest::SolidPng(64, 32, 0xFFFF00FF).Data;
    Bmp = imagelisttest::BmpFile(5, 3, 24, std::vector<uint32_t>(15, 0xFF336699));
    WriteBytes(Folder / "pics" / "font.png", Png);
    WriteBytes(Folder / "pics" / "rock.BMP", Bmp);
    WriteBytes(Folder / "pics" / "broken.png", {0x89, 'P', 'N', 'G', 1, 2, 3});
  }
  ~OilToolTest() override { fs::remove_all(Folder); }

  fs::path Manifest(const std::string& text) {
    const fs::path path = Folder / "list.txt";
    std::ofstream(path) << text;
    return path;
  }

  fs::path Folder;
  std::vector<uint8_t> Png;
  std::vector<uint8_t> Bmp;
};

TEST_F(OilToolTest, PackedFilesReadBackThroughTheEngine) {
  const auto manifest = Manifest(
      "# menu pictures\n"
      "\n"
      "entry font pics/font.png 16 16 transparent=clFuchsia\r\n"
      "   entry rock   pics/rock.BMP 5 3 transparent=0x00FF00FF filepath=pics\\rock.bmp\n"
      "entry plain pics/font.png 0 32 transparent=16711935\n"
      "entry logo pics/font.png 64 32\n");
  std::ostringstream errors;
  ASSERT_EQ(oiltool::Pack(manifest, Folder / "data1.oil", errors), 0) << errors.str();
  vexel::TImageListCollection list;
  ASSERT_TRUE(list.LoadFromFile((Folder / "data1.oil").string())) << list.LoadError();
  ASSERT_EQ(list.Count(), 4);
  const auto& font = *list.Items(0);
  EXPECT_EQ(font.Name, "font");
  EXPECT_EQ(font.Picture.Kind, vexel::TPicture::TKind::Png);
  EXPECT_EQ(font.Picture.Data, Png);
  EXPECT_EQ(font.TileWidth, 16);
  EXPECT_EQ(font.TileHeight, 16);
  EXPECT_TRUE(font.Transparent);
  EXPECT_EQ(font.TransparentColor, 0xFF00FFu);
  const auto& rock = *list.Items(1);
  EXPECT_EQ(rock.Picture.Kind, vexel::TPicture::TKind::Bitmap);
  EXPECT_EQ(rock.Picture.Data, Bmp);
  EXPECT_EQ(rock.Filepath, "pics\\rock.bmp");
  EXPECT_EQ(rock.TransparentColor, 0xFF00FFu);
  EXPECT_EQ(list.Items(2)->TransparentColor, 16711935u);
  EXPECT_EQ(list.Items(2)->TileWidth, 0);
  EXPECT_FALSE(list.Items(3)->Transparent);
  EXPECT_TRUE(list.Items(3)->Filepath.empty());

  // Named colours are stored by name, numbers as integers.
  const auto bytes = ReadBytes(Folder / "data1.oil");
  const std::string ident = std::string("\x07\x09") + "clFuchsia";
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), ident.begin(), ident.end()), bytes.end());

  // Packing again gives the same bytes.
  ASSERT_EQ(oiltool::Pack(manifest, Folder / "again.oil", errors), 0);
  EXPECT_EQ(ReadBytes(Folder / "again.oil"), bytes);
}

TEST_F(OilToolTest, ListPrintsOneLinePerEntryAndExtractWritesThePicturesBack) {
  const auto manifest = Manifest(
      "entry font pics/font.png 16 16 transparent=clBtnFace\n"
      "entry rock pics/rock.BMP 5 3 filepath=pics\\rock.bmp\n"
      "entry font pics/rock.BMP 1 1\n");
  std::ostringstream errors;
  ASSERT_EQ(oiltool::Pack(manifest, Folder / "d.oil", errors), 0) << errors.str();
  std::ostringstream out;
  ASSERT_EQ(oiltool::List(Folder / "d.oil", out, errors), 0) << errors.str();
  EXPECT_EQ(out.str(),
            "0 font png 64x32 tile=16x16 transparent=yes color=0xFF00000F filepath=\n"
            "1 rock bmp 5x3 tile=5x3 transparent=no color=0x00000000 filepath=pics\\rock.bmp\n"
            "2 font bmp 5x3 tile=1x1 transparent=no color=0x00000000 filepath=\n");
  ASSERT_EQ(oiltool::Extract(Folder / "d.oil", Folder / "out", errors), 0) << errors.str();
  EXPECT_EQ(ReadBytes(Folder / "out" / "font.png"), Png);
  EXPECT_EQ(ReadBytes(Folder / "out" / "rock.bmp"), Bmp);
  EXPECT_EQ(ReadBytes(Folder / "out" / "font-2.bmp"), Bmp);
}

TEST_F(OilToolTest, DamagedFilesListTheEntriesBeforeTheDamageAndFail) {
  const auto manifest = Manifest(
      "entry font pics/font.png 16 16\n"
      "entry rock pics/rock.BMP 5 3\n");
  std::ostringstream errors;
  ASSERT_EQ(oiltool::Pack(manifest, Folder / "d.oil", errors), 0);
  auto bytes = ReadBytes(Folder / "d.oil");
  bytes.resize(bytes.size() - 40);
  WriteBytes(Folder / "cut.oil", bytes);
  std::ostringstream out;
  imagelisttest::StderrOf([&] { EXPECT_EQ(oiltool::List(Folder / "cut.oil", out, errors), 1); });
  EXPECT_EQ(out.str().rfind("0 font png 64x32", 0), 0u) << out.str();
  EXPECT_NE(errors.str().find("cut.oil: offset"), std::string::npos) << errors.str();
  std::ostringstream none;
  imagelisttest::StderrOf(
      [&] { EXPECT_EQ(oiltool::Extract(Folder / "missing.oil", Folder / "x", none), 1); });
  EXPECT_NE(none.str().find("cannot read"), std::string::npos);
}

struct TBadLine {
  const char* Name;
  const char* Line;
  const char* Reason;
};

class BadManifestTest : public OilToolTest, public ::testing::WithParamInterface<TBadLine> {};

TEST_P(BadManifestTest, NamesTheFileAndLine) {
  const auto manifest =
      Manifest(std::string("# header\nentry ok pics/font.png 16 16\n") + GetParam().Line + "\n");
  std::ostringstream errors;
  EXPECT_EQ(oiltool::Pack(manifest, Folder / "bad.oil", errors), 1);
  EXPECT_NE(errors.str().find("list.txt:3: "), std::string::npos) << errors.str();
  EXPECT_NE(errors.str().find(GetParam().Reason), std::string::npos) << errors.str();
  EXPECT_FALSE(fs::exists(Folder / "bad.oil"));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadManifestTest,
    ::testing::Values(
        TBadLine{"NotAnEntry", "picture a pics/font.png 1 1", "expected \"entry\""},
        TBadLine{"TooFewFields", "entry a pics/font.png 16", "entry <Name> <picture>"},
        TBadLine{"TileNotANumber", "entry a pics/font.png 16 x", "whole numbers"},
        TBadLine{"NegativeTile", "entry a pics/font.png -1 16", "whole numbers"},
        TBadLine{"TileLargerThanPicture", "entry a pics/font.png 65 16", "larger than the picture"},
        TBadLine{"UnknownColourName", "entry a pics/font.png 1 1 transparent=clPink", "bad colour"},
        TBadLine{"BadHex", "entry a pics/font.png 1 1 transparent=0xGG", "bad colour"},
        TBadLine{"HexTooLarge", "entry a pics/font.png 1 1 transparent=0x100000000", "bad colour"},
        TBadLine{"EmptyOption", "entry a pics/font.png 1 1 filepath=", "needs a value"},
        TBadLine{"UnknownOption", "entry a pics/font.png 1 1 z=1", "unknown or repeated"},
        TBadLine{"RepeatedOption", "entry a pics/font.png 1 1 filepath=a filepath=b",
                 "unknown or repeated"},
        TBadLine{"MissingPicture", "entry a pics/none.png 1 1", "cannot read"},
        TBadLine{"OtherExtension", "entry a pics/font.gif 1 1", "neither .png nor .bmp"},
        TBadLine{"BrokenPicture", "entry a pics/broken.png 1 1", "PNG: "}),
    [](const auto& test) { return std::string(test.param.Name); });

TEST_F(OilToolTest, MissingManifestIsReported) {
  std::ostringstream errors;
  EXPECT_EQ(oiltool::Pack(Folder / "none.txt", Folder / "x.oil", errors), 1);
  EXPECT_NE(errors.str().find("cannot read"), std::string::npos) << errors.str();
}

}  // namespace
