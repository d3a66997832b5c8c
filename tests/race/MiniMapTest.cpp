// The track map of the HUD: made from the track's road pieces, with the player's dot following
// the player's car and the checkpoint ring moving on when a checkpoint is passed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "RaceFixture.h"
#include "game/race/CheckLine.h"
#include "game/race/MiniMap.h"
#include "game/race/RoadPart.h"
#include "platform/VirtualKeys.h"

namespace racetest {
namespace {

using game::TPoint2;

class MiniMap : public RaceFixture {
 protected:
  /// MinimalTrack with an L of road: a horizontal straight over the top of a vertical one at
  /// its right end, so the bottom left of their box is bare.
  void SetUpTrack(bool withRoad = true) {
    std::vector<TRecord> records = MinimalTrack(4);
    if (withRoad) {
      records.push_back({200, 100, game::TrackKind::RoadHorizontal, 0, 0});
      records.push_back({360, 260, game::TrackKind::RoadVertical, 0, 0});
    }
    SelectTrack(PutTrack("map.prd", records), 4);
    game::SetupRace(World);
    Map = First<game::TMiniMap>();
    ASSERT_NE(Map, nullptr);
  }
  /// The alpha of the map pixel under a point of the world as it lies now.
  uint32_t AlphaAt(const TPoint2& world) const {
    const TPoint2 at = Map->MapPoint(world);
    const auto x = static_cast<int32_t>(std::floor(at.X)) - Map->MapLeft();
    const auto y = static_cast<int32_t>(std::floor(at.Y)) - Map->MapTop();
    EXPECT_TRUE(x >= 0 && y >= 0 && x < Map->MapWidth() && y < Map->MapHeight()) << x << "," << y;
    if (x < 0 || y < 0 || x >= Map->MapWidth() || y >= Map->MapHeight()) return 0;
    return Map->MapPixels()[static_cast<size_t>(y * Map->MapWidth() + x)] >> 24;
  }
  const game::TCheckLine& Line(int32_t number) const {
    for (vexel::TSprite* sprite : Engine.SpriteList()) {
      if (auto* line = dynamic_cast<game::TCheckLine*>(sprite); line && line->Number == number) {
        return *line;
      }
    }
    throw std::runtime_error("no checkpoint line " + std::to_string(number));
  }
  void Draw() {
    Screen.BeginScene();
    Device->Calls.clear();
    Engine.Draw();
    Screen.EndScene();
  }

  game::TMiniMap* Map = nullptr;
};

TEST_F(MiniMap, IsMadeOfTheRoadPiecesAndFitsTheDeck) {
  SetUpTrack();
  ASSERT_TRUE(Map->HasMap());
  // The L is 320 x 480 world pixels; the map is at most 54 high.
  EXPECT_EQ(Map->MapHeight(), 54);
  EXPECT_EQ(Map->MapWidth(), 36);
  EXPECT_GE(Map->MapLeft(), 226);
  EXPECT_LE(Map->MapLeft() + Map->MapWidth(), 666);
  EXPECT_GE(Map->MapTop(), 524);
  EXPECT_LE(Map->MapTop() + Map->MapHeight(), 590);
  int pieces = 0;
  for (vexel::TSprite* sprite : Engine.SpriteList()) {
    auto* piece = dynamic_cast<game::TRoadPart*>(sprite);
    if (!piece) continue;
    ++pieces;
    EXPECT_GT(AlphaAt(piece->Centre()), 200u) << piece->Name();
  }
  ASSERT_EQ(pieces, 2);
  const game::TRoadPart* top = nullptr;
  for (vexel::TSprite* sprite : Engine.SpriteList()) {
    if (sprite->Name() == "roadstr") top = dynamic_cast<game::TRoadPart*>(sprite);
  }
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(AlphaAt({top->X() + 80.0, top->Y() + 320.0}), 0u) << "the bare corner of the L";
  // Two thirds of the box is road.
  const auto road = std::count_if(Map->MapPixels().begin(), Map->MapPixels().end(),
                                  [](uint32_t p) { return (p >> 24) != 0; });
  const double share = static_cast<double>(road) / static_cast<double>(Map->MapPixels().size());
  EXPECT_NEAR(share, 2.0 / 3.0, 0.06);
}

TEST_F(MiniMap, PlayerDotFollowsThePlayerWhileTheRoadStaysPut) {
  SetUpTrack();
  game::TPlayer& player = *World.Player;
  const game::TRoadPart& piece = *First<game::TRoadPart>();
  const TPoint2 roadBefore = Map->MapPoint(piece.Centre());
  const TPoint2 before = Map->MapPoint(player.Centre());
  World.ReleaseStart();
  KeyDown[platform::VK_UP] = true;
  for (int n = 0; n < 150; ++n) Frame();
  const TPoint2 after = Map->MapPoint(player.Centre());
  // The grid faces +x: the dot moves right, by the distance driven at the map's scale.
  EXPECT_GT(after.X - before.X, 2.0);
  EXPECT_NEAR(after.Y, before.Y, 0.5);
  const TPoint2 roadAfter = Map->MapPoint(piece.Centre());
  EXPECT_NEAR(roadAfter.X, roadBefore.X, 0.01);
  EXPECT_NEAR(roadAfter.Y, roadBefore.Y, 0.01);

  Draw();
  bool drawn = false;
  for (const auto& quad : QuadsOf("mapmarks")) {
    if (!SameRgb(quad.front().Color, game::kPlayerColour)) continue;
    drawn = true;
    EXPECT_NEAR(Middle(quad).X, after.X, 1.0);
    EXPECT_NEAR(Middle(quad).Y, after.Y, 1.0);
  }
  EXPECT_TRUE(drawn) << "no dot in the player's colour";
}

TEST_F(MiniMap, CheckpointRingMovesOnWhenTheCheckpointIsPassed) {
  SetUpTrack();
  game::TPlayer& player = *World.Player;
  ASSERT_EQ(player.NextCheckpoint, 0);
  TPoint2 mark;
  ASSERT_TRUE(Map->NextCheckpointMark(mark));
  const TPoint2 first = Map->MapPoint(Line(0).Centre());
  EXPECT_NEAR(mark.X, first.X, 1e-6);
  EXPECT_NEAR(mark.Y, first.Y, 1e-6);

  // The world moved so that line 0 lies under the player's car: the next frame passes it.
  const TPoint2 car = player.Centre();
  const TPoint2 line = Line(0).Centre();
  game::ShiftWorld(World, car.X - line.X, car.Y - line.Y);
  Frame();
  ASSERT_EQ(player.NextCheckpoint, 1);
  ASSERT_TRUE(Map->NextCheckpointMark(mark));
  const TPoint2 second = Map->MapPoint(Line(1).Centre());
  EXPECT_NEAR(mark.X, second.X, 1e-6);
  EXPECT_NEAR(mark.Y, second.Y, 1e-6);
  EXPECT_GT(std::hypot(second.X - first.X, second.Y - first.Y), 5.0);

  Draw();
  // The ring is the one mark drawn in the checkpoint colour's hue, larger than the dots.
  bool ring = false;
  for (const auto& quad : QuadsOf("mapmarks")) {
    const double width = quad[1].X - quad[0].X;
    if (width < 12) continue;
    const TPoint2 at = Middle(quad);
    if (std::abs(at.X - second.X) < 1.0 && std::abs(at.Y - second.Y) < 1.0) ring = true;
  }
  EXPECT_TRUE(ring) << "no ring drawn at checkpoint 1";
}

TEST_F(MiniMap, TrackWithoutRoadPiecesHasNoMapAndDrawsNone) {
  SetUpTrack(false);
  EXPECT_FALSE(Map->HasMap());
  Draw();
  EXPECT_TRUE(QuadsOf("mapmarks").empty());
}

TEST_F(MiniMap, StaysOnTheHudWhenTheCameraMoves) {
  SetUpTrack();
  Draw();
  const auto still = QuadsOf("minimap");
  ASSERT_EQ(still.size(), 1u);
  Engine.CameraX = 37;
  Engine.CameraY = -21;
  Draw();
  const auto moved = QuadsOf("minimap");
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_FLOAT_EQ(moved[0][0].X, still[0][0].X);
  EXPECT_FLOAT_EQ(moved[0][0].Y, still[0][0].Y);
}

TEST_F(MiniMap, ASecondRaceRemakesTheMapPicture) {
  SetUpTrack();
  const vexel::TImageListItem* picture = Images.ImageList.Find("minimap");
  ASSERT_NE(picture, nullptr);
  const std::vector<uint8_t> first = picture->Picture.Data;
  EXPECT_EQ(picture->ImageWidth, 428) << "the deck's backing and the map are one picture";
  vexel::TVexelSprite engine;
  game::TRaceWorld other(engine, Images, Catalogue, Random, KeyDown, KeyReleased, Dir);
  std::vector<TRecord> records = MinimalTrack(4);
  records.push_back({200, 100, game::TrackKind::RoadHorizontal, 0, 0});
  SelectTrack(PutTrack("flat.prd", records), 4);
  game::SetupRace(other);
  const game::TMiniMap* flat = nullptr;
  for (vexel::TSprite* sprite : engine.SpriteList()) {
    if (auto* found = dynamic_cast<game::TMiniMap*>(sprite)) flat = found;
  }
  ASSERT_NE(flat, nullptr);
  // A 320 x 160 straight alone: the map's height bounds it, 108 x 54.
  EXPECT_EQ(flat->MapWidth(), 108);
  EXPECT_EQ(flat->MapHeight(), 54);
  EXPECT_EQ(Images.ImageList.Find("minimap"), picture) << "one entry, made again";
  EXPECT_NE(picture->Picture.Data, first);
}

}  // namespace
}  // namespace racetest
