// Sprites drawn by the real OpenGL back end (offscreen): depth order, mirroring and tint as they
// reach the read-back frame.

#include <gtest/gtest.h>

#include <memory>

#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "engine/VexelSprite.h"
#include "platform/GlDevice.h"
#include "platform/ImageFile.h"

namespace {

class SpriteGlTest : public ::testing::Test {
 protected:
  SpriteGlTest() : Window("sprites", 800, 600) {
    Screen = std::make_unique<vexel::TVexelScreen>(std::make_unique<platform::TGlSystem>(Window));
    Screen->Initialize();
    List.SetVexelScreen(Screen.get());
  }

  // A 4 x 4 entry: left half opaque red, right half opaque blue.
  vexel::TImageListItem* Halves() {
    std::vector<uint32_t> texels;
    for (int i = 0; i < 16; ++i) texels.push_back(i % 4 < 2 ? 0xFFFF0000u : 0xFF0000FFu);
    vexel::TPicture picture;
    picture.Kind = vexel::TPicture::TKind::Png;
    EXPECT_TRUE(platform::EncodePng(4, 4, texels, picture.Data));
    auto* item = List.ImageList.Add();
    item->Name = "halves";
    item->SetPicture(picture);
    List.Prepare();
    return item;
  }

  vexel::TSprite* Place(vexel::TImageListItem* image, float x, float y) {
    auto* sprite = Engine.Create<vexel::TSprite>();
    sprite->SetImage(image);
    sprite->SetX(x);
    sprite->SetY(y);
    return sprite;
  }

  uint32_t Pixel(int x, int y) {
    if (Pixels.empty()) {
      int32_t w = 0;
      int32_t h = 0;
      EXPECT_TRUE(Screen->Device()->ReadBackBuffer(Pixels, w, h));
      EXPECT_EQ(w, 800);
    }
    return Pixels[static_cast<size_t>(y) * 800 + x] & 0x00FFFFFF;
  }

  void Frame() {
    Screen->Clear(0, 0, 0, 0);
    Screen->BeginScene();
    Engine.ClearDead();
    Engine.Move(0);
    Engine.Draw();
    Screen->EndScene();
  }

  platform::TPlatformWindow Window;
  std::unique_ptr<vexel::TVexelScreen> Screen;
  vexel::TVexelImageList List;
  vexel::TVexelSprite Engine;
  std::vector<uint32_t> Pixels;
};

TEST_F(SpriteGlTest, MirroredTintedScaledSpritesInDepthOrder) {
  auto* halves = Halves();
  Place(halves, 10, 10);
  auto* mirrored = Place(halves, 20, 10);
  mirrored->MirrorX = true;
  auto* tinted = Place(halves, 30, 10);
  tinted->SetRed(0);  // red texels turn black, blue ones stay
  auto* big = Place(halves, 40, 10);
  big->ScaleX = big->ScaleY = 4;  // about its top-left corner (39.5, 9.5): x 38 to 56
  // Same depth, overlapping: the one made last lies beneath.
  Place(halves, 100, 10);
  Place(halves, 102, 10);
  Frame();
  // Opaque texels arrive as 254 under the white screen colour and cover what lies beneath.
  EXPECT_EQ(Pixel(10, 10), 0xFE0000u);
  EXPECT_EQ(Pixel(13, 13), 0x0000FEu);
  EXPECT_EQ(Pixel(14, 10), 0u);
  EXPECT_EQ(Pixel(20, 10), 0x0000FEu);
  EXPECT_EQ(Pixel(23, 13), 0xFE0000u);
  EXPECT_EQ(Pixel(30, 10), 0u);
  EXPECT_EQ(Pixel(33, 10), 0x0000FEu);
  EXPECT_EQ(Pixel(37, 20), 0u);
  EXPECT_EQ(Pixel(38, 20), 0xFE0000u);
  EXPECT_EQ(Pixel(45, 20), 0xFE0000u);
  EXPECT_EQ(Pixel(49, 20), 0x0000FEu);
  EXPECT_EQ(Pixel(55, 25), 0x0000FEu);
  EXPECT_EQ(Pixel(56, 20), 0u);
  // The first sprite's blue half wholly covers the other's red.
  EXPECT_EQ(Pixel(102, 12), 0x0000FEu);
  EXPECT_EQ(Pixel(104, 12), 0x0000FEu);  // the lower sprite's own blue half
  EXPECT_EQ(Pixel(106, 12), 0u);
}

// A sprite that ends itself in its first movement step.
class TMayfly : public vexel::TSprite {
 public:
  using TSprite::TSprite;
  void DoMove(float delta) override {
    TSprite::DoMove(delta);
    Kill();
  }
};

TEST_F(SpriteGlTest, ASpriteKilledWhileMovingIsShownThatFrameAndGoneTheNext) {
  auto* mayfly = Engine.Create<TMayfly>();
  mayfly->SetImage(Halves());
  mayfly->SetX(10);
  mayfly->SetY(10);
  Frame();
  EXPECT_EQ(Pixel(10, 10), 0xFE0000u);
  Pixels.clear();
  Frame();
  EXPECT_EQ(Pixel(10, 10), 0u);
  EXPECT_EQ(Engine.Count(), 0);
}

}  // namespace
