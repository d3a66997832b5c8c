// Drawing sprites on the recording device: screen position, camera, culling, the quad handed to
// the device, and the report for an entry that is not bound to a display device.

#include <gtest/gtest.h>

#include <ostream>

#include "SpriteFixture.h"

namespace {

using spritetest::SpriteFixture;
using vexel::TDeviceCall;
using vexel::TSprite;

class SpriteDrawTest : public SpriteFixture {
 protected:
  SpriteDrawTest() {
    Screen.BeginScene();
    Device->Calls.clear();
  }

  TSprite* Block(float x, float y) {
    auto* s = Engine.Create<TSprite>();
    s->SetImage(Image);
    s->SetX(x);
    s->SetY(y);
    return s;
  }

  vexel::TImageListItem* Image = AddSolid("block", 64, 64);
};

struct TPlaceCase {
  float X;
  float OffsetX;
  float CameraX;
  bool IgnoreCamera;
  int32_t ScreenX;
  friend void PrintTo(const TPlaceCase& c, std::ostream* os) {
    *os << "X " << c.X << " offset " << c.OffsetX << " camera " << c.CameraX
        << (c.IgnoreCamera ? " ignored" : "") << " -> " << c.ScreenX;
  }
};

class SpritePlaceTest : public SpriteDrawTest, public ::testing::WithParamInterface<TPlaceCase> {};

TEST_P(SpritePlaceTest, RoundsTheWorldPositionThenTheCameraShift) {
  const TPlaceCase& c = GetParam();
  auto* s = Block(c.X, 0);
  s->OffsetX = c.OffsetX;
  s->IgnoreCamera = c.IgnoreCamera;
  Engine.CameraX = c.CameraX;
  Engine.Draw();
  const auto draws = TakeDraws();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_FLOAT_EQ(draws[0].Vertices[0].X, static_cast<float>(c.ScreenX) - 0.5f);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpritePlaceTest,
    ::testing::Values(TPlaceCase{10, 0, 0, false, 10}, TPlaceCase{10.4f, 0.2f, 0, false, 11},
                      TPlaceCase{10, 0, 0.5f, false, 10}, TPlaceCase{10.5f, 0, 0.5f, false, 11},
                      TPlaceCase{10, 0, 10.5f, false, -1}, TPlaceCase{150, 0, 100, false, 50},
                      TPlaceCase{150, 3, 100, true, 153}));

TEST_F(SpriteDrawTest, ScreenFixedSpritesKeepTheirPlaceWhenTheCameraMoves) {
  auto* world = Block(150, 10);
  auto* fixed = Block(150, 10);
  fixed->IgnoreCamera = true;
  fixed->SetZ(1);
  for (float camera : {0.0f, 100.0f, -37.0f}) {
    Engine.CameraX = camera;
    Engine.CameraY = camera / 2;
    Engine.Draw();
    const auto draws = TakeDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_FLOAT_EQ(draws[0].Vertices[0].X, 150 - camera - 0.5f);
    EXPECT_FLOAT_EQ(draws[0].Vertices[0].Y,
                    static_cast<float>(vexel::RoundCoord(10 - camera / 2)) - 0.5f);
    EXPECT_FLOAT_EQ(draws[1].Vertices[0].X, 149.5f);
    EXPECT_FLOAT_EQ(draws[1].Vertices[0].Y, 9.5f);
  }
  EXPECT_EQ(world->Bounds().Left, 150);  // the camera never moves the collision rectangle
}

struct TCullCase {
  float X;
  float Y;
  bool Drawn;
  friend void PrintTo(const TCullCase& c, std::ostream* os) {
    *os << "(" << c.X << ", " << c.Y << ")" << (c.Drawn ? " drawn" : " culled");
  }
};

class SpriteCullTest : public SpriteDrawTest, public ::testing::WithParamInterface<TCullCase> {};

TEST_P(SpriteCullTest, DrawsWhatTouchesTheDrawingArea) {
  Engine.DrawAreaX2 = 799;
  Engine.DrawAreaY2 = 599;
  Block(GetParam().X, GetParam().Y);
  Engine.Draw();
  EXPECT_EQ(TakeDraws().size(), GetParam().Drawn ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Edges, SpriteCullTest,
                         ::testing::Values(TCullCase{-64, 0, true}, TCullCase{-65, 0, false},
                                           TCullCase{-64.4f, 0, true}, TCullCase{799, 0, true},
                                           TCullCase{800, 0, false}, TCullCase{0, -64, true},
                                           TCullCase{0, -65, false}, TCullCase{0, 599, true},
                                           TCullCase{0, 600, false}, TCullCase{400, 300, true}));

TEST_F(SpriteDrawTest, CullingUsesTheUnscaledSizeAndTheCamera) {
  Engine.DrawAreaX2 = 799;
  Engine.DrawAreaY2 = 599;
  auto* s = Block(35, 0);
  s->ScaleX = 10;  // a scaled quad reaching into the area does not count
  Engine.CameraX = 100;
  Engine.Draw();
  EXPECT_TRUE(TakeDraws().empty());
  Engine.CameraX = 99;
  Engine.Draw();
  EXPECT_EQ(TakeDraws().size(), 1u);
}

TEST_F(SpriteDrawTest, WithoutADrawingAreaEverySpriteIsDrawn) {
  Block(-100000, 5000);
  Block(1e6f, -1e6f);
  Engine.Draw();
  EXPECT_EQ(TakeDraws().size(), 2u);
}

TEST_F(SpriteDrawTest, HiddenAndImagelessSpritesDrawNothingAndSayNothing) {
  Block(0, 0)->Visible = false;
  Engine.Create<TSprite>()->SetX(5);
  testing::internal::CaptureStderr();
  Engine.Draw();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(TakeDraws().empty());
}

TEST_F(SpriteDrawTest, TheQuadOfARotatedScaledMirroredTintedSpriteInACellWithABlendMode) {
  // Two 32 x 32 cells side by side in a 64 x 32 texture.
  auto* cells = AddImage("cells", 64, 32, 32, 32, std::vector<uint32_t>(64 * 32, 0xFF808080u));
  ASSERT_EQ(cells->TextureWidth, 64);
  ASSERT_EQ(cells->TextureHeight, 32);
  auto* s = Engine.Create<TSprite>();
  s->SetImage(cells);
  s->SetX(100.3f);  // drawn at 100
  s->SetY(50.6f);   // drawn at 51
  s->Rotation = 90;
  s->CenterX = s->CenterY = 0.5f;  // pivot (116, 67)
  s->ScaleX = 2;
  s->MirrorX = true;
  s->SetPatternIndex(1);
  s->BlendMode = 1;
  s->Color1 = 0xFFFF0000;
  s->Color2 = 0x8000FF00;
  s->Color3 = 0x400000FF;
  Device->Calls.clear();
  Engine.Draw();

  const auto& calls = Device->Calls;
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].Kind, TDeviceCall::TKind::Blend);
  EXPECT_EQ(calls[0].Source, vexel::TBlendFactor::One);
  EXPECT_EQ(calls[0].Destination, vexel::TBlendFactor::One);
  EXPECT_EQ(calls[1].Kind, TDeviceCall::TKind::Texture);
  EXPECT_EQ(calls[1].Texture, cells->Texture.get());
  ASSERT_EQ(calls[2].Kind, TDeviceCall::TKind::Draw);
  const auto& v = calls[2].Vertices;
  ASSERT_EQ(v.size(), 4u);
  // Unrotated corners (99.5, 50.5), (132, 50.5), (132, 83), (99.5, 83) turned a quarter clockwise
  // about (116, 67), the x offsets from the pivot doubled before the turn.
  const float expected[4][2] = {{132.5f, 34}, {132.5f, 99}, {100, 99}, {100, 34}};
  // Cell 1 spans u 0.5..1; mirrored left-right, the left corners take the right edge.
  const float uv[4][2] = {{1, 0}, {0.5f, 0}, {0.5f, 1}, {1, 1}};
  // Each channel reaches the device as c * 255 >> 8 under the white screen colour.
  const uint32_t colors[4] = {0xFEFE0000u, 0x7F00FE00u, 0x3F0000FEu, 0xFEFEFEFEu};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(v[i].X, expected[i][0], 1e-4);
    EXPECT_NEAR(v[i].Y, expected[i][1], 1e-4);
    EXPECT_FLOAT_EQ(v[i].U, uv[i][0]);
    EXPECT_FLOAT_EQ(v[i].V, uv[i][1]);
    EXPECT_EQ(v[i].Color, colors[i]);
    EXPECT_EQ(v[i].Z, 0);
    EXPECT_EQ(v[i].Rhw, 1);
  }
}

TEST_F(SpriteDrawTest, BlendModeMinusOneLeavesTheDeviceAsItWas) {
  auto* additive = Block(0, 0);
  additive->SetAdditive(true);
  Block(0, 0)->BlendMode = -1;  // drawn first: created later with the same Z
  Engine.Draw();
  EXPECT_EQ(Device->CallsOf(TDeviceCall::TKind::Blend).size(), 1u);
  EXPECT_EQ(Screen.CurrentBlendMode(), 2);
}

TEST_F(SpriteDrawTest, AnEntryWithoutADisplayDeviceIsReportedOnceAndNotDrawn) {
  vexel::TVexelImageList unprepared;
  vexel::TImageListItem* entry = unprepared.ImageList.Add();
  entry->Name = "loose";
  entry->SetTileWidth(16);
  entry->SetTileHeight(16);
  auto* s = Engine.Create<TSprite>();
  s->SetImage(entry);
  testing::internal::CaptureStderr();
  Engine.Draw();
  Engine.Draw();
  // A second sprite on the same entry is not reported again either.
  Engine.Create<TSprite>()->SetImage(entry);
  Engine.Draw();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "[Error] No VexelImageList assigned to sprite!\n");
  EXPECT_TRUE(TakeDraws().empty());
}

}  // namespace
