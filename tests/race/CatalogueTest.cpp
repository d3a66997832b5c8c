// The track and car catalogue, the best-time comparison and the unlock ladder.

#include <gtest/gtest.h>

#include "game/GameConstants.h"

namespace {

using game::TGameCatalogue;
using game::TRaceTime;

struct TTrackCase {
  int32_t Slot;
  const char* Title;
  const char* Preview;
  const char* File;
  int32_t Laps;
  int32_t Opponents;
  int32_t FirstReward;
};

class TrackRows : public ::testing::TestWithParam<TTrackCase> {};

TEST_P(TrackRows, SlotLoadsItsFileAndShowsItsPicture) {
  const TTrackCase& c = GetParam();
  const TGameCatalogue catalogue;
  const game::TTrackInfo& row = catalogue.TrackInfo[static_cast<size_t>(c.Slot)];
  EXPECT_EQ(row.Title, c.Title);
  EXPECT_EQ(row.PreviewImage, c.Preview);
  EXPECT_EQ(row.DataFile, c.File);
  EXPECT_EQ(row.Laps, c.Laps);
  EXPECT_EQ(row.Opponents, c.Opponents);
  EXPECT_EQ(row.PlaceReward[0], c.FirstReward);
  EXPECT_FALSE(row.Available);
  EXPECT_EQ(row.BestTime, (TRaceTime{1000, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, TrackRows,
    ::testing::Values(TTrackCase{0, "Track 1", "tr_track2", "Data\\data2.prd", 5, 4, 100},
                      TTrackCase{1, "Track 2", "tr_track1", "Data\\data1.prd", 6, 4, 120},
                      TTrackCase{2, "Track 3", "tr_track3", "Data\\data3.prd", 5, 5, 150},
                      TTrackCase{5, "Track 6", "tr_track6", "Data\\data6.prd", 5, 6, 250},
                      TTrackCase{9, "Track 10", "tr_track10", "Data\\data10.prd", 7, 7, 420},
                      TTrackCase{11, "Track 12", "tr_track12", "Data\\data12.prd", 8, 7, 500}));

TEST(Catalogue, StartUpValues) {
  const TGameCatalogue catalogue;
  EXPECT_EQ(catalogue.SelectedTrack, 0);
  EXPECT_EQ(catalogue.LastTrackIndex, 11);
  EXPECT_EQ(catalogue.SelectedCar, 0);
  EXPECT_EQ(catalogue.LastCarIndex, 4);
  EXPECT_EQ(catalogue.TrackInfo[0].PlaceReward, (std::array<int32_t, 3>{100, 70, 50}));
  EXPECT_EQ(catalogue.TrackInfo[11].PlaceReward, (std::array<int32_t, 3>{500, 450, 420}));
  EXPECT_EQ(catalogue.TrackInfo[0].LengthText, "540.4");
  // Slots beyond the twelve tracks only keep best times, which stay 0:00:00.
  EXPECT_EQ(catalogue.TrackInfo[12].BestTime, (TRaceTime{0, 0, 0}));
  EXPECT_TRUE(catalogue.TrackInfo[12].DataFile.empty());
}

TEST(Catalogue, CarRowsAndTheirPictures) {
  const TGameCatalogue catalogue;
  struct TCarCase {
    const char* Title;
    double MaxSpeed, Acceleration, TurnRate, Grip;
    const char* Image;
  };
  const TCarCase cases[] = {{"Speeder", 10.0, 0.045, 1.7, 0.78, "car2"},
                            {"Turbo", 5.5, 0.08, 1.6, 0.9, "car3"},
                            {"Volcano", 7.3, 0.05, 1.9, 0.82, "car1"},
                            {"Viper", 6.0, 0.07, 1.65, 0.8, "car4"},
                            {"Beast", 12.0, 0.04, 1.75, 0.87, "car5"}};
  for (int32_t type = 0; type < game::CarCount; ++type) {
    const TCarCase& c = cases[type];
    const game::TCarInfo& car = catalogue.CarInfo[static_cast<size_t>(type)];
    SCOPED_TRACE(c.Title);
    EXPECT_EQ(car.Title, c.Title);
    EXPECT_EQ(car.MaxSpeed, c.MaxSpeed);
    EXPECT_EQ(car.Acceleration, c.Acceleration);
    EXPECT_EQ(car.TurnRate, c.TurnRate);
    EXPECT_EQ(car.Grip, c.Grip);
    EXPECT_FALSE(car.Available);
    EXPECT_EQ(game::CarImageKey(type), c.Image);
  }
  EXPECT_EQ(catalogue.CarInfo[0].PreviewImage, "c_car1");
}

struct TBestCase {
  TRaceTime Race;
  TRaceTime Best;
  bool Stands;
};

class BestTime : public ::testing::TestWithParam<TBestCase> {};

TEST_P(BestTime, StoredTimeStandsUnlessStrictlyBeaten) {
  EXPECT_EQ(game::BestTimeStands(GetParam().Race, GetParam().Best), GetParam().Stands);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, BestTime,
    ::testing::Values(TBestCase{{1, 59, 99}, {2, 0, 0}, false},  // minutes weigh first
                      TBestCase{{2, 0, 0}, {1, 59, 99}, true},
                      TBestCase{{1, 5, 7}, {1, 5, 7}, true},        // equal keeps the stored time
                      TBestCase{{1, 5, 6}, {1, 5, 7}, false},       // one hundredth less replaces
                      TBestCase{{0, 59, 99}, {1000, 0, 0}, false},  // no best time yet
                      TBestCase{{3, 10, 0}, {3, 9, 99}, true}));

TEST(UnlockLadder, FirstStageOpensSlotsThreeAndFour) {
  TGameCatalogue catalogue;
  catalogue.ApplyAvailability();
  catalogue.AdvanceUnlockStage();
  EXPECT_EQ(catalogue.TracksAvailable, 5);
  EXPECT_EQ(catalogue.UnlockStage, 1);
  EXPECT_EQ(catalogue.TargetScore, 700);
  for (int32_t slot = 0; slot < game::TrackCount; ++slot) {
    EXPECT_EQ(catalogue.TrackInfo[static_cast<size_t>(slot)].Available, slot < 5) << slot;
  }
  catalogue.AdvanceUnlockStage();
  EXPECT_EQ(catalogue.CarsAvailable, 3);
  EXPECT_TRUE(catalogue.CarInfo[2].Available);
  EXPECT_FALSE(catalogue.CarInfo[3].Available);
}

TEST(UnlockLadder, StageEightOpensTheLastTrackAndCompletesTheLadder) {
  TGameCatalogue catalogue;
  catalogue.UnlockStage = 8;
  catalogue.TracksAvailable = 11;
  catalogue.TargetScore = 13200;
  catalogue.AdvanceUnlockStage();
  EXPECT_EQ(catalogue.UnlockStage, 9);
  EXPECT_EQ(catalogue.TargetScore, 17700);
  EXPECT_EQ(catalogue.TracksAvailable, 12);
  EXPECT_TRUE(catalogue.TrackInfo[11].Available);
  catalogue.AdvanceUnlockStage();
  EXPECT_EQ(catalogue.UnlockStage, 9);
  EXPECT_EQ(catalogue.TargetScore, 17700);
}

TEST(UnlockLadder, WholeLadderFromANewProfile) {
  TGameCatalogue catalogue;
  catalogue.ApplyAvailability();
  while (catalogue.UnlockStage < game::UnlockComplete) catalogue.AdvanceUnlockStage();
  EXPECT_EQ(catalogue.TracksAvailable, 12);
  EXPECT_EQ(catalogue.CarsAvailable, 5);
  EXPECT_EQ(catalogue.TargetScore, 17700);
  for (const game::TTrackInfo& track : catalogue.TrackInfo) {
    EXPECT_EQ(track.Available, !track.DataFile.empty()) << track.Title;
  }
  for (const game::TCarInfo& car : catalogue.CarInfo) EXPECT_TRUE(car.Available) << car.Title;
}

}  // namespace
