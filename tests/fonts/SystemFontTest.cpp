// The system-font layer: which files the game's face names resolve to, glyph coverage,
// measuring and rasterising.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "FontTestSupport.h"
#include "engine/VexelBitmapFont.h"
#include "platform/CodePage1251.h"
#include "platform/FontSystem.h"

namespace {

using platform::TFontRequest;
using platform::TFontStyle;

struct TFaceCase {
  const char* Face;
  const char* Family;
  const char* File;
};

// Every face name the game asks for, the family it is aliased to and the file that holds it.
const TFaceCase kGameFaces[] = {
    {"Arial Black", "Roboto", "Roboto-Black.ttf"},
    {"Arial", "Liberation Sans", "LiberationSans-Regular.ttf"},
    {"Verdana", "DejaVu Sans", "DejaVuSans.ttf"},
    {"MathSoftText", "DejaVu Sans Mono", "DejaVuSansMono.ttf"},
    {"Staccato222 BT", "Comfortaa", "Comfortaa-Bold.ttf"},
    {"BinnerD", "Yanone Kaffeesatz", "YanoneKaffeesatz-Bold.otf"},
};

void PrintTo(const TFaceCase& faceCase, std::ostream* out) {
  *out << faceCase.Face;
}

class GameFaceTest : public ::testing::TestWithParam<TFaceCase> {
 protected:
  platform::TFontSystem Fonts{fonts_test::AliasFile()};
};

TEST_P(GameFaceTest, ResolvesToAnInstalledFileWithEveryDefaultCharacter) {
  ASSERT_TRUE(Fonts.Valid());
  ASSERT_TRUE(Fonts.AliasesLoaded());
  const platform::TFontMatch match = Fonts.Match(GetParam().Face, 16, {});
  EXPECT_EQ(match.Family, GetParam().Family);
  EXPECT_EQ(std::filesystem::path(match.File).filename(), GetParam().File);
  EXPECT_TRUE(std::filesystem::is_regular_file(match.File)) << match.File;

  const auto face = Fonts.Open(TFontRequest{GetParam().Face, 16, {}, true});
  ASSERT_TRUE(face);
  EXPECT_EQ(face->Match().File, match.File);
  for (const char c : vexel::DefaultCharacters()) {
    const auto byte = static_cast<uint8_t>(c);
    EXPECT_TRUE(face->HasGlyph(byte)) << GetParam().Face << " lacks byte " << int{byte};
    if (byte != 0x20) {
      EXPECT_GT(face->RenderGlyph(byte).Bitmap.Width, 0) << "byte " << int{byte};
    }
  }
  // The Latin letters the game's own texts use must be there too.
  for (char c = 'A'; c <= 'Z'; ++c) {
    EXPECT_TRUE(face->HasGlyph(static_cast<uint8_t>(c)));
    EXPECT_TRUE(face->HasGlyph(static_cast<uint8_t>(c + 32)));
  }
}

INSTANTIATE_TEST_SUITE_P(AllFaces, GameFaceTest, ::testing::ValuesIn(kGameFaces),
                         [](const auto& testInfo) {
                           std::string name = testInfo.param.Face;
                           std::erase_if(name, [](char c) { return !std::isalnum(c); });
                           return name;
                         });

class SystemFontTest : public ::testing::Test {
 protected:
  std::unique_ptr<platform::TFontFace> Open(const std::string& face, int32_t pixels,
                                            TFontStyle style = {}, bool antialiased = true) {
    return Fonts.Open(TFontRequest{face, pixels, style, antialiased});
  }

  platform::TFontSystem Fonts{fonts_test::AliasFile()};
};

TEST_F(SystemFontTest, PointsBecomePixelsAtNinetySixDotsPerInch) {
  const std::pair<int32_t, int32_t> kCases[] = {{8, 11},  {9, 12},  {10, 13}, {12, 16}, {15, 20},
                                                {17, 23}, {20, 27}, {23, 31}, {0, 0},   {-3, -4}};
  for (const auto& [points, pixels] : kCases) {
    EXPECT_EQ(platform::PointsToPixels(points), pixels) << points << " points";
  }
  EXPECT_EQ(platform::MulDiv(15, 48, 72), 10);
  EXPECT_EQ(platform::MulDiv(1, 1, 2), 1);
  EXPECT_EQ(platform::MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(platform::MulDiv(5, 3, 0), 0);
}

TEST_F(SystemFontTest, StylesPickTheMatchingFiles) {
  const auto bold = Fonts.Match("Arial", 16, TFontStyle{.Bold = true});
  EXPECT_EQ(std::filesystem::path(bold.File).filename(), "LiberationSans-Bold.ttf");
  EXPECT_FALSE(bold.Embolden);
  const auto italic = Fonts.Match("Arial", 16, TFontStyle{.Italic = true});
  EXPECT_EQ(std::filesystem::path(italic.File).filename(), "LiberationSans-Italic.ttf");
  EXPECT_FALSE(italic.Slant);
  // The heavy face stays black whatever weight is asked for.
  const auto black = Fonts.Match("Arial Black", 16, TFontStyle{.Bold = true});
  EXPECT_EQ(std::filesystem::path(black.File).filename(), "Roboto-Black.ttf");
  // A face with no italic of its own is slanted.
  const auto slanted = Fonts.Match("Staccato222 BT", 16, TFontStyle{.Italic = true});
  EXPECT_TRUE(slanted.Slant);
  EXPECT_GT(slanted.Matrix[1], 0.0);
}

TEST_F(SystemFontTest, UnknownFacesFallBackToASans) {
  const auto face = Open("No Such Face At All", 16);
  ASSERT_TRUE(face);
  EXPECT_FALSE(face->Match().File.empty());
  EXPECT_GT(face->TextExtent("Hello").Width, 0);
  EXPECT_TRUE(face->HasGlyph(0xDF));
}

TEST_F(SystemFontTest, MissingAliasFileStillGivesFonts) {
  const platform::TFontSystem fonts(fonts_test::OutputFolder() + "/no-such-fonts.conf");
  EXPECT_TRUE(fonts.Valid());
  EXPECT_FALSE(fonts.AliasesLoaded());
  EXPECT_TRUE(fonts.Open(TFontRequest{"MathSoftText", 16, {}, true}));
}

TEST_F(SystemFontTest, AConfigurationWithoutFontsOpensNothing) {
  const std::string file = fonts_test::OutputFolder() + "/reject-all-fonts.conf";
  std::ofstream(file) << "<?xml version=\"1.0\"?>\n<fontconfig><selectfont><rejectfont>"
                         "<glob>*</glob></rejectfont></selectfont></fontconfig>\n";
  const platform::TFontSystem fonts(file);
  EXPECT_TRUE(fonts.AliasesLoaded());
  EXPECT_TRUE(fonts.Match("Arial", 16, {}).File.empty());
  EXPECT_FALSE(fonts.Open(TFontRequest{"Arial", 16, {}, true}));
}

TEST_F(SystemFontTest, ExtentsAddAdvancesAndUseTheLineHeight) {
  const auto face = Open("Arial", 16);
  ASSERT_TRUE(face);
  EXPECT_EQ(face->LineHeight(), face->Ascent() + face->Descent());
  EXPECT_GE(face->LineHeight(), 16);
  EXPECT_LE(face->LineHeight(), 20);
  EXPECT_EQ(face->TextExtent(""), (platform::TTextExtent{0, face->LineHeight()}));
  const std::string text = platform::Utf8To1251("Wi Яя!");
  int32_t sum = 0;
  for (const char c : text) sum += face->Advance(static_cast<uint8_t>(c));
  EXPECT_EQ(face->TextExtent(text).Width, sum);
  EXPECT_GT(face->Advance('W'), face->Advance('i'));
  // Control characters take no room.
  EXPECT_EQ(face->TextExtent("a\tb").Width, face->TextExtent("ab").Width);
}

TEST_F(SystemFontTest, LargerSizesMeasureLarger) {
  const auto small = Open("Verdana", 12);
  const auto large = Open("Verdana", 40);
  ASSERT_TRUE(small && large);
  EXPECT_GT(large->LineHeight(), 2 * small->LineHeight());
  EXPECT_GT(large->TextExtent("Countdown").Width, 2 * small->TextExtent("Countdown").Width);
}

TEST_F(SystemFontTest, AbsurdSizesAreKeptWithinBounds) {
  const auto tiny = Open("Arial", -50);
  const auto huge = Open("Arial", 100000);
  ASSERT_TRUE(tiny && huge);
  EXPECT_GE(tiny->LineHeight(), 1);
  EXPECT_LE(huge->LineHeight(), 700);
}

TEST_F(SystemFontTest, DrawTextInksInsideTheExtent) {
  const auto face = Open("Arial Black", 20);
  ASSERT_TRUE(face);
  auto bitmap = platform::TGrayBitmap::Blank(200, 60);
  const std::string text = platform::Utf8To1251("Ёж 12");
  face->DrawText(bitmap, 10, 5, text, false);
  const auto extent = face->TextExtent(text);
  int32_t inside = 0;
  int32_t outside = 0;
  for (int32_t y = 0; y < bitmap.Height; ++y) {
    for (int32_t x = 0; x < bitmap.Width; ++x) {
      const bool within = x >= 9 && x < 10 + extent.Width + 1 && y >= 5 && y < 5 + extent.Height;
      (within ? inside : outside) += bitmap.At(x, y) > 0 ? 1 : 0;
    }
  }
  EXPECT_GT(inside, 50);
  EXPECT_EQ(outside, 0);
}

TEST_F(SystemFontTest, OpaqueBackgroundClearsTheExtentFirst) {
  const auto face = Open("Arial", 16);
  ASSERT_TRUE(face);
  auto bitmap = platform::TGrayBitmap::Blank(100, 40);
  bitmap.Fill(0, 0, 100, 40, 200);
  face->DrawText(bitmap, 0, 0, " ", true);
  EXPECT_EQ(bitmap.At(0, 0), 0);
  EXPECT_EQ(bitmap.At(face->Advance(' ') - 1, face->LineHeight() - 1), 0);
  EXPECT_EQ(bitmap.At(face->Advance(' '), 0), 200);
  EXPECT_EQ(bitmap.At(0, face->LineHeight()), 200);
}

TEST_F(SystemFontTest, PlainQualityHasNoGreyEdges) {
  const auto plain = Open("Arial", 20, {}, false);
  const auto smooth = Open("Arial", 20, {}, true);
  ASSERT_TRUE(plain && smooth);
  const auto isGrey = [](uint8_t v) { return v != 0 && v != 255; };
  const auto plainGlyph = plain->RenderGlyph('S').Bitmap.Pixels;
  const auto smoothGlyph = smooth->RenderGlyph('S').Bitmap.Pixels;
  EXPECT_EQ(std::count_if(plainGlyph.begin(), plainGlyph.end(), isGrey), 0);
  EXPECT_GT(std::count(plainGlyph.begin(), plainGlyph.end(), 255), 10);
  EXPECT_GT(std::count_if(smoothGlyph.begin(), smoothGlyph.end(), isGrey), 0);
}

TEST_F(SystemFontTest, UnderlineAndStrikeOutDrawFullWidthBars) {
  const auto face = Open("Arial", 20, TFontStyle{.Underline = true, .StrikeOut = true});
  ASSERT_TRUE(face);
  EXPECT_GT(face->UnderlineTop(), face->Ascent() - 1);
  EXPECT_LT(face->UnderlineTop(), face->LineHeight());
  EXPECT_LT(face->StrikeOutTop(), face->Ascent());
  EXPECT_GT(face->StrikeOutTop(), 0);
  auto bitmap = platform::TGrayBitmap::Blank(100, 40);
  face->DrawText(bitmap, 0, 0, "  ", false);
  const int32_t width = face->TextExtent("  ").Width;
  for (int32_t x = 0; x < width; ++x) {
    EXPECT_EQ(bitmap.At(x, face->UnderlineTop()), 255) << x;
    EXPECT_EQ(bitmap.At(x, face->StrikeOutTop()), 255) << x;
  }
  EXPECT_EQ(bitmap.At(width, face->UnderlineTop()), 0);
}

TEST_F(SystemFontTest, BoldWithoutABoldFileIsEmboldened) {
  // Noto Mono comes in one weight only.
  const auto regular = Open("Noto Mono", 24);
  const auto bold = Open("Noto Mono", 24, TFontStyle{.Bold = true});
  ASSERT_TRUE(regular && bold);
  EXPECT_EQ(regular->Match().File, bold->Match().File);
  EXPECT_FALSE(regular->Match().Embolden);
  EXPECT_TRUE(bold->Match().Embolden);
  const auto ink = [](const platform::TGlyphImage& glyph) {
    return std::count_if(glyph.Bitmap.Pixels.begin(), glyph.Bitmap.Pixels.end(),
                         [](uint8_t v) { return v > 127; });
  };
  EXPECT_GT(ink(bold->RenderGlyph('l')), ink(regular->RenderGlyph('l')));
  EXPECT_GE(bold->Advance('l'), regular->Advance('l'));
}

}  // namespace
