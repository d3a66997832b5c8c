// A frame of sprites (rotated, scaled, tinted, mirrored, in several blending modes) and text in
// both font kinds, drawn by the real OpenGL back end and compared with a reference picture.
// Set CLD_UPDATE_REFERENCE=1 to write a new reference after a deliberate change (and look at it).
// Of the game's own pictures only the widget font (entry 0 of the menu list) is used.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "engine/VexelBitmapFont.h"
#include "engine/VexelFont.h"
#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "engine/VexelSprite.h"
#include "platform/FontSystem.h"
#include "platform/GlDevice.h"
#include "platform/ImageFile.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A 2-cell 64 x 32 arrow: cell 0 cyan, cell 1 orange, transparent around the shape.
vexel::TPicture ArrowPicture() {
  std::vector<uint32_t> argb(128 * 32, 0);
  for (int cell = 0; cell < 2; ++cell) {
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 64; ++x) {
        const int half = 15 - std::abs(y - 16) + (x < 40 ? 0 : (40 - x) / 2);
        if (std::abs(y - 16) < 6 || (x >= 40 && std::abs(y - 16) <= half + 6)) {
          const uint32_t shade = static_cast<uint32_t>(120 + 2 * x);
          argb[static_cast<size_t>(y) * 128 + cell * 64 + x] =
              cell == 0 ? 0xFF000000 | shade << 8 | 0xFF : 0xFFFF0000 | shade << 8;
        }
      }
    }
  }
  vexel::TPicture picture;
  picture.Kind = vexel::TPicture::TKind::Png;
  platform::EncodePng(128, 32, argb, picture.Data);
  return picture;
}

// A soft 64 x 64 white glow.
vexel::TPicture GlowPicture() {
  std::vector<uint32_t> argb(64 * 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const double d = std::hypot(x - 31.5, y - 31.5) / 32.0;
      const auto a = static_cast<uint32_t>(255.0 * std::max(0.0, 1.0 - d));
      argb[static_cast<size_t>(y) * 64 + x] = a << 24 | 0xFFFFFF;
    }
  }
  vexel::TPicture picture;
  picture.Kind = vexel::TPicture::TKind::Png;
  platform::EncodePng(64, 64, argb, picture.Data);
  return picture;
}

vexel::TImageListItem* AddEntry(vexel::TVexelImageList& list, const std::string& name,
                                const vexel::TPicture& picture, int tileWidth, int tileHeight) {
  auto* entry = list.ImageList.Add();
  entry->Name = name;
  entry->SetPicture(picture);
  entry->SetTileWidth(tileWidth);
  entry->SetTileHeight(tileHeight);
  return entry;
}

class SceneReferenceTest : public ::testing::Test {
 protected:
  SceneReferenceTest()
      : Window("scene", 800, 600),
        Screen(std::make_unique<platform::TGlSystem>(Window)),
        Fonts(std::string(CLD_DATA_DIR) + "/fonts/fonts.conf"),
        Text(Fonts),
        Bitmap(Fonts) {
    Menu.ImageList.LoadFromFile(std::string(CLD_DATA_DIR) + "/Data/data1.oil");
    AddEntry(Scene, "arrow", ArrowPicture(), 64, 32);
    AddEntry(Scene, "glow", GlowPicture(), 64, 64);
    Menu.SetVexelScreen(&Screen);
    Scene.SetVexelScreen(&Screen);
    Text.SetVexelScreen(&Screen);
    Bitmap.SetImageList(&Menu);
    Bitmap.SetVexelScreen(&Screen);
    Screen.Initialize();
    Screen.SetFiltering(true);
    Text.SetFont("Arial", 14, {});
  }
  ~SceneReferenceTest() override {
    Bitmap.SetVexelScreen(nullptr);
    Text.SetVexelScreen(nullptr);
    Scene.SetVexelScreen(nullptr);
    Menu.SetVexelScreen(nullptr);
  }

  vexel::TSprite* Sprite(const std::string& key, float x, float y, int z) {
    auto* sprite = Sprites.Create<vexel::TSprite>();
    sprite->SetImage(Scene.ImageList.Find(key));
    sprite->SetX(x);
    sprite->SetY(y);
    sprite->SetZ(z);
    sprite->CenterX = 0.5f;
    sprite->CenterY = 0.5f;
    return sprite;
  }

  void BuildScene() {
    auto* plain = Sprite("arrow", 40, 60, 1);
    plain->SetPatternIndex(0);
    auto* turned = Sprite("arrow", 200, 60, 1);
    turned->Rotation = 30;
    turned->SetPatternIndex(1);
    auto* mirrored = Sprite("arrow", 360, 60, 1);
    mirrored->MirrorX = true;
    auto* scaled = Sprite("arrow", 560, 60, 1);
    scaled->ScaleX = 2;
    scaled->ScaleY = 1.5f;
    scaled->SetPatternIndex(1);
    auto* tinted = Sprite("arrow", 40, 200, 1);
    tinted->Color1 = 0xFFFF0000;
    tinted->Color2 = 0xFF00FF00;
    tinted->Color3 = 0xFF0000FF;
    tinted->Color4 = 0x80FFFFFF;
    auto* faded = Sprite("arrow", 200, 200, 1);
    faded->SetAlpha(100);
    auto* flipped = Sprite("arrow", 360, 200, 1);
    flipped->MirrorY = true;
    flipped->Rotation = -45;
    for (int i = 0; i < 3; ++i) {
      auto* glow = Sprite("glow", 520.0f + 40.0f * static_cast<float>(i), 190, 2);
      glow->SetAdditive(true);
      glow->SetRed(i == 0 ? 255 : 40);
      glow->SetGreen(i == 1 ? 255 : 40);
      glow->SetBlue(i == 2 ? 255 : 40);
    }
    auto* additive = Sprite("arrow", 540, 200, 3);
    additive->BlendMode = 1;
    auto* darken = Sprite("glow", 100, 330, 3);
    darken->BlendMode = 8;
    darken->ScaleX = darken->ScaleY = 3;
    auto* inverted = Sprite("glow", 300, 330, 3);
    inverted->BlendMode = 9;
  }

  void DrawFrame() {
    Screen.Clear(20, 24, 60, 0);
    Screen.BeginScene();
    Scene.ImageList.Find("glow")->DrawColored(400, 510, 0, 0.5f, 0.5f, 12, 3, 0xFF3040A0, false,
                                              false, -1, 2);
    Sprites.Move(0);
    Sprites.Draw();
    Bitmap.TextOut(40, 480, 0, 1, 1, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF00FFFF, 0xFF00FFFF,
                   "0123456789 \xCA\xCE\xCC\xC5\xD2\xC0", 0);
    Bitmap.TextOut(600, 520, 15, 1.5f, 1.5f, 0xFFFF8040, 0xFFFF8040, 0xFFFF8040, 0xFFFF8040,
                   "\xE4\xE5\xF0\xE1\xE8", 0);
    Text.TextOut(40, 530, "System text: Comet Lane Derby \xD2\xF0\xE0\xF1\xF1\xE0", 255, 255, 160,
                 255);
    Screen.EndScene();
  }

  platform::TPlatformWindow Window;
  vexel::TVexelScreen Screen;
  platform::TFontSystem Fonts;
  vexel::TVexelImageList Menu;
  vexel::TVexelImageList Scene;
  vexel::TVexelFont Text;
  vexel::TVexelBitmapFont Bitmap;
  vexel::TVexelSprite Sprites;
};

TEST_F(SceneReferenceTest, FrameMatchesTheReferencePicture) {
  ASSERT_GT(Menu.ImageList.Count(), 0) << "the menu pictures were not built";
  BuildScene();
  DrawFrame();
  const std::string produced = std::string(CLD_OUTPUT_DIR) + "/scene.png";
  const std::string reference = std::string(CLD_REFERENCE_DIR) + "/scene.png";
  ASSERT_TRUE(Screen.SavePng(produced));
  if (const char* update = std::getenv("CLD_UPDATE_REFERENCE"); update && *update == '1') {
    ASSERT_TRUE(Screen.SavePng(reference));
  }
  const auto producedBytes = ReadFile(produced);
  const auto referenceBytes = ReadFile(reference);
  int32_t w1 = 0, h1 = 0, w2 = 0, h2 = 0;
  std::vector<uint32_t> a, b;
  std::string error;
  ASSERT_TRUE(platform::DecodePng(producedBytes.data(), producedBytes.size(), w1, h1, a, error));
  ASSERT_TRUE(platform::DecodePng(referenceBytes.data(), referenceBytes.size(), w2, h2, b, error))
      << "no reference picture at " << reference << ": " << error;
  ASSERT_EQ(w1, w2);
  ASSERT_EQ(h1, h2);
  size_t different = 0;
  double total = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const int d = std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                             static_cast<int>((b[i] >> shift) & 0xFF));
      worst = std::max(worst, d);
      total += d;
    }
    if (worst > 24) ++different;
  }
  EXPECT_LT(different, a.size() / 200) << "pixels far from the reference; see " << produced;
  EXPECT_LT(total / static_cast<double>(a.size() * 3), 1.5) << "see " << produced;
}

}  // namespace
