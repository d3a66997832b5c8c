// System-font text: measuring, the glyph cache, colours and the quads drawn, on a recording
// device.

#include <gtest/gtest.h>

#include "FontTestSupport.h"
#include "engine/VexelFont.h"
#include "platform/CodePage1251.h"

namespace {

using vexel::TDeviceCall;

class SystemTextTest : public ::testing::Test {
 protected:
  SystemTextTest() {
    Font.SetVexelScreen(Rec.Screen.get());
    Rec.Screen->Initialize();
    Font.SetFont("Arial Black", 13, {});
    Rec.Screen->BeginScene();
    Rec.Device().Calls.clear();
  }

  fonts_test::TRecordingScreen Rec;
  platform::TFontSystem Fonts{fonts_test::AliasFile()};
  vexel::TVexelFont Font{Fonts};
};

TEST_F(SystemTextTest, MeasuresWithTheFace) {
  EXPECT_GT(Font.TextWidth("W"), Font.TextWidth("i"));
  EXPECT_EQ(Font.TextWidth(""), 0);
  const int32_t line = Font.TextHeight("Track 1");
  EXPECT_EQ(line, Font.Face()->LineHeight());
  EXPECT_GE(line, 17);  // 13 points are 17 pixels
  EXPECT_EQ(Font.TextHeight("Track\r\n1"), 2 * line);
  EXPECT_EQ(Font.TextHeight("a\nb\rc"), 3 * line);
  EXPECT_EQ(Font.TextWidth("ii\r\nWWW"), Font.TextWidth("WWW"));
  EXPECT_EQ(Font.TextWidth(platform::Utf8To1251("Привет")),
            Font.Face()->TextExtent(platform::Utf8To1251("Привет")).Width);
}

TEST_F(SystemTextTest, SetFontMakesTheFaceAndResetsTheColour) {
  Font.SetColor(0x80102030);
  EXPECT_EQ(Font.Red, 0x10);
  EXPECT_EQ(Font.Green, 0x20);
  EXPECT_EQ(Font.Blue, 0x30);
  EXPECT_EQ(Font.Alpha, 0x80);
  EXPECT_TRUE(Font.SetFont("Staccato222 BT", 16, {}));
  EXPECT_EQ(Font.Color, 0xFFFFFFFFu);
  EXPECT_EQ(Font.Red, 255);
  EXPECT_EQ(Font.FontName(), "Staccato222 BT");
  EXPECT_EQ(Font.Size(), 16);
  ASSERT_NE(Font.Face(), nullptr);
  EXPECT_EQ(Font.Face()->Request().PixelHeight, 21);
  EXPECT_NE(Font.GlyphCache(), nullptr);
}

TEST_F(SystemTextTest, GlyphsAreRasterisedOnceAndCached) {
  Font.TextOut(10, 10, "Lap 1/5");
  const int32_t made = Rec.Device().TexturesMade;
  EXPECT_GE(made, 1);
  Font.TextOut(10, 40, "Lap 1/5");
  Font.TextOut(10, 70, "5/1 paL");
  EXPECT_EQ(Rec.Device().TexturesMade, made);
  EXPECT_EQ(Font.GlyphCache()->TexturesMade(), made);
  Font.TextOut(10, 100, "Q");
  EXPECT_EQ(Rec.Device().TexturesMade, made + 1);
}

TEST_F(SystemTextTest, DrawsOneQuadPerInkedCharacterAtItsGlyphPlace) {
  Font.TextOut(100, 200, "A b\nc", 10, 20, 30, 200);
  const auto draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 3u);
  const auto& cache = *Font.GlyphCache();
  const auto& face = *Font.Face();
  const auto expectAt = [&](const TDeviceCall& draw, uint8_t byte, int32_t penX, int32_t top) {
    const auto& glyph = cache.Glyph(byte);
    EXPECT_FLOAT_EQ(draw.Vertices[0].X, static_cast<float>(penX + glyph.Left) - 0.5f);
    EXPECT_FLOAT_EQ(draw.Vertices[0].Y, static_cast<float>(top + glyph.Top) - 0.5f);
    EXPECT_FLOAT_EQ(draw.Vertices[2].X - draw.Vertices[0].X, static_cast<float>(glyph.Width));
    EXPECT_FLOAT_EQ(draw.Vertices[2].Y - draw.Vertices[0].Y, static_cast<float>(glyph.Height));
    EXPECT_FLOAT_EQ(draw.Vertices[0].U, glyph.U0);
    EXPECT_FLOAT_EQ(draw.Vertices[2].V, glyph.V1);
  };
  expectAt(draws[0], 'A', 100, 200);
  expectAt(draws[1], 'b', 100 + face.Advance('A') + face.Advance(' '), 200);
  expectAt(draws[2], 'c', 100, 200 + face.LineHeight());
  for (const auto& vertex : draws[0].Vertices) {
    EXPECT_EQ(vertex.Color, vexel::ModulateColor(0xC80A141E, Rec.Screen->ScreenColor()));
  }
}

TEST_F(SystemTextTest, TheOneColourTextOutUsesTheStoredBytes) {
  Font.SetColor(0xFF000000);
  Font.Red = 250;  // game code writes the byte directly
  Font.TextOut(0, 0, "x");
  const auto draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].Vertices[0].Color, vexel::ModulateColor(0xFFFA0000, 0xFFFFFFFF));
}

TEST_F(SystemTextTest, TextBlendsAsNormalAlphaAndLeavesTheScreensMode) {
  Rec.Screen->SetBlendMode(1);
  Rec.Device().Calls.clear();
  Font.TextOut(0, 0, "x");
  const auto& calls = Rec.Device().Calls;
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front().Kind, TDeviceCall::TKind::Blend);
  EXPECT_EQ(calls.front().Source, vexel::TBlendFactor::SrcAlpha);
  EXPECT_EQ(calls.front().Destination, vexel::TBlendFactor::InvSrcAlpha);
  EXPECT_EQ(calls.back().Kind, TDeviceCall::TKind::Blend);
  EXPECT_EQ(calls.back().Source, vexel::TBlendFactor::One);
  EXPECT_EQ(Rec.Screen->CurrentBlendMode(), 1);
}

TEST_F(SystemTextTest, UnderlinedTextGetsABarUnderEachLine) {
  Font.SetFont("Arial", 10, {.Underline = true});
  Font.TextOut(0, 0, "ab\ncd");
  const auto draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 6u);
  const auto& bar = draws[2];
  EXPECT_FLOAT_EQ(bar.Vertices[0].X, -0.5f);
  EXPECT_FLOAT_EQ(bar.Vertices[1].X, static_cast<float>(Font.TextWidth("ab")) - 0.5f);
  EXPECT_FLOAT_EQ(bar.Vertices[0].Y, static_cast<float>(Font.Face()->UnderlineTop()) - 0.5f);
}

TEST_F(SystemTextTest, NothingIsDrawnWithoutAFaceOrADevice) {
  vexel::TVexelFont bare(Fonts);
  bare.SetVexelScreen(Rec.Screen.get());
  bare.TextOut(0, 0, "text", 255, 255, 255, 255);
  EXPECT_TRUE(Rec.Draws().empty());
  EXPECT_EQ(bare.TextWidth("text"), 0);
  EXPECT_EQ(bare.TextHeight("text"), 0);

  Rec.Screen->Finalize();
  EXPECT_EQ(Font.GlyphCache(), nullptr);
  Font.TextOut(0, 0, "text");
  EXPECT_GT(Font.TextWidth("text"), 0);  // measuring needs no device
}

TEST_F(SystemTextTest, TheGlyphCacheFollowsTheDevice) {
  Font.TextOut(0, 0, "before");
  ASSERT_EQ(Rec.Screen->ResetDevice(), 0);
  ASSERT_NE(Font.GlyphCache(), nullptr);
  EXPECT_EQ(Font.GlyphCache()->TexturesMade(), 0);
  Rec.Screen->Finalize();
  Rec.Screen->Initialize();
  ASSERT_NE(Font.GlyphCache(), nullptr);
  Rec.Screen->BeginScene();
  Font.TextOut(0, 0, "after");
  EXPECT_EQ(Rec.Draws().size(), 5u);
  EXPECT_EQ(Rec.Device().TexturesMade, 1);
}

TEST(SystemTextAlone, AFontSetBeforeTheDeviceIsReadyOnceTheDeviceIs) {
  fonts_test::TRecordingScreen rec;
  const platform::TFontSystem fonts(fonts_test::AliasFile());
  vexel::TVexelFont font(fonts);
  font.SetVexelScreen(rec.Screen.get());
  font.SetFont("Verdana", 30, {});
  EXPECT_EQ(font.GlyphCache(), nullptr);
  rec.Screen->Initialize();
  ASSERT_NE(font.GlyphCache(), nullptr);
  rec.Screen->BeginScene();
  font.TextOut(0, 0, "42");
  EXPECT_EQ(rec.Draws().size(), 2u);
}

TEST(SystemTextSmallDevice, GlyphsSpreadOverPagesAndOversizedOnesAreLeftOut) {
  fonts_test::TRecordingScreen rec(64);
  const platform::TFontSystem fonts(fonts_test::AliasFile());
  vexel::TVexelFont font(fonts);
  font.SetVexelScreen(rec.Screen.get());
  rec.Screen->Initialize();
  rec.Screen->BeginScene();
  font.SetFont("MathSoftText", 15, {});
  const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  font.TextOut(0, 0, text);
  const auto& cache = *font.GlyphCache();
  EXPECT_EQ(cache.PageSide(), 64);
  EXPECT_GT(cache.Glyph('9').Page, 0);
  EXPECT_NE(cache.PageTexture(0), cache.PageTexture(cache.Glyph('9').Page));
  const auto draws = rec.Draws();
  ASSERT_EQ(draws.size(), text.size());
  for (const auto& draw : draws) {
    for (const auto& vertex : draw.Vertices) {
      EXPECT_GE(vertex.U, 0.0f);
      EXPECT_LE(vertex.U, 1.0f);
      EXPECT_LE(vertex.V, 1.0f);
    }
  }
  const auto textures = rec.Device().CallsOf(vexel::TDeviceCall::TKind::Texture);
  EXPECT_EQ(textures.back().Texture, cache.PageTexture(cache.Glyph('9').Page));

  font.SetFont("Verdana", 80, {});
  rec.Device().Calls.clear();
  font.TextOut(0, 0, "W.");
  EXPECT_EQ(font.GlyphCache()->Glyph('W').Page, -1);
  EXPECT_EQ(rec.Draws().size(), 1u);  // only the full stop fits on a page
}

}  // namespace
