// Reading art descriptions: the format, templates, the race size table, and clear errors for
// bad descriptions.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>

#include "ArtDocument.h"
#include "ArtList.h"
#include "EntryRenderer.h"
#include "FontCheck.h"
#include "Palette.h"
#include "RaceSizeTable.h"
#include "engine/VexelBitmapFont.h"
#include "platform/CodePage1251.h"

namespace arttest {
namespace {

namespace fs = std::filesystem;

class ArtDescription : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = fs::temp_directory_path() / ("art-desc-" + std::to_string(getpid()));
    fs::create_directories(Folder);
  }
  void TearDown() override { fs::remove_all(Folder); }

  fs::path Write(const std::string& name, const std::string& text) const {
    std::ofstream(Folder / name, std::ios::binary) << text;
    return Folder / name;
  }

  // The message of the error loading (and drawing) the list raises, or "" when none.
  std::string ErrorOf(const std::string& text, const std::string& sizes = "") const {
    try {
      const auto table = racesizes::TRaceSizeTable::Parse(sizes, "sizes");
      const artgen::TArtList list(Write("list.art", text), table);
      for (const auto& entry : list.Entries()) artgen::RenderEntry(entry, Folder);
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "";
  }

  fs::path Folder;
};

TEST_F(ArtDescription, ReadsSectionsParametersAndIncludes) {
  Write("colours.art", "[palette]\nsky = #102030\n");
  const auto doc = artgen::TArtDocument::Parse(
      "# comment\n@include colours.art\n[entry a]\nlabel = \"  two words \"\n  kind=probe  \n",
      Folder / "main.art");
  ASSERT_EQ(doc.Sections().size(), 2u);
  EXPECT_EQ(doc.Sections()[0].Type, "palette");
  EXPECT_EQ(doc.Sections()[1].Name, "a");
  ASSERT_EQ(doc.Sections()[1].Params.size(), 2u);
  EXPECT_EQ(doc.Sections()[1].Params[0].Value, "  two words ");
  EXPECT_EQ(doc.Sections()[1].Params[1].Key, "kind");
  EXPECT_EQ(doc.Sections()[1].Params[1].Value, "probe");
}

TEST_F(ArtDescription, EntriesTakeTemplatesAndOverrideThem) {
  const fs::path file = Write("t.art",
                              "[palette]\nink = #ff0000\n"
                              "[template base]\nkind = probe\ncolour = ink\ncell = 4x4\n"
                              "[entry dot]\nuse = base\ncolour = #00ff00@0.5\n");
  const artgen::TArtList list(file, racesizes::TRaceSizeTable{});
  ASSERT_EQ(list.Entries().size(), 1u);
  const auto& e = list.Entries()[0];
  EXPECT_EQ(e.Kind, "probe");
  EXPECT_EQ(e.Layout.Width, 4);
  const artgen::TColour c = e.Recipe.Colour("colour");
  EXPECT_DOUBLE_EQ(c.G, 1.0);
  EXPECT_DOUBLE_EQ(c.A, 0.5);
}

TEST_F(ArtDescription, RaceSizeTableFixesTheLayout) {
  const auto sizes = racesizes::TRaceSizeTable::Parse("# k c r w h\ndot 2 1 6 8\n", "sizes");
  const artgen::TArtList list(Write("r.art", "[entry dot]\nkind = probe\ncolour = #ffffff\n"),
                              sizes);
  const auto& layout = list.Entries()[0].Layout;
  EXPECT_EQ(layout.Columns, 2);
  EXPECT_EQ(layout.Rows, 1);
  EXPECT_EQ(layout.Width, 6);
  EXPECT_EQ(layout.Height, 8);
}

TEST_F(ArtDescription, NamesEveryFontAndRefusesMissingOnes) {
  const artgen::TArtList list(
      Write("f.art",
            "[template t]\nlabel_font = DejaVu Sans:bold\n"
            "[entry a]\nuse = t\nkind = probe\ncell = 2x2\ncolour = #ffffff\ntitle_font = "
            "Liberation Sans\n"),
      racesizes::TRaceSizeTable{});
  const std::set<std::string> expected = {"DejaVu Sans:bold", "Liberation Sans"};
  EXPECT_EQ(list.FontFamilies(), expected);
  EXPECT_NO_THROW(artgen::RequireFonts(list.FontFamilies()));
  try {
    artgen::RequireFonts({"DejaVu Sans", "Nowhere Grotesk Condensed"});
    ADD_FAILURE() << "a missing font was accepted";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "fonts not installed: Nowhere Grotesk Condensed");
  }
}

struct BadCase {
  const char* Name;
  const char* Text;
  const char* Sizes;
  const char* Message;
};

const BadCase kBad[] = {
    {"UnknownSection", "[thing x]\n", "", "list.art:1: unknown section type \"thing\""},
    {"ParameterOutsideSection", "kind = probe\n", "", "list.art:1: parameter outside a section"},
    {"LineWithoutEquals", "[entry a]\nkind probe\n", "", "list.art:2: expected key = value"},
    {"HeaderWithoutBracket", "[entry a\n", "", "list.art:1: section header without ']'"},
    {"MissingInclude", "@include nowhere.art\n", "", "cannot open"},
    {"SelfInclude", "@include list.art\n", "", "includes nested too deeply"},
    {"UnknownTemplate", "[entry a]\nuse = none\n", "", "unknown template \"none\""},
    {"RepeatedKey", "[entry a]\nkind = probe\ncell = 2x2\ncolour = #fff000\n[entry a]\n", "",
     "key \"a\" repeated"},
    {"NoEntries", "[palette]\n", "", "no entries"},
    {"MissingCell", "[entry a]\nkind = probe\n", "", "missing parameter \"cell\""},
    {"BadCell", "[entry a]\nkind = probe\ncell = 4by4\n", "", "must look like WxH"},
    {"HugeCell", "[entry a]\nkind = probe\ncell = 9000x4\n", "", "whole sizes 1..4096"},
    {"ConflictingRaceSize", "[entry a]\nkind = probe\ncell = 4x4\n", "a 1 1 6 6\n",
     "the race size table fixes 1x1 cells of 6x6"},
    {"MarginTooWide", "[entry a]\nkind = probe\ncell = 4x4\nmargin = 2\n", "",
     "margin leaves no room"},
    {"UnknownKind", "[entry a]\nkind = teapot\ncell = 4x4\n", "", "unknown kind \"teapot\""},
    {"UnusedParameter", "[entry a]\nkind = probe\ncell = 4x4\ncolour = #ffffff\nsize = 3\n", "",
     "parameter \"size\" is not used"},
    {"UnknownColour", "[entry a]\nkind = probe\ncell = 4x4\ncolour = mauve\n", "",
     "unknown colour \"mauve\""},
    {"BadHexColour", "[entry a]\nkind = probe\ncell = 4x4\ncolour = #12345\n", "", "bad colour"},
    {"BadAlpha", "[entry a]\nkind = probe\ncell = 4x4\ncolour = #123456@2\n", "", "bad alpha"},
    {"FontWithTooFewCells",
     "[entry f]\nkind = font\ncell = 8x8\ngrid = 2x1\nchars = abc\nglyph_font = DejaVu Sans\n"
     "glyph_size = 8\nbaseline = 7\nink = #ffffff\noutline = #000000\n",
     "", "has 3 chars but only 2 cells"},
    {"MissingTrackPicture",
     "[entry t]\nkind = track_preview\ncell = 16x16\nsource = none.png\ninset = 1\n"
     "screen_top = #000000\nscreen_bottom = #000000\ngrid_colour = #000000\nframe = #ffffff\n",
     "", "cannot read track picture"},
};

class BadDescription : public ArtDescription, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadDescription, IsRefusedWithAClearMessage) {
  const std::string message = ErrorOf(GetParam().Text, GetParam().Sizes);
  EXPECT_NE(message.find(GetParam().Message), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(Cases, BadDescription, ::testing::ValuesIn(kBad),
                         [](const auto& p) { return std::string(p.param.Name); });

// The game's widget font draws byte k of its default character set with cell k of the menu
// list's first picture, and an image font finds its cells by counting 16 to a row.
TEST(MenuFontPicture, CellsFollowTheEngineDefaultCharacterSet) {
  const artgen::TArtList list(fs::path(ART_SOURCE_DIR) / "menu.art", racesizes::TRaceSizeTable{});
  ASSERT_FALSE(list.Entries().empty());
  const artgen::TArtEntry& font = list.Entries().front();
  EXPECT_EQ(font.Kind, "font");
  EXPECT_EQ(platform::Utf8To1251(font.Recipe.Text("chars")), vexel::DefaultCharacters());
  EXPECT_EQ(font.Layout.Columns, 16);
  EXPECT_GE(font.Layout.Count(), static_cast<int>(vexel::DefaultCharacters().size()));
}

}  // namespace
}  // namespace arttest
