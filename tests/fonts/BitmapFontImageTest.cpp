// Bitmap fonts made from an image-list entry: character map, cells and the exact quads drawn.

#include <gtest/gtest.h>

#include "FontTestSupport.h"
#include "engine/VexelBitmapFont.h"

namespace {

using vexel::TCharUV;
using vexel::TDeviceCall;

constexpr uint32_t kWhite = 0xFFFFFFFF;

class ImageFontTest : public ::testing::Test {
 protected:
  ImageFontTest() {
    // 16 columns x 7 rows of 16 x 24 cells: a 256 x 168 picture in a 256 x 256 texture.
    fonts_test::AddFontPicture(List, "font", 16, 24, 16, 7);
    List.SetVexelScreen(Rec.Screen.get());
    Font.SetVexelScreen(Rec.Screen.get());
    Font.SetImageList(&List);
    Rec.Screen->Initialize();
    Rec.Screen->BeginScene();
    Rec.Device().Calls.clear();
  }

  void Write(float x, float y, const std::string& text, float rotation = 0, float scale = 1) {
    Rec.Device().Calls.clear();
    Font.TextOutColored(x, y, rotation, scale, scale, kWhite, text, 0);
  }

  // The top-left corner of a drawn quad.
  static std::pair<float, float> TopLeft(const TDeviceCall& draw) {
    return {draw.Vertices[0].X, draw.Vertices[0].Y};
  }

  static TCharUV Cell(int32_t index, float textureSide = 256) {
    const float left = static_cast<float>(16 * (index % 16));
    const float top = static_cast<float>(24 * (index / 16));
    return {left / textureSide, top / textureSide, (left + 16) / textureSide,
            (top + 24) / textureSide};
  }

  static void ExpectTexCoords(const TDeviceCall& draw, const TCharUV& uv) {
    ASSERT_EQ(draw.Vertices.size(), 4u);
    EXPECT_FLOAT_EQ(draw.Vertices[0].U, uv.U0);
    EXPECT_FLOAT_EQ(draw.Vertices[0].V, uv.V0);
    EXPECT_FLOAT_EQ(draw.Vertices[1].U, uv.U1);
    EXPECT_FLOAT_EQ(draw.Vertices[1].V, uv.V0);
    EXPECT_FLOAT_EQ(draw.Vertices[2].U, uv.U1);
    EXPECT_FLOAT_EQ(draw.Vertices[2].V, uv.V1);
    EXPECT_FLOAT_EQ(draw.Vertices[3].U, uv.U0);
    EXPECT_FLOAT_EQ(draw.Vertices[3].V, uv.V1);
  }

  fonts_test::TRecordingScreen Rec;
  platform::TFontSystem Fonts{fonts_test::AliasFile()};
  vexel::TVexelImageList List;
  vexel::TVexelBitmapFont Font{Fonts};
};

TEST_F(ImageFontTest, RestoreBuildsTheDefaultCharacterMap) {
  EXPECT_EQ(Font.Characters(), vexel::DefaultCharacters());
  EXPECT_EQ(Font.Characters().size(), 161u);
  EXPECT_EQ(Font.FontName(), "font");
  EXPECT_FALSE(Font.Generated());
  EXPECT_EQ(Font.CellWidth(), 16);
  EXPECT_EQ(Font.CellHeight(), 24);
  const std::pair<int, int> kMap[] = {
      {0x20, 0},   {0x40, 32},  {0xDF, 33},  {0xDD, 65},  {0x5B, 66},  {0x60, 71},
      {0xE9, 72},  {0xFD, 104}, {0x7B, 105}, {0x7E, 108}, {0x41, 109}, {0x5A, 134},
      {0x61, 135}, {0x7A, 160}, {13, -1},    {0x98, -1},  {0x80, -1}};
  for (const auto& [byte, cell] : kMap) EXPECT_EQ(Font.CharMap()[byte], cell) << byte;
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(Font.CharSize()[i], (vexel::TCharSize{16, 24}));
  }
}

TEST_F(ImageFontTest, AByteOutsideTheSetIsSkippedWithoutAdvancing) {
  Write(100, 50,
        "0\x80"
        "1");
  const auto draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(TopLeft(draws[0]), std::make_pair(100.0f, 50.0f));
  EXPECT_EQ(TopLeft(draws[1]), std::make_pair(116.0f, 50.0f));
  ExpectTexCoords(draws[0], Cell(16));
  ExpectTexCoords(draws[1], Cell(17));
}

TEST_F(ImageFontTest, LatinLettersDrawFromTheCellsAfterTheBraces) {
  // The fixture's picture has 112 cells: "A" is cell 109, "C" cell 111.
  Write(100, 50, "AC");
  const auto draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(TopLeft(draws[1]), std::make_pair(116.0f, 50.0f));
  ExpectTexCoords(draws[0], Cell(109));
  ExpectTexCoords(draws[1], Cell(111));
}

TEST_F(ImageFontTest, QuadsHaveNoHalfPixelShiftBeyondTheRenderers) {
  Write(100, 50, "\xDF");
  const auto draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 1u);
  const float kCorners[4][2] = {{100, 50}, {116.5f, 50}, {116.5f, 74.5f}, {100, 74.5f}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(draws[0].Vertices[i].X, kCorners[i][0]) << i;
    EXPECT_FLOAT_EQ(draws[0].Vertices[i].Y, kCorners[i][1]) << i;
  }
  ExpectTexCoords(draws[0], Cell(33));
  const auto textures = Rec.Device().CallsOf(TDeviceCall::TKind::Texture);
  ASSERT_FALSE(textures.empty());
  EXPECT_EQ(textures.back().Texture, List.ImageList.Items(0)->Texture.get());
  EXPECT_NE(textures.back().Texture, nullptr);
}

TEST_F(ImageFontTest, ARepeatedByteMapsToItsFirstPosition) {
  Font.SetCharacters("0A0B");
  EXPECT_EQ(Font.CharMap()['0'], 0);
  EXPECT_EQ(Font.CharMap()['A'], 1);
  EXPECT_EQ(Font.CharMap()['B'], 3);
  EXPECT_EQ(Font.CharMap()[' '], 0);  // the space, not in the set, takes cell 0
  EXPECT_EQ(Font.CharMap()['1'], -1);
  Write(0, 0, "B");
  ASSERT_EQ(Rec.Draws().size(), 1u);
  ExpectTexCoords(Rec.Draws()[0], Cell(3));
  Font.SetCharacters("x y");
  EXPECT_EQ(Font.CharMap()[' '], 1);
  Font.SetCharacters("");
  EXPECT_EQ(Font.Characters(), vexel::DefaultCharacters());
}

TEST_F(ImageFontTest, CarriageReturnStartsTheNextLineAtTheUnadjustedX) {
  Font.LineSpace = 10;
  Write(100, 50, "12\r3");
  auto draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(TopLeft(draws[1]), std::make_pair(116.0f, 50.0f));
  EXPECT_EQ(TopLeft(draws[2]), std::make_pair(100.0f, 84.0f));

  Font.PositionMode = vexel::TBitmapFontPositionMode::pmCenter;
  Write(100, 50, "12\r3");
  draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(TopLeft(draws[0]), std::make_pair(68.0f, 44.0f));
  EXPECT_EQ(TopLeft(draws[2]), std::make_pair(100.0f, 78.0f));
}

struct TCentreCase {
  int32_t CellWidth;
  int32_t CellHeight;
  const char* Text;
  float Left;
  float Up;
};

TEST_F(ImageFontTest, CentredTextStartsHalfTheCellsLeftAndAQuarterCellUp) {
  // Rounding takes halves to the even neighbour: 2.5 -> 2, 7.5 -> 8, 4.5 -> 4, 5.5 -> 6.
  const TCentreCase kCases[] = {{16, 24, "0123456789", 80, 6},
                                {5, 18, "0", 2, 4},
                                {5, 22, "012", 8, 6},
                                {16, 20, "01", 16, 5}};
  Font.PositionMode = vexel::TBitmapFontPositionMode::pmCenter;
  for (const auto& c : kCases) {
    const auto index = List.ImageList.Count();
    fonts_test::AddFontPicture(List, "cells", c.CellWidth, c.CellHeight, 16, 7);
    Font.SetImageIndex(index);
    Write(200, 100, c.Text);
    const auto draws = Rec.Draws();
    ASSERT_FALSE(draws.empty());
    const auto [x, y] = TopLeft(draws[0]);
    EXPECT_FLOAT_EQ(x, 200 - c.Left) << c.Text;
    EXPECT_FLOAT_EQ(y, 100 - c.Up) << c.Text;
  }
}

TEST_F(ImageFontTest, SpacesAdvanceWithoutAQuadAndSpacingFollowsEveryCharacter) {
  Font.Spacing = 3;
  Write(100, 50, "1 2");
  const auto draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(TopLeft(draws[1]), std::make_pair(138.0f, 50.0f));
}

TEST_F(ImageFontTest, CharactersTurnAboutTheirCentreBeforeTheTextTurnsAndScales) {
  Font.CharRotation = 180;
  Font.CenterX = 4;
  Font.CenterY = 6;
  Write(100, 50, "12", 0, 2);
  const auto draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 2u);
  // Turned about (108, 62), then scaled by 2 about (104, 56).
  const float kFirst[4][2] = {{128, 92}, {95, 92}, {95, 43}, {128, 43}};
  // The second character turns about (124, 62).
  const float kSecond[4][2] = {{160, 92}, {127, 92}, {127, 43}, {160, 43}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(draws[0].Vertices[i].X, kFirst[i][0], 1e-3) << i;
    EXPECT_NEAR(draws[0].Vertices[i].Y, kFirst[i][1], 1e-3) << i;
    EXPECT_NEAR(draws[1].Vertices[i].X, kSecond[i][0], 1e-3) << i;
    EXPECT_NEAR(draws[1].Vertices[i].Y, kSecond[i][1], 1e-3) << i;
  }
}

TEST_F(ImageFontTest, TheWholeTextTurnsAboutItsPivot) {
  Font.CenterX = 0;
  Font.CenterY = 0;
  Write(100, 50, "1", 90, 1);
  const auto draws = Rec.Draws();
  ASSERT_EQ(draws.size(), 1u);
  // Quarter turn clockwise about (100, 50): the top-right corner goes below the pivot.
  EXPECT_NEAR(draws[0].Vertices[0].X, 100, 1e-3);
  EXPECT_NEAR(draws[0].Vertices[0].Y, 50, 1e-3);
  EXPECT_NEAR(draws[0].Vertices[1].X, 100, 1e-3);
  EXPECT_NEAR(draws[0].Vertices[1].Y, 66.5, 1e-3);
}

TEST_F(ImageFontTest, CornerColoursAndBlendModeReachTheDevice) {
  Rec.Device().Calls.clear();
  const uint32_t colors[4] = {0xFF102030, 0x80405060, 0xFF708090, 0x40A0B0C0};
  Font.TextOut(0, 0, 0, 1, 1, colors[0], colors[1], colors[2], colors[3], "1", 1);
  auto& calls = Rec.Device().Calls;
  const auto blend = std::find_if(calls.begin(), calls.end(), [](const TDeviceCall& call) {
    return call.Kind == TDeviceCall::TKind::Blend;
  });
  const auto draw = std::find_if(calls.begin(), calls.end(), [](const TDeviceCall& call) {
    return call.Kind == TDeviceCall::TKind::Draw;
  });
  ASSERT_NE(blend, calls.end());
  ASSERT_NE(draw, calls.end());
  EXPECT_LT(blend, draw);
  EXPECT_EQ(blend->Source, vexel::TBlendFactor::One);
  EXPECT_EQ(blend->Destination, vexel::TBlendFactor::One);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(draw->Vertices[i].Color, vexel::ModulateColor(colors[i], 0xFFFFFFFF));
  }
  Rec.Device().Calls.clear();
  Font.TextOutColored(0, 0, 0, 1, 1, 0xFF00FF00, "1", -1);
  EXPECT_TRUE(Rec.Device().CallsOf(TDeviceCall::TKind::Blend).empty());
  EXPECT_EQ(Rec.Screen->CurrentBlendMode(), 1);
  const auto plain = Rec.Draws();
  ASSERT_EQ(plain.size(), 1u);
  for (const auto& vertex : plain[0].Vertices) {
    EXPECT_EQ(vertex.Color, vexel::ModulateColor(0xFF00FF00, 0xFFFFFFFF));
  }
}

TEST_F(ImageFontTest, MeasuresScaledCellsRoundingHalvesToEven) {
  EXPECT_EQ(Font.TextWidth(""), 1);
  EXPECT_EQ(Font.TextWidth("\x98\x98\x98"), 1);
  EXPECT_EQ(Font.TextWidth("0\x98"
                           "1"),
            32);
  Font.Spacing = 5;
  EXPECT_EQ(Font.TextWidth("01"), 32);
  Font.ScaleX = 0.15625f;  // 16 x 0.15625 = 2.5 per character
  EXPECT_EQ(Font.TextWidth("01"), 4);
  Font.ScaleX = 0.21875f;  // 3.5 per character
  EXPECT_EQ(Font.TextWidth("01"), 8);
  EXPECT_EQ(Font.TextHeight(), 24);
  Font.ScaleY = 0.1875f;  // 4.5
  EXPECT_EQ(Font.TextHeight(), 4);
  Font.ScaleY = 0;
  EXPECT_EQ(Font.TextHeight(), 1);
}

TEST_F(ImageFontTest, AnIndexBeyondTheListKeepsTheCells) {
  const auto uv = Font.CharUV();
  Font.SetImageIndex(7);
  EXPECT_EQ(Font.VexelImageIndex(), 7);
  EXPECT_EQ(Font.CharUV(), uv);
  EXPECT_EQ(Font.FontName(), "font");
  Font.SetImageIndex(-1);
  EXPECT_EQ(Font.VexelImageIndex(), 7);
  Write(0, 0, "1");
  EXPECT_EQ(Rec.Draws().size(), 1u);
}

TEST_F(ImageFontTest, CellsPastThePictureUseTheCellAfterTheLast) {
  // 4 columns x 2 rows of 16 x 24 cells in a 64 x 64 texture: eight cells.
  fonts_test::AddFontPicture(List, "small", 16, 24, 4, 2);
  Font.SetImageIndex(1);
  EXPECT_EQ(Font.FontName(), "small");
  const TCharUV last{48 / 64.0f, 24 / 64.0f, 1, 48 / 64.0f};
  const TCharUV after{0, 48 / 64.0f, 16 / 64.0f, 72 / 64.0f};
  EXPECT_EQ(Font.CharUV()[7], last);
  EXPECT_EQ(Font.CharUV()[8], after);
  EXPECT_EQ(Font.CharUV()[9], after);
  EXPECT_EQ(Font.CharUV()[255], after);
}

TEST_F(ImageFontTest, ADeviceResetBringsBackTheImageFont) {
  Font.GenerateFont("MathSoftText", vexel::DefaultCharacters(), 0, 15);
  ASSERT_TRUE(Font.Generated());
  EXPECT_EQ(Font.CharMap()[0x41], 0x41);
  ASSERT_EQ(Rec.Screen->ResetDevice(), 0);
  EXPECT_FALSE(Font.Generated());
  EXPECT_EQ(Font.FontName(), "font");
  EXPECT_EQ(Font.GeneratedTexture(), nullptr);
  EXPECT_EQ(Font.CharMap()[0x41], 109);
  EXPECT_EQ(Font.CellWidth(), 16);
}

TEST_F(ImageFontTest, TintSettersColourAllFourCorners) {
  Font.SetRed(10);
  EXPECT_EQ(Font.Colors(),
            (std::array<uint32_t, 4>{0xFF0AFFFF, 0xFF0AFFFF, 0xFF0AFFFF, 0xFF0AFFFF}));
  Font.SetAlpha(128);
  Font.SetBlue(0);
  EXPECT_EQ(Font.Colors()[2], 0x800AFF00u);
  EXPECT_EQ(Font.Red(), 10);
}

TEST(BitmapFontAlone, DrawsAndMeasuresNothingWithoutScreenOrCells) {
  const platform::TFontSystem fonts(fonts_test::AliasFile());
  vexel::TVexelBitmapFont font(fonts);
  font.TextOutColored(0, 0, 0, 1, 1, kWhite, "0123", 0);
  font.GenerateFont("Arial", vexel::DefaultCharacters(), 0, 12);
  EXPECT_FALSE(font.Generated());
  EXPECT_EQ(font.TextWidth("0123"), 1);
  EXPECT_EQ(font.TextHeight(), 1);
  font.Restore();
  EXPECT_EQ(font.CharMap()['0'], -1);
}

}  // namespace
