#pragma once
// The clock, the recording and the ghost of one time trial.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/RaceTime.h"
#include "game/race/GhostRun.h"

namespace game {

class TGhostCar;
class TRaceWorld;

/// One time trial as it runs: counts the frames of the fixed 90-per-second step from the start
/// lights' green to the finish and the frames of each lap, notes where the player's car is on
/// each of those frames in the track's own coordinates, and moves the record's ghost car along
/// its recorded run. A time trial's times are its frame counts (hundredths: frames × 100 / 90,
/// rounded down), so a run has the same time on every machine and at every frame rate; at the
/// finish they replace the race clock's readings of the player's time and best lap.
class TTimeTrialRun {
 public:
  /// The run of a time trial set up in world (without opponents).
  explicit TTimeTrialRun(TRaceWorld& world) : World_(world) {}
  TTimeTrialRun(const TTimeTrialRun&) = delete;
  TTimeTrialRun& operator=(const TTimeTrialRun&) = delete;

  /// Drives the record's run beside the player as a ghost car from now on.
  void SetGhost(TGhostRun record);
  /// One race frame, after the cars moved and the start lights ran: counts the frame, notes
  /// the car's place, closes a lap or the run, and moves the ghost.
  void Observe();

  /// Whether the start lights have shown green.
  bool Started() const { return Started_; }
  /// Whether the player has finished.
  bool Finished() const { return Finished_; }
  /// Frames from the green light to now, or to the finish.
  int32_t RunFrames() const { return RunFrames_; }
  /// The fastest complete lap in frames, 0 before the first.
  int32_t BestLapFrames() const { return BestLapFrames_; }
  /// Where the player's car was on each frame from the green light on.
  const std::vector<TGhostFrame>& Frames() const { return Frames_; }
  /// The record the ghost drives, if any.
  const std::optional<TGhostRun>& Record() const { return Record_; }
  /// The ghost car, if any.
  TGhostCar* Ghost() const { return Ghost_; }
  /// Whether the finished run beats the record (always, without one, when it is shorter than
  /// the longest a record may be).
  bool BeatsRecord() const;
  /// The finished run as a record of the world's track and car, driven at `date`.
  TGhostRun AsRecord(const std::string& trackFile, uint64_t trackHash, std::time_t date) const;

  /// Where the player's car is now: its centre in the track's coordinates and the heading its
  /// picture is drawn at.
  static TGhostFrame PlayerFrame(const TRaceWorld& world);
  /// A count of frames as a race time.
  static TRaceTime TimeOfFrames(int32_t frames);
  /// The difference of a run to the record, "+0:01:23" slower or "–0:00:45" faster (the
  /// fonts' code page has no minus sign; its dash stands in).
  static std::string DifferenceText(int32_t runFrames, int32_t recordFrames);

 private:
  void Start();
  void CloseLap();
  void Finish();
  void PlaceGhost();

  TRaceWorld& World_;
  std::optional<TGhostRun> Record_;
  TGhostCar* Ghost_ = nullptr;
  std::vector<TGhostFrame> Frames_;
  bool Started_ = false;
  bool Finished_ = false;
  int32_t RunFrames_ = 0;
  int32_t LastLap_ = 0;
  int32_t LapStart_ = 0;
  int32_t BestLapFrames_ = 0;
};

}  // namespace game
