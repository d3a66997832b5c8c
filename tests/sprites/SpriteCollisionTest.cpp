// Collisions: rectangles with exclusive far edges, the pixel test on real textures, and the hit
// positions each sprite is told.

#include <gtest/gtest.h>

#include <ostream>

#include "SpriteFixture.h"

namespace {

using spritetest::SpriteFixture;
using spritetest::TProbeSprite;
using Strings = std::vector<std::string>;

class SpriteCollisionTest : public SpriteFixture {
 protected:
  // An entry drawn as text rows: '#' opaque white, '.' fully zero, 'a' alpha only (0x01000000),
  // 'b' blue bit only (0x00000001).
  vexel::TImageListItem* Picture(const std::string& name, const Strings& rows,
                                 int32_t tileWidth = 0, int32_t tileHeight = 0) {
    const auto width = static_cast<int32_t>(rows[0].size());
    const auto height = static_cast<int32_t>(rows.size());
    std::vector<uint32_t> texels;
    for (const auto& row : rows) {
      for (char c : row) {
        texels.push_back(c == '#' ? 0xFFFFFFFFu : c == 'a' ? 0x01000000u : c == 'b' ? 1u : 0u);
      }
    }
    return AddImage(name, width, height, tileWidth ? tileWidth : width,
                    tileHeight ? tileHeight : height, texels);
  }

  TProbeSprite* Collider(const std::string& label, vexel::TImageListItem* image, float x, float y,
                         bool pixelCheck = false) {
    auto* sprite = Probe(label, image, x, y);
    sprite->Collidable = true;
    sprite->PixelCheck = pixelCheck;
    return sprite;
  }

  vexel::TImageListItem* Solid = AddSolid("solid", 10, 10);
  vexel::TImageListItem* Clear = AddSolid("clear", 10, 10, 0);
};

void ExpectHit(const TProbeSprite& sprite, const vexel::TSprite* other, int32_t x, int32_t y) {
  ASSERT_EQ(sprite.Hits.size(), 1u) << sprite.Label;
  EXPECT_EQ(sprite.Hits[0].Other, other) << sprite.Label;
  EXPECT_EQ(sprite.Hits[0].X, x) << sprite.Label;
  EXPECT_EQ(sprite.Hits[0].Y, y) << sprite.Label;
}

struct TRectCase {
  float X;
  float Y;
  bool Hit;
  friend void PrintTo(const TRectCase& c, std::ostream* os) {
    *os << "b at (" << c.X << ", " << c.Y << ")" << (c.Hit ? " hits" : " misses");
  }
};

class SpriteRectTest : public SpriteCollisionTest,
                       public ::testing::WithParamInterface<TRectCase> {};

TEST_P(SpriteRectTest, RectanglesMeetOnlyWhenTheyShareAPixel) {
  auto* a = Collider("a", Solid, 0, 0);
  auto* b = Collider("b", Solid, GetParam().X, GetParam().Y);
  a->Collision(b);
  if (!GetParam().Hit) {
    EXPECT_TRUE(Log.empty());
    return;
  }
  EXPECT_EQ(Log, (Strings{"hit a", "hit b"}));
  ExpectHit(*a, b, 0, 0);
  ExpectHit(*b, a, 0, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, SpriteRectTest,
                         ::testing::Values(TRectCase{10, 0, false}, TRectCase{-10, 0, false},
                                           TRectCase{0, 10, false}, TRectCase{0, -10, false},
                                           TRectCase{10, 10, false}, TRectCase{9, 0, true},
                                           TRectCase{0, -9, true}, TRectCase{-9.4f, 9.4f, true},
                                           TRectCase{9.5f, 0, false}, TRectCase{3, 4, true}));

TEST_F(SpriteCollisionTest, TheOtherSpriteHearsFirstWhenItAsks) {
  auto* a = Collider("a", Solid, 0, 0);
  auto* b = Collider("b", Solid, 5, 5);
  b->Collision(a);
  EXPECT_EQ(Log, (Strings{"hit b", "hit a"}));
}

TEST_F(SpriteCollisionTest, OnlyCollidableLiveSpritesMeet) {
  auto* a = Collider("a", Solid, 0, 0);
  auto* b = Collider("b", Solid, 5, 5);
  b->Collidable = false;
  a->Collision(b);
  b->Collision(a);
  a->Collision(nullptr);
  EXPECT_TRUE(Log.empty());
}

TEST_F(SpriteCollisionTest, ANeverPositionedSpriteCollidesWithNothing) {
  auto* ghost = Engine.Create<TProbeSprite>("ghost", Log);
  ghost->Collidable = true;
  auto* a = Collider("a", Solid, -5, -5);
  EXPECT_EQ(ghost->Bounds(), (vexel::TRect{0, 0, 0, 0}));
  ghost->Collision(a);
  a->Collision(ghost);
  ghost->Collision(ghost);
  EXPECT_TRUE(Log.empty());
}

struct TFlagCase {
  bool APixelCheck, APixelOnly, BPixelCheck, BPixelOnly;
  bool Opaque;
  bool Hit;
  friend void PrintTo(const TFlagCase& c, std::ostream* os) {
    *os << "a check/only " << c.APixelCheck << c.APixelOnly << ", b " << c.BPixelCheck
        << c.BPixelOnly << (c.Opaque ? ", opaque" : ", clear") << (c.Hit ? ": hit" : ": none");
  }
};

class SpriteFlagTest : public SpriteCollisionTest,
                       public ::testing::WithParamInterface<TFlagCase> {};

TEST_P(SpriteFlagTest, PixelsDecideOnlyWhenBothAskAndPixelOnlyNeverFallsBackToRectangles) {
  const TFlagCase& c = GetParam();
  auto* image = c.Opaque ? Solid : Clear;
  auto* a = Collider("a", image, 0, 0, c.APixelCheck);
  auto* b = Collider("b", image, 2, 3, c.BPixelCheck);
  a->PixelOnly = c.APixelOnly;
  b->PixelOnly = c.BPixelOnly;
  a->Collision(b);
  EXPECT_EQ(Log.size(), c.Hit ? 2u : 0u);
  if (c.Hit && c.APixelCheck && c.BPixelCheck) {
    ExpectHit(*a, b, 2, 3);  // first shared pixel: the intersection's top-left
    ExpectHit(*b, a, 0, 0);
  } else if (c.Hit) {
    ExpectHit(*a, b, 0, 0);
    ExpectHit(*b, a, 0, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpriteFlagTest,
    ::testing::Values(
        // Transparent pictures: only a decision by rectangles hits.
        TFlagCase{false, false, false, false, false, true},
        TFlagCase{true, false, false, false, false, true},
        TFlagCase{false, false, true, false, false, true},
        TFlagCase{true, false, true, false, false, false},
        TFlagCase{false, true, false, false, false, false},
        TFlagCase{false, false, false, true, false, false},
        TFlagCase{true, true, true, false, false, false},
        // Opaque pictures: the pixel test hits when both ask for it, PixelOnly alone never.
        TFlagCase{true, false, true, false, true, true},
        TFlagCase{true, true, true, true, true, true},
        TFlagCase{false, true, false, false, true, false},
        TFlagCase{true, true, false, false, true, false},
        TFlagCase{false, false, true, true, true, false},
        TFlagCase{false, false, false, false, true, true}));

struct TTexelCase {
  Strings Rows;
  bool Hit;
  int32_t X;
  int32_t Y;
  friend void PrintTo(const TTexelCase& c, std::ostream* os) {
    for (const auto& row : c.Rows) *os << row << "/";
    *os << (c.Hit ? " hit at " : " none ") << c.X << "," << c.Y;
  }
};

class SpriteTexelTest : public SpriteCollisionTest,
                        public ::testing::WithParamInterface<TTexelCase> {};

TEST_P(SpriteTexelTest, TheLastRowAndColumnOfTheOverlapAreNotExamined) {
  // The probe lies wholly inside the solid sprite: the overlap is the probe's own rectangle.
  auto* a = Collider("a", Solid, 0, 0, true);
  auto* b = Collider("b", Picture("probe", GetParam().Rows), 3, 3, true);
  a->Collision(b);
  if (!GetParam().Hit) {
    EXPECT_TRUE(Log.empty());
    return;
  }
  ExpectHit(*a, b, GetParam().X + 3, GetParam().Y + 3);
  ExpectHit(*b, a, GetParam().X, GetParam().Y);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpriteTexelTest,
    ::testing::Values(TTexelCase{{"....", "....", "....", "####"}, false, 0, 0},
                      TTexelCase{{"...#", "...#", "...#", "...#"}, false, 0, 0},
                      TTexelCase{{"...#", "...#", "...#", "####"}, false, 0, 0},
                      TTexelCase{{"....", "....", "..#.", "...."}, true, 2, 2},
                      TTexelCase{{"....", "...#", "..##", "...."}, true, 2, 2},
                      TTexelCase{{"....", ".#..", "#...", "...."}, true, 1, 1},
                      TTexelCase{{"....", "a...", "....", "...."}, true, 0, 1},
                      TTexelCase{{"....", "....", ".b..", "...."}, true, 1, 2},
                      TTexelCase{{"....", "....", "....", "...."}, false, 0, 0}));

struct TMirrorCase {
  bool MirrorX;
  bool MirrorY;
  int32_t X;
  int32_t Y;
  friend void PrintTo(const TMirrorCase& c, std::ostream* os) {
    *os << "mirror x/y " << c.MirrorX << c.MirrorY << " -> " << c.X << "," << c.Y;
  }
};

class SpriteMirrorTest : public SpriteCollisionTest,
                         public ::testing::WithParamInterface<TMirrorCase> {};

TEST_P(SpriteMirrorTest, MirroredSpritesAreSampledWhereTheTexelIsShown) {
  // One opaque texel at (1, 1) of a 6 x 5 picture (whatever the texture's own size).
  auto* dot = Picture("dot", {"......", ".#....", "......", "......", "......"});
  auto* a = Collider("a", Solid, 0, 0, true);
  auto* b = Collider("b", dot, 3, 2, true);
  b->MirrorX = GetParam().MirrorX;
  b->MirrorY = GetParam().MirrorY;
  a->Collision(b);
  ExpectHit(*b, a, GetParam().X, GetParam().Y);
  ExpectHit(*a, b, GetParam().X + 3, GetParam().Y + 2);
}

INSTANTIATE_TEST_SUITE_P(Table, SpriteMirrorTest,
                         ::testing::Values(TMirrorCase{false, false, 1, 1},
                                           TMirrorCase{true, false, 4, 1},
                                           TMirrorCase{false, true, 1, 3},
                                           TMirrorCase{true, true, 4, 3}));

TEST_F(SpriteCollisionTest, BothMirroredSpritesMeetAtTheSameScreenPixel) {
  // a, flipped both ways, shows its texel (1, 1) at local (3, 3); b, flipped left-right, shows
  // its texel (3, 2) at local (2, 2). Both land on screen pixel (11, 23).
  auto* a =
      Collider("a", Picture("corner", {".....", ".#...", ".....", ".....", "....."}), 8, 20, true);
  auto* b = Collider("b", Picture("near", {"......", "......", "...#..", "......"}), 9, 21, true);
  a->MirrorX = a->MirrorY = true;
  b->MirrorX = true;
  a->Collision(b);
  ExpectHit(*a, b, 3, 3);
  ExpectHit(*b, a, 2, 2);
}

TEST_F(SpriteCollisionTest, HitPositionsAreLocalToEachSprite) {
  auto* a = Collider("a", Solid, 10, 20, true);
  auto* b =
      Collider("b", Picture("one", {"......", "......", "..#...", "......", "......", "......"}),
               13, 25, true);
  a->Collision(b);
  EXPECT_EQ(Log, (Strings{"hit a", "hit b"}));
  ExpectHit(*a, b, 5, 7);
  ExpectHit(*b, a, 2, 2);
}

TEST_F(SpriteCollisionTest, ThePixelTestReadsTheCurrentCell) {
  // Two 4 x 4 cells side by side and two stacked: the first cell empty, the second solid.
  auto* row = Picture("row", {"....####", "....####", "....####", "....####"}, 4, 4);
  auto* column =
      Picture("column", {"....", "....", "....", "....", "####", "####", "####", "####"}, 4, 4);
  for (auto* image : {row, column}) {
    Log.clear();
    auto* a = Collider("a", Solid, 0, 0, true);
    auto* b = Collider("b", image, 2, 2, true);
    a->Collision(b);
    EXPECT_TRUE(Log.empty());
    b->SetPatternIndex(1);
    a->Collision(b);
    ExpectHit(*b, a, 0, 0);
    a->Kill();
    b->Kill();
  }
}

TEST_F(SpriteCollisionTest, ASpriteMeetsItselfAtItsCorner) {
  auto* pixels = Collider("pixels", Clear, 30, 40, true);
  pixels->Collision(pixels);
  EXPECT_EQ(Log, (Strings{"hit pixels", "hit pixels"}));
  ASSERT_EQ(pixels->Hits.size(), 2u);
  for (const auto& hit : pixels->Hits) {
    EXPECT_EQ(hit.Other, pixels);
    EXPECT_EQ(hit.X, 0);
    EXPECT_EQ(hit.Y, 0);
  }
}

TEST_F(SpriteCollisionTest, PixelSpritesWithoutAPictureNeverHit) {
  vexel::TVexelImageList unprepared;
  vexel::TImageListItem* bare = unprepared.ImageList.Add();
  bare->SetTileWidth(10);
  bare->SetTileHeight(10);
  auto* a = Collider("a", Solid, 0, 0, true);
  auto* b = Collider("b", bare, 0, 0, true);
  a->Collision(b);
  b->Collision(a);
  EXPECT_TRUE(Log.empty());
}

}  // namespace
