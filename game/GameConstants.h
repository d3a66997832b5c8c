#pragma once
// The track and car catalogue: the twelve tracks, the five cars, the selection state and the
// unlock ladder that opens more of them as the score grows.

#include <array>
#include <cstdint>
#include <string>

#include "RaceTime.h"

namespace game {

/// Number of tracks the game knows.
inline constexpr int32_t TrackCount = 12;
/// Slots of the track table; slots beyond the twelve tracks only keep best times.
inline constexpr int32_t TrackSlotCount = 25;
/// Number of car types.
inline constexpr int32_t CarCount = 5;
/// Minutes value of a best time that was never set.
inline constexpr int32_t NoBestTimeMinutes = 1000;
/// Points added to the target score by each stage of the unlock ladder, stage 0 first.
inline constexpr std::array<int32_t, 9> UnlockSteps = {400,  500,  1000, 500, 2000,
                                                       2000, 2500, 4000, 4500};
/// The stage reached when every stage of the ladder has been applied.
inline constexpr int32_t UnlockComplete = 9;

/// One row of the track table.
struct TTrackInfo {
  std::string Title;
  std::string PreviewImage;
  /// Game path of the track file ("Data\data2.prd").
  std::string DataFile;
  bool Available = false;
  /// Best race time on this track; minutes of NoBestTimeMinutes or more mean none yet.
  TRaceTime BestTime;
  std::string LengthText;
  int32_t Laps = 0;
  int32_t Opponents = 0;
  /// Points for finishing 1st, 2nd and 3rd.
  std::array<int32_t, 3> PlaceReward{};
};

/// One row of the car table: the handling values of a car type.
struct TCarInfo {
  std::string Title;
  std::string PreviewImage;
  bool Available = false;
  /// Top forward speed, pixels per frame.
  double MaxSpeed = 0;
  /// Speed gained per frame while accelerating.
  double Acceleration = 0;
  /// Degrees the heading turns per frame while steering.
  double TurnRate = 0;
  /// Fraction of TurnRate by which the travel direction catches up with the heading.
  double Grip = 0;
};

/// The track and car catalogue with the selection state and the progress values the unlock
/// ladder changes. Built filled (as at start-up); a profile then sets how much is open.
class TGameCatalogue {
 public:
  /// A catalogue as at start-up: every row filled, nothing available, no best times.
  TGameCatalogue();

  /// Fills the twelve track rows, selects slot 0, marks none available, clears the best times.
  void InitTrackCatalogue();
  /// Fills the five car rows, selects type 0 and marks none available.
  void InitCarCatalogue();
  /// Marks the first TracksAvailable tracks and the first CarsAvailable cars available.
  void ApplyAvailability();
  /// Applies the current stage of the unlock ladder, raises TargetScore and moves to the next
  /// stage; does nothing once the ladder is complete.
  void AdvanceUnlockStage();
  /// The score past which the ladder, going on from the current stage and target, opens a
  /// track slot (or a car type when `car` is set); -1 when it is open already or no stage
  /// opens it.
  int32_t OpeningScore(bool car, int32_t index) const;

  std::array<TTrackInfo, TrackSlotCount> TrackInfo;
  std::array<TCarInfo, CarCount> CarInfo;
  int32_t SelectedTrack = 0;
  int32_t LastTrackIndex = TrackCount - 1;
  int32_t SelectedCar = 0;
  int32_t LastCarIndex = CarCount - 1;
  int32_t TracksAvailable = 3;
  int32_t CarsAvailable = 2;
  int32_t TargetScore = 300;
  int32_t UnlockStage = 0;
};

/// Whether Best is smaller than or equal to RaceTime (minutes, then seconds, then hundredths):
/// a stored best time stands unless the race time is strictly smaller.
bool BestTimeStands(const TRaceTime& raceTime, const TRaceTime& best);

/// Key of the race picture a car of the given type is drawn with ("car2" for type 0).
const std::string& CarImageKey(int32_t carType);

}  // namespace game
