// Checkpoint lines, the finish line, laps, lap times and finishing places.

#include <gtest/gtest.h>

#include "RaceFixture.h"
#include "game/race/CheckLine.h"
#include "game/race/FinishLine.h"
#include "game/race/RadarArrow.h"

namespace racetest {
namespace {

class Laps : public RaceFixture {
 protected:
  Laps() {
    SetPath({{0, 0, 1, 0}, {0, 1000, 2, 0}});
    World.RaceLaps = 3;
    MakePlayer(396, 321, 0, 270);
    World.Player->UpdateCorners();
    // A finish line over the right side of the player's car (fline is 24 by 176).
    Line = Engine.Create<game::TFinishLine>(World, 396.0, 321.0, 0.0);
  }
  game::TPlayer& Player() { return *World.Player; }
  game::TFinishLine* Line = nullptr;
};

TEST_F(Laps, FirstCrossingStartsTheLapClock) {
  Line->DoMove(0);
  EXPECT_TRUE(Player().LapTiming);
  EXPECT_EQ(Player().Lap, 1);
  EXPECT_FALSE(Player().LapArmed);
  EXPECT_EQ(Player().BestLap, (game::TRaceTime{1000, 0, 0}));
  Line->DoMove(0);  // still on the line, but no longer armed
  EXPECT_EQ(Player().Lap, 1);
}

struct TLapCase {
  game::TRaceTime Lap;
  game::TRaceTime Best;
  game::TRaceTime BestAfter;
};

class LapTimes : public Laps, public ::testing::WithParamInterface<TLapCase> {};

TEST_P(LapTimes, OnlyAStrictlyBetterLapReplacesTheBest) {
  Player().Lap = 2;
  Player().LapClock = GetParam().Lap;
  Player().BestLap = GetParam().Best;
  Line->DoMove(0);
  EXPECT_EQ(Player().BestLap, GetParam().BestAfter);
  EXPECT_EQ(Player().LapClock, (game::TRaceTime{}));
  EXPECT_EQ(Player().Lap, 3);
}

INSTANTIATE_TEST_SUITE_P(Laps, LapTimes,
                         ::testing::Values(TLapCase{{0, 30, 0}, {0, 30, 0}, {0, 30, 0}},
                                           TLapCase{{0, 29, 99}, {0, 30, 0}, {0, 29, 99}},
                                           TLapCase{{0, 30, 1}, {0, 30, 0}, {0, 30, 0}},
                                           TLapCase{{0, 30, 1}, {1000, 0, 0}, {0, 30, 1}}));

TEST_F(Laps, CrossingWithoutTheCheckpointsDoesNotCount) {
  Player().Lap = 1;
  Player().NextCheckpoint = 2;
  Line->DoMove(0);
  EXPECT_FALSE(Player().LapArmed);
  EXPECT_EQ(Player().Lap, 1);
  Player().NextCheckpoint = 1;  // the last checkpoint passed this frame still counts
  Player().LapArmed = true;
  Line->DoMove(0);
  EXPECT_EQ(Player().Lap, 2);
}

TEST_F(Laps, LastLapFinishesThePlayer) {
  Player().Lap = 3;
  Player().ControlsEnabled = true;
  Player().RaceTime = {1, 2, 3};
  World.WaitTicks = 77;
  Line->DoMove(0);
  EXPECT_EQ(Player().FinishPosition, 1);
  EXPECT_EQ(World.FinishCount, 2);
  EXPECT_EQ(World.RaceResults[1].Who, game::PlayerWho);
  EXPECT_EQ(World.RaceResults[1].Time, (game::TRaceTime{1, 2, 3}));
  EXPECT_TRUE(World.PlayerFinished);
  EXPECT_EQ(World.WaitTicks, 0);
  EXPECT_FALSE(Player().ControlsEnabled);
  EXPECT_FALSE(Player().PositionTracking);
  EXPECT_EQ(Player().Lap, 3);
}

TEST_F(Laps, OpponentsFinishingInTheSameFrameTakeTheLowerPlaces) {
  game::TEnemyCar& a = MakeEnemy(396, 300, 0, 270);
  game::TEnemyCar& b = MakeEnemy(396, 340, 0, 270);
  for (game::TEnemyCar* enemy : {&a, &b}) {
    enemy->UpdateCorners();
    enemy->Lap = 3;
    enemy->Started = true;
  }
  a.RaceTime = {2, 0, 0};
  b.RaceTime = {2, 0, 1};
  Player().Lap = 3;
  Line->DoMove(0);
  EXPECT_EQ(World.RaceResults[1].Who, 0);
  EXPECT_EQ(World.RaceResults[2].Who, 1);
  EXPECT_EQ(World.RaceResults[2].Time, (game::TRaceTime{2, 0, 1}));
  EXPECT_EQ(World.RaceResults[3].Who, game::PlayerWho);
  EXPECT_EQ(Player().FinishPosition, 3);
  EXPECT_FALSE(a.Started);
  EXPECT_EQ(a.Lap, 4);
  EXPECT_TRUE(World.AllFinished());
}

TEST_F(Laps, OpponentLapNeedsItsSections) {
  SetPath({{0, 0, 1, 1}, {0, 400, 2, 2}, {0, 800, 3, 3}, {0, 1200, 4, 4}});
  game::TEnemyCar& enemy = MakeEnemy(396, 321, 0, 270);
  enemy.UpdateCorners();
  Line->DoMove(0);  // all sections start passed: the start crossing counts
  EXPECT_EQ(enemy.Lap, 1);
  EXPECT_FALSE(enemy.SectionPassed[2]);
  Line->DoMove(0);
  EXPECT_EQ(enemy.Lap, 1);
  enemy.SectionPassed[2] = enemy.SectionPassed[3] = true;
  enemy.LapArmed = false;
  Line->DoMove(0);
  EXPECT_EQ(enemy.Lap, 1);
  enemy.LapArmed = true;
  Line->DoMove(0);
  EXPECT_EQ(enemy.Lap, 2);
}

TEST_F(Laps, FinishPlacesBeyondTheTableAreNotStored) {
  World.FinishCount = game::MaxPlaces + 1;
  Player().Lap = 3;
  Line->DoMove(0);
  EXPECT_EQ(Player().FinishPosition, game::MaxPlaces + 1);
  EXPECT_EQ(World.FinishCount, game::MaxPlaces + 2);
}

class Checkpoints : public Laps {
 protected:
  Checkpoints() {
    World.CheckLineCount = 3;
    for (int32_t n = 0; n < 3; ++n) {
      Lines[static_cast<size_t>(n)] =
          Engine.Create<game::TCheckLine>(World, 1000.0 + 500 * n, 1000.0, n);
    }
  }
  /// Moves checkpoint N under the player's car and runs its frame.
  void Touch(int32_t n) {
    game::TCheckLine& line = *Lines[static_cast<size_t>(n)];
    const game::TPoint2 c = line.Centre();
    line.MoveBy(396 - c.X, 321 - c.Y);
    line.DoMove(0);
    line.MoveBy(c.X - 396, c.Y - 321);
  }
  std::array<game::TCheckLine*, 3> Lines{};
};

TEST_F(Checkpoints, PassedInOrderTheyWrapToZero) {
  Player().LapArmed = false;
  Touch(1);  // out of order: nothing
  EXPECT_EQ(Player().NextCheckpoint, 0);
  Touch(0);
  EXPECT_EQ(Player().NextCheckpoint, 1);
  Touch(1);
  EXPECT_FALSE(Player().LapArmed);
  Touch(2);
  EXPECT_EQ(Player().NextCheckpoint, 0);
  EXPECT_TRUE(Player().LapArmed);
}

TEST_F(Checkpoints, CheckpointTwoArmsTheLapEvenOutOfOrder) {
  Player().LapArmed = false;
  Touch(2);
  EXPECT_TRUE(Player().LapArmed);
  EXPECT_EQ(Player().NextCheckpoint, 0);
}

TEST_F(Checkpoints, OnlyTheNextLineShowsAndTheArrowPointsAtIt) {
  Player().NextCheckpoint = 1;
  for (game::TCheckLine* line : Lines) line->DoMove(0);
  EXPECT_FALSE(Lines[0]->Visible);
  EXPECT_TRUE(Lines[1]->Visible);
  EXPECT_FALSE(Lines[2]->Visible);
  EXPECT_DOUBLE_EQ(Player().TargetX, 1500);
  EXPECT_DOUBLE_EQ(Player().TargetY, 1000);
  auto* arrow = Engine.Create<game::TRadarArrow>(World, 171.0, 569.0);
  arrow->DoMove(0);
  // From (396, 321) to (1500, 1000): dx, dy < 0, so atan(dy/dx) + 180, then + 270.
  const double theta = std::atan((321.0 - 1000) / (396.0 - 1500)) * 180 / M_PI + 180;
  EXPECT_FLOAT_EQ(arrow->Rotation, static_cast<float>(theta + 270));
}

TEST_F(Checkpoints, LinesPulse) {
  game::TCheckLine& line = *Lines[0];
  std::vector<int32_t> alphas;
  for (int n = 0; n < 100; ++n) {
    line.DoMove(0);
    alphas.push_back(line.Alpha());
  }
  EXPECT_EQ(alphas[0], 102);
  EXPECT_EQ(*std::max_element(alphas.begin(), alphas.end()), 232);
  EXPECT_EQ(alphas[65], 232);
  EXPECT_EQ(alphas[66], 230);
}

struct TArrowCase {
  double Dx;
  double Dy;
  float Rotation;
};

class RadarArrowAngle : public Laps, public ::testing::WithParamInterface<TArrowCase> {};

TEST_P(RadarArrowAngle, PointsFromTheCarToTheTarget) {
  Player().TargetX = 396 - GetParam().Dx;
  Player().TargetY = 321 - GetParam().Dy;
  auto* arrow = Engine.Create<game::TRadarArrow>(World, 171.0, 569.0);
  arrow->DoMove(0);
  EXPECT_FLOAT_EQ(arrow->Rotation, GetParam().Rotation);
}

// Rotation = θ + 270 with θ the angle of (car - target); 0 points the arrow up the screen.
INSTANTIATE_TEST_SUITE_P(Laps, RadarArrowAngle,
                         ::testing::Values(TArrowCase{0, 100, 360},   // target above
                                           TArrowCase{0, -100, 180},  // below
                                           TArrowCase{0, 0, 180},
                                           TArrowCase{-100, 0, 450},  // right: 180 + 270
                                           TArrowCase{100, 0, 270},   // left
                                           TArrowCase{-100, 100, 45}));

}  // namespace
}  // namespace racetest
