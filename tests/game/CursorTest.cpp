// The game's own mouse pointer.

#include <gtest/gtest.h>

#include "engine/RecordingDevice.h"
#include "engine/VexelScreen.h"
#include "game/Cursor.h"
#include "platform/ImageFile.h"

namespace {

class CursorTest : public ::testing::Test {
 protected:
  CursorTest() : Screen(std::make_unique<vexel::TRecordingSystem>()) {
    Screen.Initialize();
    Images.SetVexelScreen(&Screen);
    auto* entry = Images.ImageList.Add();
    entry->Name = "mousecursor";
    vexel::TPicture picture;
    picture.Kind = vexel::TPicture::TKind::Png;
    platform::EncodePng(8 * 32, 32, std::vector<uint32_t>(8 * 32 * 32, 0xFFFFFFFF), picture.Data);
    entry->SetPicture(picture);
    entry->SetTileWidth(32);
    entry->SetTileHeight(32);
    Images.Prepare();
  }
  ~CursorTest() override { Images.SetVexelScreen(nullptr); }

  vexel::TVexelScreen Screen;
  vexel::TVexelImageList Images;
  vexel::TVexelSprite Sprites;
  int32_t PointerX = 123;
  int32_t PointerY = 45;
};

TEST_F(CursorTest, StartsAtThePointerAboveEverything) {
  auto* cursor = Sprites.Create<game::TCursor>(Images, [this](int32_t& x, int32_t& y) {
    x = PointerX;
    y = PointerY;
  });
  EXPECT_EQ(cursor->Name(), "cursor");
  EXPECT_EQ(cursor->Z(), 90000);
  EXPECT_EQ(cursor->Width(), 32);
  EXPECT_EQ(cursor->Height(), 32);
  EXPECT_FLOAT_EQ(cursor->X(), 123);
  EXPECT_FLOAT_EQ(cursor->Y(), 45);
  EXPECT_TRUE(cursor->Collidable);
  EXPECT_TRUE(cursor->PixelCheck);
  PointerX = 700;
  PointerY = 580;
  Sprites.Move(0);
  EXPECT_FLOAT_EQ(cursor->X(), 700);
  EXPECT_FLOAT_EQ(cursor->Y(), 580);
}

TEST_F(CursorTest, CyclesThroughEightCellsOneStepEverySevenMoves) {
  auto* cursor = Sprites.Create<game::TCursor>(Images, nullptr);
  std::vector<int> cells;
  for (int move = 1; move <= 57; ++move) {
    Sprites.Move(0);
    cells.push_back(cursor->PatternIndex());
  }
  EXPECT_EQ(cells[5], 0);  // moves 1..6 keep cell 0
  EXPECT_EQ(cells[6], 1);  // the 7th move advances
  EXPECT_EQ(cells[12], 1);
  EXPECT_EQ(cells[13], 2);  // then every 7 moves
  EXPECT_EQ(cells[48], 7);
  EXPECT_EQ(cells[55], 0);  // after cell 7 comes cell 0
}

}  // namespace
