// Every kind of font on the real OpenGL back end (Mesa offscreen): text pixels land where the
// fonts measure their text. The frame is saved as fonts-gl.png beside the test program.

#include <gtest/gtest.h>

#include "FontTestSupport.h"
#include "engine/VexelBitmapFont.h"
#include "engine/VexelFont.h"
#include "platform/CodePage1251.h"
#include "platform/GlDevice.h"

namespace {

struct TBox {
  int32_t Left;
  int32_t Top;
  int32_t Right;
  int32_t Bottom;
};

class FontsGlTest : public ::testing::Test {
 protected:
  FontsGlTest() : Window("fonts", 800, 600) {
    Screen = std::make_unique<vexel::TVexelScreen>(std::make_unique<platform::TGlSystem>(Window));
    fonts_test::AddFontPicture(List, "font", 16, 24, 16, 7);
    List.SetVexelScreen(Screen.get());
    ImageFont.SetVexelScreen(Screen.get());
    ImageFont.SetImageList(&List);
    GeneratedFont.SetVexelScreen(Screen.get());
    Screen->Initialize();
    Screen->SetFiltering(true);
  }

  ~FontsGlTest() override {
    SystemFonts.clear();
    ImageFont.SetVexelScreen(nullptr);
    GeneratedFont.SetVexelScreen(nullptr);
    List.SetVexelScreen(nullptr);
  }

  // Writes a line with a system font and returns the box it measures.
  TBox SystemLine(const std::string& face, int32_t size, int32_t x, int32_t y,
                  const std::string& utf8, uint32_t argb) {
    auto& font = *SystemFonts.emplace_back(std::make_unique<vexel::TVexelFont>(Fonts));
    font.SetVexelScreen(Screen.get());
    font.SetFont(face, size, {});
    font.SetColor(argb);
    const std::string text = platform::Utf8To1251(utf8);
    font.TextOut(x, y, text);
    return {x, y, x + font.TextWidth(text), y + font.TextHeight(text)};
  }

  // Writes a line with a bitmap font and returns the box it measures.
  static TBox BitmapLine(vexel::TVexelBitmapFont& font, int32_t x, int32_t y,
                         const std::string& utf8, uint32_t argb) {
    const std::string text = platform::Utf8To1251(utf8);
    font.TextOutColored(static_cast<float>(x), static_cast<float>(y), 0, 1, 1, argb, text, 0);
    return {x, y, x + font.TextWidth(text) + 1, y + font.TextHeight() + 1};
  }

  int32_t Brightness(int32_t x, int32_t y) const {
    const uint32_t pixel = Pixels[static_cast<size_t>(y) * 800 + x];
    return std::max({(pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF}) > 0x60 ? 1 : 0;
  }

  // Lit pixels inside the box, and lit pixels in a margin of 6 pixels around it.
  std::pair<int32_t, int32_t> LitInsideAndAround(const TBox& box) const {
    int32_t inside = 0;
    int32_t around = 0;
    for (int32_t y = box.Top - 6; y < box.Bottom + 6; ++y) {
      for (int32_t x = box.Left - 6; x < box.Right + 6; ++x) {
        const bool within = x >= box.Left && x < box.Right && y >= box.Top && y < box.Bottom;
        (within ? inside : around) += Brightness(x, y);
      }
    }
    return {inside, around};
  }

  platform::TPlatformWindow Window;
  std::unique_ptr<vexel::TVexelScreen> Screen;
  platform::TFontSystem Fonts{fonts_test::AliasFile()};
  vexel::TVexelImageList List;
  vexel::TVexelBitmapFont ImageFont{Fonts};
  vexel::TVexelBitmapFont GeneratedFont{Fonts};
  std::vector<std::unique_ptr<vexel::TVexelFont>> SystemFonts;
  std::vector<uint32_t> Pixels;
};

TEST_F(FontsGlTest, EveryFontKindLightsPixelsWhereItMeasuresItsText) {
  ASSERT_TRUE(GeneratedFont.Generated());  // no image list: the bold Arial fallback
  GeneratedFont.GenerateFont("MathSoftText", vexel::DefaultCharacters(), 0, 17);
  ASSERT_TRUE(GeneratedFont.Generated());
  Screen->Clear(0, 0, 40, 0);
  Screen->BeginScene();
  std::vector<TBox> boxes;
  boxes.push_back(SystemLine("Arial Black", 8, 20, 20, "Lap 2/5   Pos 3/8   1:02:34", 0xFFFFFFFF));
  boxes.push_back(SystemLine("Arial Black", 13, 20, 50, "Track 12 — Трасса 12", 0xFF7885FF));
  boxes.push_back(SystemLine("Arial", 10, 20, 90, "Anonymous  Игрок Ёжик", 0xFFFA5656));
  boxes.push_back(SystemLine("Staccato222 BT", 16, 20, 120, "1  Anonymous  1000", 0xFFFFFFFF));
  boxes.push_back(SystemLine("BinnerD", 17, 20, 160, "New profile: Новый игрок", 0xFFFAFAFA));
  boxes.push_back(SystemLine("MathSoftText", 20, 20, 200, "Delete ВАСЯ_2024?", 0xFFFFFCFC));
  boxes.push_back(SystemLine("Verdana", 30, 20, 240, "Exit in 9", 0xFFFFD040));
  boxes.push_back(BitmapLine(GeneratedFont, 20, 320, "ИГРОК-1 {42} щюя", 0xFFDCDCDC));
  boxes.push_back(BitmapLine(ImageFont, 20, 380, "ЖУК 2024 ~ ёж", 0xFFFFFFFF));
  Screen->EndScene();
  ASSERT_TRUE(Screen->SavePng(fonts_test::OutputFolder() + "/fonts-gl.png"));
  int32_t w = 0;
  int32_t h = 0;
  ASSERT_TRUE(Screen->Device()->ReadBackBuffer(Pixels, w, h));
  ASSERT_EQ(w, 800);
  ASSERT_EQ(h, 600);
  for (size_t i = 0; i < boxes.size(); ++i) {
    const auto [inside, around] = LitInsideAndAround(boxes[i]);
    const int32_t area = (boxes[i].Right - boxes[i].Left) * (boxes[i].Bottom - boxes[i].Top);
    EXPECT_GT(inside, area / 20) << "line " << i;
    EXPECT_EQ(around, 0) << "line " << i;
  }
}

}  // namespace
