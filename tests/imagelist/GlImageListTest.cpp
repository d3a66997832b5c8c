// Image-list entries drawn by the real OpenGL back end (Mesa offscreen): cells, colour keys and
// scaling as they reach the back buffer.

#include <gtest/gtest.h>

#include "ImageListTestSupport.h"
#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "platform/GlDevice.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kFuchsia = 0xFFFF00FF;
constexpr uint32_t kClear = 0x0A141E;  // the clear colour (10, 20, 30)

class GlImageListTest : public ::testing::Test {
 protected:
  GlImageListTest() : Window("test", 800, 600) {
    Screen = std::make_unique<vexel::TVexelScreen>(std::make_unique<platform::TGlSystem>(Window));
    Screen->Initialize();
    List.SetVexelScreen(Screen.get());
  }
  ~GlImageListTest() override { List.SetVexelScreen(nullptr); }

  uint32_t Pixel(int x, int y) {
    if (Pixels.empty()) {
      int32_t w = 0;
      int32_t h = 0;
      EXPECT_TRUE(Screen->Device()->ReadBackBuffer(Pixels, w, h));
    }
    return Pixels[static_cast<size_t>(y) * 800 + x] & 0x00FFFFFF;
  }

  platform::TPlatformWindow Window;
  std::unique_ptr<vexel::TVexelScreen> Screen;
  vexel::TVexelImageList List;
  std::vector<uint32_t> Pixels;
};

// Opaque colours reach the screen at vertex alpha 254: within a step or two of full.
void ExpectNear(uint32_t pixel, uint32_t expected) {
  for (int shift = 0; shift < 24; shift += 8) {
    EXPECT_NEAR(static_cast<int>(pixel >> shift & 0xFF), static_cast<int>(expected >> shift & 0xFF),
                2)
        << std::hex << pixel << " vs " << expected;
  }
}

TEST_F(GlImageListTest, CellsDrawWithTheirKeyedTexelsShowingTheBackground) {
  // 8 x 4: cell 0 red, cell 1 green with one fuchsia texel at its (1, 1).
  std::vector<uint32_t> pixels(32);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) pixels[static_cast<size_t>(y * 8 + x)] = x < 4 ? kRed : kGreen;
  }
  pixels[1 * 8 + 5] = kFuchsia;
  auto* item = List.ImageList.Add();
  item->Name = "cells";
  item->Picture = imagelisttest::PngPicture(8, 4, pixels);
  item->SetTileWidth(4);
  item->SetTileHeight(4);
  item->Transparent = true;
  item->TransparentColor = 0xFF00FF;
  List.Prepare();
  ASSERT_NE(item->Texture, nullptr);
  Screen->SetFiltering(false);
  Screen->Clear(10, 20, 30, 0);
  Screen->BeginScene();
  item->Draw(100, 100, 1);
  item->DrawSprite(200, 100, 0, 0, 0, 2, 2, ~0u, ~0u, ~0u, ~0u, false, false, 0, 0);
  Screen->EndScene();
  ExpectNear(Pixel(100, 100), 0x00FF00);
  ExpectNear(Pixel(103, 103), 0x00FF00);
  EXPECT_EQ(Pixel(101, 101), kClear);
  EXPECT_EQ(Pixel(104, 100), kClear);
  EXPECT_EQ(Pixel(100, 104), kClear);
  EXPECT_EQ(Pixel(99, 100), kClear);
  ExpectNear(Pixel(200, 100), 0xFF0000);
  ExpectNear(Pixel(207, 107), 0xFF0000);
  EXPECT_EQ(Pixel(208, 100), kClear);
  EXPECT_EQ(Pixel(200, 108), kClear);
}

// On OpenGL a texture has the picture's own size, so the whole picture fills its texture, and its
// texels stay on the device until the pixel test reads them back, colour key applied.
TEST_F(GlImageListTest, TexturesHaveThePicturesOwnSizeAndGiveTheirTexelsBackOnDemand) {
  std::vector<uint32_t> pixels(6 * 3, kRed);
  pixels[1 * 6 + 2] = kFuchsia;
  pixels[2 * 6 + 5] = kGreen;
  auto* item = List.ImageList.Add();
  item->Name = "odd";
  item->SetPicture(imagelisttest::PngPicture(6, 3, pixels));
  item->Transparent = true;
  item->TransparentColor = 0xFF00FF;
  List.Prepare();
  ASSERT_NE(item->Texture, nullptr);
  EXPECT_EQ(item->TextureWidth, 6);
  EXPECT_EQ(item->TextureHeight, 3);
  EXPECT_FALSE(item->Texture->TexelsHeld());
  const std::vector<uint32_t>& texels = item->Texture->Texels();
  ASSERT_EQ(texels.size(), 18u);
  EXPECT_EQ(texels[0], kRed);
  EXPECT_EQ(texels[1 * 6 + 2], 0u);
  EXPECT_EQ(texels[2 * 6 + 5], kGreen);

  Screen->SetFiltering(false);
  Screen->Clear(10, 20, 30, 0);
  Screen->BeginScene();
  item->Draw(300, 200, -1);
  Screen->EndScene();
  ExpectNear(Pixel(300, 200), 0xFF0000);
  ExpectNear(Pixel(305, 202), 0x00FF00);
  EXPECT_EQ(Pixel(302, 201), kClear);
  EXPECT_EQ(Pixel(306, 202), kClear);
  EXPECT_EQ(Pixel(305, 203), kClear);
}

}  // namespace
