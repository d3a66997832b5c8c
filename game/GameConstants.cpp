#include "GameConstants.h"

#include <tuple>

namespace game {
namespace {

struct TTrackRow {
  const char* Title;
  const char* PreviewImage;
  const char* DataFile;
  const char* LengthText;
  int32_t Laps;
  int32_t Opponents;
  std::array<int32_t, 3> PlaceReward;
};

// Slots 0 and 1 take their picture and file from each other's number.
constexpr std::array<TTrackRow, TrackCount> kTrackRows = {{
    {"Track 1", "tr_track2", "Data\\data2.prd", "540.4", 5, 4, {100, 70, 50}},
    {"Track 2", "tr_track1", "Data\\data1.prd", "662.7", 6, 4, {120, 90, 80}},
    {"Track 3", "tr_track3", "Data\\data3.prd", "470.3", 5, 5, {150, 120, 100}},
    {"Track 4", "tr_track4", "Data\\data4.prd", "710.4", 5, 5, {180, 150, 130}},
    {"Track 5", "tr_track5", "Data\\data5.prd", "785.1", 6, 6, {220, 200, 180}},
    {"Track 6", "tr_track6", "Data\\data6.prd", "992.4", 5, 6, {250, 230, 200}},
    {"Track 7", "tr_track7", "Data\\data7.prd", "692.4", 6, 7, {300, 270, 250}},
    {"Track 8", "tr_track8", "Data\\data8.prd", "643.2", 5, 7, {350, 310, 260}},
    {"Track 9", "tr_track9", "Data\\data9.prd", "812.8", 6, 7, {380, 350, 310}},
    {"Track 10", "tr_track10", "Data\\data10.prd", "910.4", 7, 7, {420, 380, 350}},
    {"Track 11", "tr_track11", "Data\\data11.prd", "952.7", 8, 7, {450, 430, 410}},
    {"Track 12", "tr_track12", "Data\\data12.prd", "856.2", 8, 7, {500, 450, 420}},
}};

struct TCarRow {
  const char* Title;
  const char* PreviewImage;
  double MaxSpeed;
  double Acceleration;
  double TurnRate;
  double Grip;
};

constexpr std::array<TCarRow, CarCount> kCarRows = {{
    {"Speeder", "c_car1", 10.0, 0.045, 1.7, 0.78},
    {"Turbo", "c_car2", 5.5, 0.08, 1.6, 0.9},
    {"Volcano", "c_car3", 7.3, 0.05, 1.9, 0.82},
    {"Viper", "c_car4", 6.0, 0.07, 1.65, 0.8},
    {"Beast", "c_car5", 12.0, 0.04, 1.75, 0.87},
}};

/// What one stage of the unlock ladder opens: either tracks (slots FirstNew .. Count - 1, with
/// TracksAvailable := Count) or cars (types FirstNew .. Count - 1, with CarsAvailable := Count).
struct TUnlockStage {
  bool OpensTracks;
  int32_t FirstNew;
  int32_t Count;
};

constexpr std::array<TUnlockStage, UnlockSteps.size()> kUnlockStages = {{
    {true, 3, 5},
    {false, 2, 3},
    {true, 5, 7},
    {false, 3, 4},
    {true, 7, 9},
    {false, 4, 5},
    {true, 9, 10},
    {true, 10, 11},
    {true, 11, 12},
}};

}  // namespace

TGameCatalogue::TGameCatalogue() {
  InitTrackCatalogue();
  InitCarCatalogue();
}

void TGameCatalogue::InitTrackCatalogue() {
  for (int32_t slot = 0; slot < TrackCount; ++slot) {
    const TTrackRow& row = kTrackRows[slot];
    TTrackInfo& info = TrackInfo[slot];
    info.Title = row.Title;
    info.PreviewImage = row.PreviewImage;
    info.DataFile = row.DataFile;
    info.LengthText = row.LengthText;
    info.Laps = row.Laps;
    info.Opponents = row.Opponents;
    info.PlaceReward = row.PlaceReward;
  }
  LastTrackIndex = TrackCount - 1;
  SelectedTrack = 0;
  for (int32_t slot = 0; slot < TrackCount; ++slot) {
    TrackInfo[slot].Available = false;
    TrackInfo[slot].BestTime = TRaceTime{NoBestTimeMinutes, 0, 0};
  }
}

void TGameCatalogue::InitCarCatalogue() {
  SelectedCar = 0;
  LastCarIndex = CarCount - 1;
  for (int32_t type = 0; type < CarCount; ++type) {
    const TCarRow& row = kCarRows[type];
    TCarInfo& info = CarInfo[type];
    info.Title = row.Title;
    info.PreviewImage = row.PreviewImage;
    info.MaxSpeed = row.MaxSpeed;
    info.Acceleration = row.Acceleration;
    info.TurnRate = row.TurnRate;
    info.Grip = row.Grip;
    info.Available = false;
  }
}

void TGameCatalogue::ApplyAvailability() {
  for (int32_t slot = 0; slot < TrackCount; ++slot) {
    TrackInfo[slot].Available = slot < TracksAvailable;
  }
  for (int32_t type = 0; type < CarCount; ++type) CarInfo[type].Available = type < CarsAvailable;
}

void TGameCatalogue::AdvanceUnlockStage() {
  if (UnlockStage < 0 || UnlockStage >= UnlockComplete) return;
  const TUnlockStage& stage = kUnlockStages[UnlockStage];
  for (int32_t n = stage.FirstNew; n < stage.Count; ++n) {
    if (stage.OpensTracks) {
      TrackInfo[n].Available = true;
    } else {
      CarInfo[n].Available = true;
    }
  }
  (stage.OpensTracks ? TracksAvailable : CarsAvailable) = stage.Count;
  TargetScore += UnlockSteps[UnlockStage];
  ++UnlockStage;
}

int32_t TGameCatalogue::OpeningScore(bool car, int32_t index) const {
  if (UnlockStage < 0) return -1;
  int32_t target = TargetScore;
  for (int32_t stage = UnlockStage; stage < UnlockComplete; ++stage) {
    const TUnlockStage& opens = kUnlockStages[static_cast<size_t>(stage)];
    if (opens.OpensTracks != car && index >= opens.FirstNew && index < opens.Count) {
      return target;
    }
    target += UnlockSteps[static_cast<size_t>(stage)];
  }
  return -1;
}

bool BestTimeStands(const TRaceTime& raceTime, const TRaceTime& best) {
  return std::tie(best.Minutes, best.Seconds, best.Hundredths) <=
         std::tie(raceTime.Minutes, raceTime.Seconds, raceTime.Hundredths);
}

const std::string& CarImageKey(int32_t carType) {
  static const std::array<std::string, CarCount> kKeys = {"car2", "car3", "car1", "car4", "car5"};
  return kKeys[carType >= 0 && carType < CarCount ? carType : 0];
}

}  // namespace game
