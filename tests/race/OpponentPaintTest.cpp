// Opponents in colours of their own: each opponent's car is drawn with its car type's paint
// layer over it, tinted with the opponent's colour, so a field of one car type can be told
// apart; the player's car keeps its own paint, and the track map's dots use the same colours.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "RaceFixture.h"

namespace racetest {
namespace {

/// Distance of two colours in RGB.
double ColourDistance(uint32_t a, uint32_t b) {
  const auto channel = [](uint32_t c, int shift) {
    return static_cast<double>((c >> shift) & 0xFF);
  };
  return std::hypot(channel(a, 16) - channel(b, 16), channel(a, 8) - channel(b, 8),
                    channel(a, 0) - channel(b, 0));
}

/// Colours closer than this are hard to tell apart on small cars.
constexpr double kDistinct = 80;

class OpponentPaint : public RaceFixture {
 protected:
  /// The largest field, every car of car type 0 like the player's, on a track with a road
  /// piece, so that it has a map.
  void SetUp() override {
    std::vector<TRecord> records = MinimalTrack(game::MaxOpponents);
    records.push_back({200, 100, game::TrackKind::RoadHorizontal, 0, 0});
    SelectTrack(PutTrack("paint.prd", records), game::MaxOpponents);
    Catalogue.SelectedCar = 0;
    World.OpponentCarTypes.assign(game::MaxOpponents, 0);
    game::SetupRace(World);
    // The grid runs off the screen's right edge; brought left, every car is on the screen.
    game::ShiftWorld(World, -200, 0);
    Draw();
  }
  void Draw() {
    Screen.BeginScene();
    Device->Calls.clear();
    Engine.Draw();
    Screen.EndScene();
  }
};

TEST_F(OpponentPaint, EveryOpponentIsTintedDistinctlyFromTheOthersAndThePlayer) {
  const auto paints = QuadsOf(game::CarImageKey(0) + "paint");
  ASSERT_EQ(paints.size(), static_cast<size_t>(game::MaxOpponents));
  std::vector<uint32_t> tints;
  for (const auto& quad : paints) {
    for (const vexel::TVertex& v : quad) EXPECT_EQ(v.Color, quad.front().Color);
    EXPECT_GE(quad.front().Color >> 24, 0xFEu) << "opaque";
    tints.push_back(quad.front().Color);
  }
  for (size_t i = 0; i < tints.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(ColourDistance(tints[i], game::kPlayerColour), kDistinct);
    EXPECT_GE(ColourDistance(tints[i], 0xFFFFFFFF), 10) << "not left untinted";
    for (size_t j = i + 1; j < tints.size(); ++j) {
      EXPECT_GE(ColourDistance(tints[i], tints[j]), kDistinct) << i << " and " << j;
    }
  }
}

TEST_F(OpponentPaint, PaintLiesOnItsOwnCarAndNotOnThePlayers) {
  const auto cars = QuadsOf(game::CarImageKey(0));
  const auto paints = QuadsOf(game::CarImageKey(0) + "paint");
  ASSERT_EQ(cars.size(), static_cast<size_t>(game::MaxOpponents + 1));
  const auto same = [](const std::vector<vexel::TVertex>& a, const std::vector<vexel::TVertex>& b) {
    for (size_t k = 0; k < a.size(); ++k) {
      if (std::abs(a[k].X - b[k].X) > 1e-3f || std::abs(a[k].Y - b[k].Y) > 1e-3f) return false;
    }
    return true;
  };
  int painted = 0;
  for (const auto& car : cars) {
    int over = 0;
    for (const auto& paint : paints) over += same(car, paint) ? 1 : 0;
    EXPECT_LE(over, 1);
    painted += over;
    EXPECT_TRUE(SameRgb(car.front().Color, 0xFFFFFFFF)) << "cars themselves are drawn untinted";
  }
  EXPECT_EQ(painted, game::MaxOpponents);
  const double playerX = World.Player->Centre().X;
  for (const auto& paint : paints) {
    double middle = 0;
    for (const vexel::TVertex& v : paint) middle += v.X / 4;
    EXPECT_GT(std::abs(middle - playerX), 20) << "a paint layer over the player's car";
  }
}

TEST_F(OpponentPaint, PaintOffTheScreenIsNotDrawn) {
  World.Enemy(3).MoveBy(0, 2000);
  World.Enemy(5).MoveBy(-3000, 0);
  Draw();
  EXPECT_EQ(QuadsOf(game::CarImageKey(0) + "paint").size(),
            static_cast<size_t>(game::MaxOpponents - 2));
  World.Enemy(3).MoveBy(0, -2000);
  Draw();
  EXPECT_EQ(QuadsOf(game::CarImageKey(0) + "paint").size(),
            static_cast<size_t>(game::MaxOpponents - 1));
}

TEST_F(OpponentPaint, MapDotsUseTheOpponentsAndThePlayersColours) {
  std::vector<uint32_t> dots;
  for (const auto& quad : QuadsOf("mapmarks")) dots.push_back(quad.front().Color);
  const auto drawn = [&dots](uint32_t colour) {
    return std::count_if(dots.begin(), dots.end(),
                         [colour](uint32_t c) { return SameRgb(c, colour); });
  };
  for (int32_t i = 0; i < World.EnemyCount; ++i) {
    EXPECT_EQ(drawn(World.Enemy(i).PaintColour), 1) << i;
  }
  EXPECT_EQ(drawn(game::kPlayerColour), 1);
}

}  // namespace
}  // namespace racetest
