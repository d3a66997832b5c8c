// The ring under the player's car: drawn where the car is drawn, however the race's sprites are
// moved on the screen, turned with the car and below it.

#include <gtest/gtest.h>

#include <cmath>

#include "RaceFixture.h"
#include "game/AnglesAndRandom.h"
#include "game/race/PlayerMark.h"

namespace racetest {
namespace {

using game::TPoint2;

/// The direction of a quad's first edge, in degrees.
double EdgeAngle(const std::vector<vexel::TVertex>& quad) {
  return std::atan2(quad[1].Y - quad[0].Y, quad[1].X - quad[0].X) * game::RadToDeg;
}

/// A way the race's sprites can be moved on the screen.
struct TShift {
  const char* Name;
  float CameraX = 0;
  float CameraY = 0;
  float OffsetX = 0;
  float OffsetY = 0;
  double MoveX = 0;
  double MoveY = 0;
  float Rotation = 0;
};

class PlayerMark : public RaceFixture, public ::testing::WithParamInterface<TShift> {
 protected:
  void SetUp() override {
    SelectTrack(PutTrack("mark.prd", MinimalTrack(4)), 4);
    Catalogue.SelectedCar = 0;
    World.OpponentCarTypes = {1, 1, 1, 1};
    game::SetupRace(World);
  }
  void Draw() {
    Screen.BeginScene();
    Device->Calls.clear();
    Engine.Draw();
    Screen.EndScene();
  }
};

TEST_P(PlayerMark, IsCentredOnThePlayersCarAndTurnsWithIt) {
  const TShift& shift = GetParam();
  game::TPlayer& player = *World.Player;
  Engine.CameraX = shift.CameraX;
  Engine.CameraY = shift.CameraY;
  player.OffsetX = shift.OffsetX;
  player.OffsetY = shift.OffsetY;
  player.MoveBy(shift.MoveX, shift.MoveY);
  player.Rotation = shift.Rotation;
  Draw();
  const auto cars = QuadsOf(game::CarImageKey(0));
  const auto marks = QuadsOf("playermark");
  ASSERT_EQ(cars.size(), 1u) << "the player alone drives car type 0";
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_NEAR(Middle(marks[0]).X, Middle(cars[0]).X, 0.51);
  EXPECT_NEAR(Middle(marks[0]).Y, Middle(cars[0]).Y, 0.51);
  EXPECT_NEAR(EdgeAngle(marks[0]), EdgeAngle(cars[0]), 1e-3);
  // The ring's full size (the engine widens quads by half a pixel for pixel centres).
  EXPECT_NEAR(marks[0][1].X - marks[0][0].X, 96 * std::cos(shift.Rotation * game::DegToRad), 0.6);
}

INSTANTIATE_TEST_SUITE_P(Shifts, PlayerMark,
                         ::testing::Values(TShift{"AtItsScreenPoint"},
                                           TShift{"Turned", 0, 0, 0, 0, 0, 0, 37},
                                           TShift{"CameraMoved", 55, -30},
                                           TShift{"OffsetOfTheSprite", 0, 0, 23, 41},
                                           TShift{"SpriteMoved", 0, 0, 0, 0, -120.5, 64.25, -80},
                                           TShift{"AllAtOnce", -15, 12, 7, -9, 33, -2, 200}),
                         [](const auto& p) { return std::string(p.param.Name); });

TEST_F(RaceFixture, PlayerMarkLiesBetweenTheRoadAndTheCars) {
  SelectTrack(PutTrack("depth.prd", MinimalTrack(4)), 4);
  game::SetupRace(World);
  const auto* mark = First<game::TPlayerMark>();
  ASSERT_NE(mark, nullptr);
  EXPECT_LT(mark->Z(), World.Player->Z());
  EXPECT_LT(mark->Z(), World.Enemy(0).Z());
  EXPECT_GT(mark->Z(), 31) << "above the checkpoint lines and the road";
}

TEST_F(RaceFixture, PlayerMarkIsNotDrawnWhileThePlayersCarIsHidden) {
  SelectTrack(PutTrack("hidden.prd", MinimalTrack(4)), 4);
  game::SetupRace(World);
  World.Player->Visible = false;
  Screen.BeginScene();
  Device->Calls.clear();
  Engine.Draw();
  Screen.EndScene();
  EXPECT_TRUE(QuadsOf("playermark").empty());
}

}  // namespace
}  // namespace racetest
