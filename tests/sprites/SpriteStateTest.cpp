// A sprite's own state: position setters, tint, animation cells and Assign.

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "SpriteFixture.h"

namespace {

using spritetest::SpriteFixture;
using vexel::TRect;
using vexel::TSprite;

class SpriteStateTest : public SpriteFixture {};

TEST_F(SpriteStateTest, SetXAndSetYMoveCornersBoundsAndMiddle) {
  auto* s = Engine.Create<TSprite>();
  s->SetWidth(20);
  s->SetHeight(8);
  s->SetX(10.5f);
  s->SetY(-3.25f);
  EXPECT_EQ(s->Bounds(), (TRect{11, -3, 31, 5}));
  EXPECT_FLOAT_EQ(s->Corner1X(), 30.5f);
  EXPECT_FLOAT_EQ(s->Corner2X(), 30.5f);
  EXPECT_FLOAT_EQ(s->Corner3X(), 10.5f);
  EXPECT_FLOAT_EQ(s->Corner1Y(), -3.25f);
  EXPECT_FLOAT_EQ(s->Corner2Y(), 4.75f);
  EXPECT_FLOAT_EQ(s->Corner3Y(), 4.75f);
  EXPECT_FLOAT_EQ(s->MidX(), 20.5f);
  EXPECT_FLOAT_EQ(s->MidY(), 0.75f);
}

TEST_F(SpriteStateTest, SetWidthAndHeightMoveOnlyTheFarEdgesOfBounds) {
  auto* s = Engine.Create<TSprite>();
  s->SetX(100);
  s->SetY(50);
  s->SetWidth(64);
  s->SetHeight(32);
  EXPECT_EQ(s->Bounds(), (TRect{100, 50, 164, 82}));
  EXPECT_FLOAT_EQ(s->Corner1X(), 110);  // still from the old width
  EXPECT_FLOAT_EQ(s->MidX(), 105);
  EXPECT_FLOAT_EQ(s->Corner2Y(), 60);
  EXPECT_FLOAT_EQ(s->MidY(), 55);
  s->SetX(100);
  EXPECT_FLOAT_EQ(s->Corner1X(), 164);
  EXPECT_FLOAT_EQ(s->MidX(), 132);
}

TEST_F(SpriteStateTest, BoundsOfASpriteFarOffTheMapSaturateInsteadOfWrapping) {
  // A damaged track file can place an object anywhere a float reaches.
  auto* s = Engine.Create<TSprite>();
  s->SetWidth(64);
  s->SetHeight(64);
  s->SetX(3e12f);
  s->SetY(-3e12f);
  const TRect far = s->Bounds();
  EXPECT_EQ(far.Left, INT32_MAX);
  EXPECT_EQ(far.Right, INT32_MAX);
  EXPECT_EQ(far.Top, INT32_MIN);
  EXPECT_EQ(far.Bottom, INT32_MIN + 64);
  s->SetY(3e12f);
  s->SetHeight(10);
  EXPECT_EQ(s->Bounds().Bottom, INT32_MAX);
}

TEST_F(SpriteStateTest, SetImageTakesTheTileSizeAndRecomputesTheGeometry) {
  auto* image = AddImage("strip", 96, 20, 32, 20, std::vector<uint32_t>(96 * 20, 0xFF000000u));
  auto* s = Engine.Create<TSprite>();
  s->SetX(4);
  s->SetY(6);
  s->SetImage(image);
  EXPECT_EQ(s->Image(), image);
  EXPECT_EQ(s->Width(), 32);
  EXPECT_EQ(s->Height(), 20);
  EXPECT_EQ(s->Bounds(), (TRect{4, 6, 36, 26}));
  EXPECT_FLOAT_EQ(s->Corner2X(), 36);
  EXPECT_FLOAT_EQ(s->Corner2Y(), 26);
  EXPECT_FLOAT_EQ(s->MidX(), 20);
  EXPECT_FLOAT_EQ(s->MidY(), 16);
}

TEST_F(SpriteStateTest, SetImageAloneStartsBoundsAtTheOrigin) {
  auto* image = AddSolid("block", 12, 7);
  auto* s = Engine.Create<TSprite>();
  s->SetImage(image);
  EXPECT_EQ(s->Bounds(), (TRect{0, 0, 12, 7}));
}

TEST_F(SpriteStateTest, ComponentSettersRebuildAllFourVertexColours) {
  auto* s = Engine.Create<TSprite>();
  s->Color2 = 0x12345678;
  s->SetAlpha(0x80);
  EXPECT_EQ(s->Color1, 0x80FFFFFFu);
  EXPECT_EQ(s->Color2, 0x80FFFFFFu);
  s->SetRed(0x10);
  s->SetGreen(0x20);
  s->SetBlue(0x130);  // only the low byte is packed
  for (uint32_t c : {s->Color1, s->Color2, s->Color3, s->Color4}) EXPECT_EQ(c, 0x80102030u);
  EXPECT_EQ(s->Blue(), 0x130);
}

TEST_F(SpriteStateTest, SetAdditiveChoosesTheBlendMode) {
  auto* s = Engine.Create<TSprite>();
  s->SetAdditive(true);
  EXPECT_TRUE(s->Additive());
  EXPECT_EQ(s->BlendMode, 2);
  s->BlendMode = 7;
  s->SetAdditive(false);
  EXPECT_EQ(s->BlendMode, 0);
}

// A 3 x 2 grid of 10 x 8 cells in a 35 x 17 picture (the odd pixels are no cell).
class SpritePatternTest : public SpriteFixture {
 protected:
  SpritePatternTest()
      : Grid(AddImage("grid", 35, 17, 10, 8, std::vector<uint32_t>(35 * 17, 0xFF000000u))),
        Sprite(Engine.Create<TSprite>()) {
    Sprite->SetImage(Grid);
  }
  vexel::TImageListItem* Grid;
  TSprite* Sprite;
};

struct TCellCase {
  int32_t Index;
  int32_t Selected;
  int32_t Left;
  int32_t Top;
  friend void PrintTo(const TCellCase& c, std::ostream* os) {
    *os << c.Index << " -> cell " << c.Selected << " at " << c.Left << "," << c.Top;
  }
};

class SpritePatternIndexTest : public SpritePatternTest,
                               public ::testing::WithParamInterface<TCellCase> {};

TEST_P(SpritePatternIndexTest, SelectsTheCellAndClampsAboveTheLast) {
  const TCellCase& c = GetParam();
  Sprite->SetPatternIndex(c.Index);
  EXPECT_EQ(Sprite->PatternIndex(), c.Selected);
  EXPECT_EQ(Sprite->PatternLeft(), c.Left);
  EXPECT_EQ(Sprite->PatternTop(), c.Top);
}

INSTANTIATE_TEST_SUITE_P(Cells, SpritePatternIndexTest,
                         ::testing::Values(TCellCase{0, 0, 0, 0}, TCellCase{2, 2, 20, 0},
                                           TCellCase{3, 3, 0, 8}, TCellCase{5, 5, 20, 8},
                                           TCellCase{6, 5, 20, 8}, TCellCase{1000, 5, 20, 8}));

TEST_F(SpritePatternTest, GetPatternRectClampsAndStoresTheIndex) {
  TRect rect{1, 2, 3, 4};
  Sprite->SetPatternIndex(-4);
  Sprite->GetPatternRect(rect);
  EXPECT_EQ(Sprite->PatternIndex(), 0);
  EXPECT_EQ(rect, (TRect{0, 0, 10, 8}));
  Sprite->SetPatternIndex(4);
  Sprite->GetPatternRect(rect);
  EXPECT_EQ(rect, (TRect{10, 8, 20, 16}));
}

TEST_F(SpritePatternTest, WithoutAnImageTheIndexIsStoredAsGiven) {
  auto* bare = Engine.Create<TSprite>();
  bare->SetPatternIndex(99);
  EXPECT_EQ(bare->PatternIndex(), 99);
  EXPECT_EQ(bare->PatternLeft(), 0);
  TRect rect{1, 2, 3, 4};
  bare->GetPatternRect(rect);
  EXPECT_EQ(rect, (TRect{}));
}

// Logs the virtual setters Assign goes through.
class TSetterLog : public TSprite {
 public:
  TSetterLog(vexel::TVexelSprite& engine, std::vector<std::string>& log)
      : TSprite(engine), Log_(log) {}
  void SetName(const std::string& v) override {
    Note("Name", [&] { TSprite::SetName(v); });
  }
  void SetX(float v) override {
    Note("X", [&] { TSprite::SetX(v); });
  }
  void SetY(float v) override {
    Note("Y", [&] { TSprite::SetY(v); });
  }
  void SetZ(int32_t v) override {
    Note("Z", [&] { TSprite::SetZ(v); });
  }
  void SetRed(int32_t v) override {
    Note("Red", [&] { TSprite::SetRed(v); });
  }
  void SetGreen(int32_t v) override {
    Note("Green", [&] { TSprite::SetGreen(v); });
  }
  void SetBlue(int32_t v) override {
    Note("Blue", [&] { TSprite::SetBlue(v); });
  }
  void SetAlpha(int32_t v) override {
    Note("Alpha", [&] { TSprite::SetAlpha(v); });
  }
  void SetPatternIndex(int32_t v) override {
    Note("PatternIndex", [&] { TSprite::SetPatternIndex(v); });
  }
  void SetImage(vexel::TImageListItem* v) override {
    Note("Image", [&] { TSprite::SetImage(v); });
  }
  void SetWidth(int32_t v) override {
    Note("Width", [&] { TSprite::SetWidth(v); });
  }
  void SetHeight(int32_t v) override {
    Note("Height", [&] { TSprite::SetHeight(v); });
  }

 private:
  template <class F>
  void Note(const char* name, F call) {
    Log_.push_back(name);
    call();
  }
  std::vector<std::string>& Log_;
};

TEST_F(SpritePatternTest, AssignCopiesInItsOrderThroughTheSetters) {
  auto* wide = AddImage("wide", 40, 10, 20, 10, std::vector<uint32_t>(400, 0xFF000000u));
  auto* source = Engine.Create<TSprite>();
  source->SetImage(wide);
  source->SetName("source");
  source->SetZ(4);
  source->SetX(7.25f);
  source->SetY(9.5f);
  source->SetAlpha(90);
  source->SetRed(10);
  source->Color3 = 0x01020304;
  source->SetPatternIndex(1);
  source->Collidable = source->PixelCheck = source->PixelOnly = true;
  source->Rotation = 33;
  source->ScaleX = 2;
  source->ScaleY = 3;
  source->OffsetX = 4;
  source->OffsetY = 5;
  source->CenterX = 0.25f;
  source->CenterY = 0.75f;
  source->MirrorX = source->MirrorY = true;
  source->BlendMode = 6;
  source->Visible = false;
  source->IgnoreCamera = true;
  source->SetAdditive(true);
  source->BlendMode = 9;
  source->Kill();

  std::vector<std::string> calls;
  auto* copy = Engine.Create<TSetterLog>(calls);
  copy->SetImage(Grid);
  copy->SetWidth(3);
  calls.clear();
  copy->Assign(*source);

  EXPECT_EQ(calls, (std::vector<std::string>{"Name", "Z", "Red", "Green", "Blue", "Alpha",
                                             "PatternIndex", "Image", "X", "Y"}));
  EXPECT_EQ(copy->Name(), "source");
  EXPECT_EQ(copy->Z(), 4);
  // Re-sorted in front of the source, the other Z 4 sprite.
  EXPECT_EQ(Engine.SpriteList(), (std::vector<TSprite*>{Sprite, copy, source}));
  EXPECT_FLOAT_EQ(copy->X(), 7.25f);
  EXPECT_FLOAT_EQ(copy->Y(), 9.5f);
  EXPECT_EQ(copy->Image(), wide);
  EXPECT_EQ(copy->Bounds(), (TRect{7, 10, 27, 20}));
  EXPECT_FLOAT_EQ(copy->Corner1X(), 27.25f);
  EXPECT_FLOAT_EQ(copy->MidY(), 14.5f);
  // Individual vertex tints win over the components.
  EXPECT_EQ(copy->Red(), 10);
  EXPECT_EQ(copy->Alpha(), 90);
  EXPECT_EQ(copy->Color1, 0x5A0AFFFFu);
  EXPECT_EQ(copy->Color3, 0x01020304u);
  // The cell was chosen on the grid image the copy had then: cell 1 of 10 x 8 cells.
  EXPECT_EQ(copy->PatternIndex(), 1);
  EXPECT_EQ(copy->PatternLeft(), 10);
  EXPECT_TRUE(copy->Collidable && copy->PixelCheck && copy->PixelOnly);
  EXPECT_FLOAT_EQ(copy->Rotation, 33);
  EXPECT_EQ((std::vector<float>{copy->ScaleX, copy->ScaleY, copy->OffsetX, copy->OffsetY,
                                copy->CenterX, copy->CenterY}),
            (std::vector<float>{2, 3, 4, 5, 0.25f, 0.75f}));
  EXPECT_TRUE(copy->MirrorX && copy->MirrorY && copy->IgnoreCamera);
  EXPECT_FALSE(copy->Visible);
  EXPECT_EQ(copy->BlendMode, 9);
  // Not copied.
  EXPECT_FALSE(copy->Additive());
  EXPECT_FALSE(copy->Dead());
}

}  // namespace
