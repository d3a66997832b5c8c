// The race's view: the look-ahead target for each direction and speed, the spring that follows
// it without jumps, and the race drawn shifted by the view while the HUD stays put.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "RaceFixture.h"
#include "game/AnglesAndRandom.h"
#include "game/race/Background.h"
#include "game/race/MiniMap.h"
#include "game/race/Panel.h"
#include "game/race/RaceCamera.h"
#include "game/race/RadarArrow.h"
#include "game/race/SpeedArrow.h"

namespace racetest {
namespace {

using game::TCameraMode;
using game::TPoint2;
using game::TRaceCamera;

// Where the car is drawn for a view offset.
TPoint2 CarOnScreen(const TPoint2& offset) {
  return {game::PlayerScreenX - offset.X, game::PlayerScreenY - offset.Y};
}

bool InSafeRectangle(const TPoint2& car) {
  return car.X >= TRaceCamera::kSafeLeft && car.X <= TRaceCamera::kSafeRight &&
         car.Y >= TRaceCamera::kSafeTop && car.Y <= TRaceCamera::kSafeBottom;
}

struct TTargetCase {
  const char* Name;
  TPoint2 Velocity;
  TPoint2 Car;  // where the car is drawn once the view has settled
};

class CameraTarget : public ::testing::TestWithParam<TTargetCase> {};

TEST_P(CameraTarget, PutsTheCarWhereTheRoadAheadShows) {
  const TPoint2 car = CarOnScreen(TRaceCamera::TargetOffset(GetParam().Velocity));
  EXPECT_NEAR(car.X, GetParam().Car.X, 1e-9);
  EXPECT_NEAR(car.Y, GetParam().Car.Y, 1e-9);
  EXPECT_TRUE(InSafeRectangle(car));
}

const double kDiagonal = std::sqrt(0.5);

const TTargetCase kTargets[] = {
    {"Standing", {0, 0}, {396, 260}},
    {"EastAtFullSpeed", {10, 0}, {136, 260}},
    {"EastFasterThanFullSpeed", {12, 0}, {136, 260}},
    {"WestAtHalfSpeed", {-5, 0}, {526, 260}},
    {"NorthAtFullSpeed", {0, -10}, {396, 410}},
    {"NorthFasterStaysClearOfTheHud", {0, -12}, {396, 410}},
    {"SouthAtFullSpeed", {0, 10}, {396, 110}},
    {"SouthEastAtFullSpeed",
     {10 * kDiagonal, 10 * kDiagonal},
     {396 - 260 * kDiagonal, 260 - 150 * kDiagonal}},
    {"ReversingWestSlowly", {-2, 0}, {448, 260}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CameraTarget, ::testing::ValuesIn(kTargets),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(RaceCamera, TheClassicViewNeverMoves) {
  vexel::TVexelSprite engine;
  TRaceCamera camera(engine);
  camera.SetMode(TCameraMode::Classic);
  for (int frame = 0; frame < 200; ++frame) camera.Follow({10, -4});
  EXPECT_EQ(camera.Offset().X, 0);
  EXPECT_EQ(camera.Offset().Y, 0);
  EXPECT_EQ(engine.CameraX, 0);
  EXPECT_EQ(engine.CameraY, 0);
}

TEST(RaceCamera, TheEnginesCameraIsTheOffsetAndIsGivenBackUnshifted) {
  vexel::TVexelSprite engine;
  {
    TRaceCamera camera(engine);
    camera.SetMode(TCameraMode::LookAhead);
    EXPECT_FLOAT_EQ(engine.CameraY, static_cast<float>(game::PlayerScreenY - 260));
    for (int frame = 0; frame < 100; ++frame) camera.Follow({10, 0});
    EXPECT_FLOAT_EQ(engine.CameraX, static_cast<float>(camera.Offset().X));
    EXPECT_FLOAT_EQ(engine.CameraY, static_cast<float>(camera.Offset().Y));
    EXPECT_GT(engine.CameraX, 200);
  }
  EXPECT_EQ(engine.CameraX, 0) << "the menus after the race draw unshifted";
  EXPECT_EQ(engine.CameraY, 0);
}

TEST(RaceCamera, AStepOfTheTargetIsFollowedWithoutOvershoot) {
  vexel::TVexelSprite engine;
  TRaceCamera camera(engine);
  camera.SetMode(TCameraMode::LookAhead);
  const double start = camera.Offset().X;
  const double target = TRaceCamera::TargetOffset({10, 0}).X;
  double last = start;
  int frames = 0;
  int nineTenths = 0;
  for (; frames < 450; ++frames) {
    camera.Follow({10, 0});
    EXPECT_GE(camera.Offset().X, last);
    EXPECT_LE(camera.Offset().X, target);
    last = camera.Offset().X;
    if (nineTenths == 0 && last - start >= 0.9 * (target - start)) nineTenths = frames + 1;
  }
  // Eased in over about a second at 90 frames a second, not a jump; settled in five.
  EXPECT_GT(nineTenths, 45);
  EXPECT_LT(nineTenths, 135);
  EXPECT_NEAR(last, target, 0.5);
}

// Each frame's move of the view, and how much that move changes from one frame to the next.
struct TMotion {
  double LargestStep = 0;
  double LargestChange = 0;
  bool AlwaysSafe = true;
};

TEST(RaceCamera, StartsSpinsReversesAndStopsWithoutAJerk) {
  vexel::TVexelSprite engine;
  TRaceCamera camera(engine);
  camera.SetMode(TCameraMode::LookAhead);
  std::vector<TPoint2> velocities;
  for (int f = 0; f < 120; ++f) velocities.push_back({f / 10.0, 0});  // speeds up to 12
  for (int f = 0; f < 72; ++f) {  // three spins in a second, sliding on at speed 8
    const double angle = f * 15 * game::DegToRad;
    velocities.push_back({8 * std::cos(angle), 8 * std::sin(angle)});
  }
  for (int f = 0; f < 90; ++f) velocities.push_back({-2, 0});   // straight into reverse
  for (int f = 0; f < 90; ++f) velocities.push_back({0, -12});  // flat out north
  for (int f = 0; f < 270; ++f) velocities.push_back({0, 0});   // stop
  TMotion motion;
  TPoint2 last = camera.Offset();
  TPoint2 lastStep{};
  for (const TPoint2& velocity : velocities) {
    camera.Follow(velocity);
    const TPoint2 step{camera.Offset().X - last.X, camera.Offset().Y - last.Y};
    motion.LargestStep = std::max(motion.LargestStep, std::hypot(step.X, step.Y));
    motion.LargestChange =
        std::max(motion.LargestChange, std::hypot(step.X - lastStep.X, step.Y - lastStep.Y));
    motion.AlwaysSafe = motion.AlwaysSafe && InSafeRectangle(CarOnScreen(camera.Offset()));
    last = camera.Offset();
    lastStep = step;
  }
  EXPECT_TRUE(motion.AlwaysSafe);
  EXPECT_LT(motion.LargestStep, 6.0) << "pixels a frame";
  // The spring's pull over the widest swing (across the whole lead, 520 pixels) is about one
  // pixel a frame per frame: the view's speed changes gradually.
  EXPECT_LT(motion.LargestChange, 1.1) << "pixels a frame per frame";
  const TPoint2 rest = TRaceCamera::TargetOffset({0, 0});
  EXPECT_NEAR(camera.Offset().X, rest.X, 1);
  EXPECT_NEAR(camera.Offset().Y, rest.Y, 1);
}

// A race of the fixture oval, set up as the game sets it up, drawn into the recording device.
class RaceView : public RaceFixture {
 protected:
  RaceView() {
    std::filesystem::copy_file(std::filesystem::path(RACE_FIXTURE_DATA_DIR) / "Data" / "oval.prd",
                               std::filesystem::path(Dir) / "Data" / "oval.prd");
    SelectTrack("Data\\oval.prd", 4);
    game::SetupRace(World);
  }

  // The quads one sprite draws now.
  std::vector<std::vector<vexel::TVertex>> DrawOf(vexel::TSprite& sprite) {
    Device->Calls.clear();
    Screen.BeginScene();
    sprite.DoDraw();
    Screen.EndScene();
    std::vector<std::vector<vexel::TVertex>> quads;
    for (const auto& call : Device->CallsOf(vexel::TDeviceCall::TKind::Draw)) {
      quads.push_back(call.Vertices);
    }
    return quads;
  }
};

bool IsMap(const vexel::TSprite* sprite) {
  return dynamic_cast<const game::TMiniMap*>(sprite) != nullptr;
}

bool IsHud(const vexel::TSprite* sprite) {
  return IsMap(sprite) || dynamic_cast<const game::TPanel*>(sprite) ||
         dynamic_cast<const game::TSpeedArrow*>(sprite) ||
         dynamic_cast<const game::TRadarArrow*>(sprite);
}

TEST_F(RaceView, EveryRaceSpriteIsDrawnShiftedByTheSameOffsetAndTheHudStaysPut) {
  World.Camera.SetMode(TCameraMode::LookAhead);
  for (int frame = 0; frame < 300; ++frame) World.Camera.Follow({7, -9});
  const TPoint2 offset = World.Camera.Offset();
  ASSERT_GT(std::hypot(offset.X, offset.Y), 100);
  const double shiftX = -std::round(offset.X);
  const double shiftY = -std::round(offset.Y);
  int racePictures = 0;
  int hudPictures = 0;
  int mapPictures = 0;
  for (vexel::TSprite* sprite : Engine.SpriteList()) {
    const auto moved = DrawOf(*sprite);
    Engine.CameraX = Engine.CameraY = 0;
    const auto still = DrawOf(*sprite);
    World.Camera.Settle();
    for (int frame = 0; frame < 300; ++frame) World.Camera.Follow({7, -9});
    if (dynamic_cast<game::TBackground*>(sprite)) continue;  // its own parallax, below
    ASSERT_EQ(moved.size(), still.size()) << sprite->Name();
    for (size_t q = 0; q < moved.size(); ++q) {
      ASSERT_EQ(moved[q].size(), still[q].size());
      for (size_t v = 0; v < moved[q].size(); ++v) {
        const double wantX = IsHud(sprite) ? 0 : shiftX;
        const double wantY = IsHud(sprite) ? 0 : shiftY;
        EXPECT_FLOAT_EQ(moved[q][v].X - still[q][v].X, static_cast<float>(wantX)) << sprite->Name();
        EXPECT_FLOAT_EQ(moved[q][v].Y - still[q][v].Y, static_cast<float>(wantY)) << sprite->Name();
      }
    }
    if (IsMap(sprite)) {
      mapPictures += static_cast<int>(moved.size());
    } else {
      (IsHud(sprite) ? hudPictures : racePictures) += static_cast<int>(moved.size());
    }
  }
  EXPECT_GT(racePictures, 20);
  EXPECT_EQ(hudPictures, 4) << "two panels, the speed needle and the checkpoint arrow";
  EXPECT_GT(mapPictures, 0) << "the track map with its dots";
}

TEST_F(RaceView, TheCarIsDrawnWhereThePlayersScreenPositionSaysAndTheBackgroundCoversTheScreen) {
  World.Camera.SetMode(TCameraMode::LookAhead);
  for (int frame = 0; frame < 300; ++frame) World.Camera.Follow({-6, 8});
  const TPoint2 car = World.PlayerOnScreen();
  EXPECT_NEAR(car.X, game::PlayerScreenX - World.Camera.Offset().X, 1e-9);
  const auto quads = DrawOf(*World.Player);
  ASSERT_EQ(quads.size(), 1u);
  double x = 0;
  double y = 0;
  for (const vexel::TVertex& v : quads[0]) {
    x += v.X / 4;
    y += v.Y / 4;
  }
  EXPECT_NEAR(x, car.X, 1.0);
  EXPECT_NEAR(y, car.Y, 1.0);
  for (vexel::TSprite* sprite : Engine.SpriteList()) {
    if (!dynamic_cast<game::TBackground*>(sprite)) continue;
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    for (const auto& quad : DrawOf(*sprite)) {
      for (const vexel::TVertex& v : quad) {
        left = std::min(left, v.X);
        top = std::min(top, v.Y);
        right = std::max(right, v.X);
        bottom = std::max(bottom, v.Y);
      }
    }
    EXPECT_LE(left, 0);
    EXPECT_LE(top, 0);
    EXPECT_GE(right, 800);
    EXPECT_GE(bottom, 600);
  }
}

}  // namespace
}  // namespace racetest
