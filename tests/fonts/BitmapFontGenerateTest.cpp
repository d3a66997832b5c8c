// Bitmap fonts rendered from system fonts: texture size, cell layout, texels and failures.

#include <gtest/gtest.h>

#include <fstream>

#include "FontTestSupport.h"
#include "engine/VexelBitmapFont.h"

namespace {

using vexel::gfBold;
using vexel::gfFixedCells;
using vexel::gfItalic;
using vexel::gfPlainQuality;
using vexel::gfUnderline;

class GeneratedFontTest : public ::testing::Test {
 protected:
  GeneratedFontTest() {
    Font.SetVexelScreen(Rec.Screen.get());
    Rec.Screen->Initialize();
  }

  // The face the font renders with, opened on its own.
  std::unique_ptr<platform::TFontFace> Face(const std::string& name, int32_t pixels,
                                            platform::TFontStyle style = {}) const {
    return Fonts.Open(platform::TFontRequest{name, pixels, style, true});
  }

  const std::vector<uint32_t>& Texels() const { return Font.GeneratedTexture()->Texels(); }

  // Highest alpha inside a cell's texture rectangle.
  uint32_t CellAlpha(uint8_t byte) const {
    const auto& uv = Font.CharUV()[byte];
    const int32_t side = Font.GenTextureWidth();
    const auto scale = static_cast<float>(side);
    uint32_t alpha = 0;
    for (auto y = static_cast<int32_t>(uv.V0 * scale); y < static_cast<int32_t>(uv.V1 * scale);
         ++y) {
      for (auto x = static_cast<int32_t>(uv.U0 * scale); x < static_cast<int32_t>(uv.U1 * scale);
           ++x) {
        alpha = std::max(alpha, Texels()[static_cast<size_t>(y) * side + x] >> 24);
      }
    }
    return alpha;
  }

  fonts_test::TRecordingScreen Rec;
  platform::TFontSystem Fonts{fonts_test::AliasFile()};
  vexel::TVexelBitmapFont Font{Fonts};
};

TEST_F(GeneratedFontTest, WithoutAnImageListRestoreGeneratesBoldArialTwelve) {
  EXPECT_TRUE(Font.Generated());
  EXPECT_EQ(Font.FontName(), "Arial");
  EXPECT_EQ(Font.Characters(), vexel::DefaultCharacters());
  EXPECT_EQ(Font.GenTextureWidth(), 256);
  EXPECT_EQ(Font.GenTextureHeight(), 256);
  ASSERT_NE(Font.GeneratedTexture(), nullptr);
  EXPECT_EQ(Font.GeneratedTexture()->Width(), 256);
  const auto face = Face("Arial", 16, {.Bold = true});
  ASSERT_TRUE(face);
  EXPECT_EQ(Font.CellWidth(), face->TextExtent("a").Width);
  EXPECT_EQ(Font.CellHeight(), face->LineHeight());
  for (int i = 0; i < 256; ++i) EXPECT_EQ(Font.CharMap()[i], i);
}

struct TSideCase {
  int32_t Size;
  int32_t Flags;
  int32_t Side;
};

TEST_F(GeneratedFontTest, TextureSideFollowsTheSizeOrTheCellArea) {
  const TSideCase kCases[] = {{20, 0, 256},
                              {21, 0, 512},
                              {40, 0, 512},
                              {41, 0, 1024},
                              {1, 0, 256},
                              {15, gfFixedCells, 256},
                              {17, gfFixedCells, 512},
                              {40, gfFixedCells, 1024},
                              {5, gfFixedCells, 128}};
  // 109 characters (the default set without its Latin letters) fit every side below, so the
  // sides are the ones the size or the cell area asks for.
  const std::string chars = vexel::DefaultCharacters().substr(0, 109);
  for (const auto& c : kCases) {
    Font.GenerateFont("Arial", chars, c.Flags, c.Size);
    EXPECT_EQ(Font.GenTextureWidth(), c.Side) << c.Size << " flags " << c.Flags;
    EXPECT_EQ(Font.GenTextureHeight(), c.Side);
    ASSERT_NE(Font.GeneratedTexture(), nullptr);
    EXPECT_EQ(Font.GeneratedTexture()->Width(), c.Side);
    EXPECT_EQ(Font.GeneratedTexture()->Height(), c.Side);
    EXPECT_EQ(Font.SizeScale(), 1.0f);
  }
}

TEST(GeneratedFontSmallDevice, ShrinksTheTextureAndTheFontAndScalesTheQuads) {
  fonts_test::TRecordingScreen rec(256);
  const platform::TFontSystem fonts(fonts_test::AliasFile());
  vexel::TVexelBitmapFont font(fonts);
  font.SetVexelScreen(rec.Screen.get());
  rec.Screen->Initialize();
  font.GenerateFont("Arial", vexel::DefaultCharacters(), 0, 30);
  EXPECT_EQ(font.GenTextureWidth(), 256);
  EXPECT_FLOAT_EQ(font.SizeScale(), 0.5f);
  // 30 points at 96 x 0.5 dots per inch: 20 pixels.
  const auto face = fonts.Open(platform::TFontRequest{"Arial", 20, {}, true});
  ASSERT_TRUE(face);
  EXPECT_EQ(font.CellHeight(), face->LineHeight());
  rec.Screen->BeginScene();
  rec.Device().Calls.clear();
  font.TextOutColored(0, 0, 0, 1, 1, 0xFFFFFFFF, "0", 0);
  const auto draws = rec.Draws();
  ASSERT_EQ(draws.size(), 1u);
  const float width = static_cast<float>(face->Advance('0'));
  EXPECT_FLOAT_EQ(draws[0].Vertices[1].X, (width + 0.5f) * 0.5f);
}

TEST_F(GeneratedFontTest, CellsAreLaidOutInRowsWithTwoPixelGaps) {
  Font.GenerateFont("MathSoftText", vexel::DefaultCharacters(), 0, 15);
  const auto face = Face("MathSoftText", 20);
  ASSERT_TRUE(face);
  EXPECT_EQ(Font.FontName(), "MathSoftText");
  EXPECT_EQ(Font.CellWidth(), face->TextExtent("a").Width);
  EXPECT_EQ(Font.CellHeight(), face->LineHeight());
  const float side = 256;
  int32_t x = 0;
  int32_t y = 0;
  int32_t rows = 1;
  for (const char c : vexel::DefaultCharacters()) {
    const auto byte = static_cast<uint8_t>(c);
    const auto extent = face->TextExtent(std::string(1, c));
    if (x + extent.Width + 2 > 256) {
      x = 0;
      y += extent.Height + 2;
      ++rows;
    }
    EXPECT_EQ(Font.CharSize()[byte], (vexel::TCharSize{extent.Width, extent.Height}));
    const vexel::TCharUV uv{static_cast<float>(x) / side, static_cast<float>(y) / side,
                            static_cast<float>(x + extent.Width + 1) / side,
                            static_cast<float>(y + extent.Height + 1) / side};
    EXPECT_EQ(Font.CharUV()[byte], uv) << "byte " << int{byte};
    x += extent.Width + 2;
  }
  EXPECT_GT(rows, 3);
  EXPECT_GT(CellAlpha(0xC6), 0u);  // the Cyrillic capital Zhe has ink in its cell
  EXPECT_GT(CellAlpha('@'), 0u);
  EXPECT_EQ(CellAlpha(' '), 0u);
}

TEST_F(GeneratedFontTest, BytesNotRenderedKeepTheirCells) {
  constexpr uint8_t kCopyright = 0xA9;  // not in the default set
  Font.GenerateFont("Arial", "\xA9", 0, 30);
  const auto sizeOfSign = Font.CharSize()[kCopyright];
  const auto uvOfSign = Font.CharUV()[kCopyright];
  EXPECT_GT(sizeOfSign.Width, 0);
  Font.GenerateFont("Arial", vexel::DefaultCharacters(), 0, 12);
  EXPECT_EQ(Font.CharSize()[kCopyright], sizeOfSign);
  EXPECT_EQ(Font.CharUV()[kCopyright], uvOfSign);
  EXPECT_EQ(Font.CharMap()[kCopyright], kCopyright);
  EXPECT_EQ(Font.Characters(), vexel::DefaultCharacters());
}

// The faces and sizes the game and the restore path generate: every character of the default
// set, the Latin letters at its end included, gets inked cells inside the texture.
TEST_F(GeneratedFontTest, EveryDefaultCharacterFitsTheTexture) {
  struct Case {
    const char* Face;
    int32_t Flags;
    int32_t Size;
  };
  const Case kCases[] = {{"MathSoftText", 0, 15}, {"MathSoftText", 0, 17},
                         {"Arial", gfBold, 12},   {"Arial Black", 0, 16},
                         {"Arial", 0, 20},        {"Arial Black", gfBold, 20}};
  for (const Case& c : kCases) {
    Font.GenerateFont(c.Face, vexel::DefaultCharacters(), c.Flags, c.Size);
    for (const char ch : vexel::DefaultCharacters()) {
      const auto byte = static_cast<uint8_t>(ch);
      const auto& uv = Font.CharUV()[byte];
      EXPECT_LE(uv.U1, 1.0f) << c.Face << " " << c.Size << " byte " << int{byte};
      EXPECT_LE(uv.V1, 1.0f) << c.Face << " " << c.Size << " byte " << int{byte};
      if (ch == ' ') continue;
      EXPECT_GT(CellAlpha(byte), 0u) << c.Face << " " << c.Size << " byte " << int{byte};
    }
  }
}

TEST_F(GeneratedFontTest, EmptyCharactersGenerateTheDefaultSet) {
  Font.GenerateFont("MathSoftText", "", 0, 17);
  EXPECT_EQ(Font.Characters(), vexel::DefaultCharacters());
  EXPECT_GT(CellAlpha('z'), 0u);
  EXPECT_GT(CellAlpha(0xDF), 0u);
}

TEST_F(GeneratedFontTest, OnlyTheByteCountModulo256IsRendered) {
  const auto zero = Font.CharSize()['0'];
  std::string chars;
  for (int i = 0; i < 300; ++i) chars += static_cast<char>(i % 256);
  Font.GenerateFont("Arial", chars, 0, 30);
  // 300 bytes render as 44: 0 to 43. '!' (33) is rendered at the new size, '0' (48) is not.
  EXPECT_EQ(Font.CharSize()['0'], zero);
  EXPECT_GT(Font.CharSize()['!'].Height, zero.Height);
}

TEST_F(GeneratedFontTest, ItalicProportionalCellsGrowAndTrimTheRightEdge) {
  Font.GenerateFont("Arial", vexel::DefaultCharacters(), gfItalic, 12);
  const auto face = Face("Arial", 16, {.Italic = true});
  ASSERT_TRUE(face);
  const auto space = face->TextExtent(" ");
  EXPECT_EQ(Font.CharSize()[' '], (vexel::TCharSize{space.Width + 1, space.Height + 2}));
  const vexel::TCharUV uv{0, 0, static_cast<float>(space.Width) / 256,
                          static_cast<float>(space.Height + 3) / 256};
  EXPECT_EQ(Font.CharUV()[' '], uv);
  const auto bang = face->TextExtent("!");
  EXPECT_FLOAT_EQ(Font.CharUV()['!'].U0, static_cast<float>(space.Width + 3) / 256);
  EXPECT_EQ(Font.CharSize()['!'].Width, bang.Width + 1);
}

TEST_F(GeneratedFontTest, FixedCellsAllTakeTheExtentOfW) {
  Font.GenerateFont("Arial", vexel::DefaultCharacters(), gfFixedCells, 12);
  const auto face = Face("Arial", 16);
  ASSERT_TRUE(face);
  const auto w = face->TextExtent("W");
  EXPECT_EQ(Font.CellWidth(), w.Width);
  for (const char c : vexel::DefaultCharacters()) {
    EXPECT_EQ(Font.CharSize()[static_cast<uint8_t>(c)], (vexel::TCharSize{w.Width, w.Height}));
  }
  EXPECT_FLOAT_EQ(Font.CharUV()['!'].U0, static_cast<float>(w.Width + 2) / 256);
}

TEST_F(GeneratedFontTest, TexelsAreWhiteWithFourBitAlpha) {
  Font.GenerateFont("Arial Black", vexel::DefaultCharacters(), 0, 16);
  size_t inked = 0;
  for (const uint32_t texel : Texels()) {
    if (texel == 0) continue;
    ++inked;
    const uint32_t alpha = texel >> 24;
    EXPECT_EQ(alpha % 17, 0u);
    EXPECT_EQ(texel & 0xFFFFFFu, 0xFFFFFFu);
  }
  EXPECT_GT(inked, 1000u);
}

TEST_F(GeneratedFontTest, PlainQualityGivesOpaqueTexelsOnly) {
  Font.GenerateFont("Arial", vexel::DefaultCharacters(), gfPlainQuality | gfBold, 14);
  size_t inked = 0;
  for (const uint32_t texel : Texels()) {
    if (texel == 0) continue;
    ++inked;
    EXPECT_EQ(texel, 0xFFFFFFFFu);
  }
  EXPECT_GT(inked, 500u);
}

TEST_F(GeneratedFontTest, UnderlineShowsInEveryCell) {
  Font.GenerateFont("Arial", vexel::DefaultCharacters(), 0, 14);
  EXPECT_EQ(CellAlpha(' '), 0u);
  Font.GenerateFont("Arial", vexel::DefaultCharacters(), gfUnderline, 14);
  EXPECT_EQ(CellAlpha(' '), 255u);
}

TEST_F(GeneratedFontTest, AnUnknownFaceFallsBackToASans) {
  Font.GenerateFont("No Such Face 123", vexel::DefaultCharacters(), 0, 14);
  EXPECT_TRUE(Font.Generated());
  EXPECT_EQ(Font.FontName(), "No Such Face 123");
  EXPECT_GT(Font.CellHeight(), 10);
  EXPECT_GT(CellAlpha(0xDF), 0u);
}

TEST_F(GeneratedFontTest, DrawsFromTheGeneratedTextureByByte) {
  Rec.Screen->BeginScene();
  Rec.Device().Calls.clear();
  Font.Spacing = 1;
  Font.TextOutColored(10, 20, 0, 1, 1, 0xFFFFFFFF, "0A", 0);
  const auto draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 2u);  // every byte has its own entry once generated
  const auto textures = Rec.Device().CallsOf(vexel::TDeviceCall::TKind::Texture);
  ASSERT_FALSE(textures.empty());
  EXPECT_EQ(textures.back().Texture, Font.GeneratedTexture());
  EXPECT_FLOAT_EQ(draws[1].Vertices[0].X, static_cast<float>(10 + Font.CharSize()['0'].Width + 1));
  EXPECT_FLOAT_EQ(draws[0].Vertices[0].U, Font.CharUV()['0'].U0);
}

TEST(GeneratedFontFailure, WithoutASystemFontTheCellTablesStay) {
  const std::string file = fonts_test::OutputFolder() + "/reject-every-font.conf";
  std::ofstream(file) << "<?xml version=\"1.0\"?>\n<fontconfig><selectfont><rejectfont>"
                         "<glob>*</glob></rejectfont></selectfont></fontconfig>\n";
  fonts_test::TRecordingScreen rec;
  const platform::TFontSystem fonts(file);
  vexel::TVexelBitmapFont font(fonts);
  font.SetVexelScreen(rec.Screen.get());
  rec.Screen->Initialize();  // the fallback generation fails too
  EXPECT_FALSE(font.Generated());
  EXPECT_EQ(font.FontName(), "Arial");
  font.SetCharacters("0123");
  const auto map = font.CharMap();
  const auto uv = font.CharUV();
  const auto sizes = font.CharSize();
  font.GenerateFont("MathSoftText", vexel::DefaultCharacters(), 0, 15);
  EXPECT_FALSE(font.Generated());
  EXPECT_EQ(font.FontName(), "MathSoftText");
  EXPECT_EQ(font.CharMap(), map);
  EXPECT_EQ(font.CharUV(), uv);
  EXPECT_EQ(font.CharSize(), sizes);
  EXPECT_EQ(font.Characters(), "0123");
  ASSERT_NE(font.GeneratedTexture(), nullptr);
  for (const uint32_t texel : font.GeneratedTexture()->Texels()) ASSERT_EQ(texel, 0u);
}

}  // namespace
