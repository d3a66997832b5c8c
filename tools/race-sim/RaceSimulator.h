#pragma once
// One race run headless, frame by frame, as the race screen runs it.

#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "SimOptions.h"
#include "engine/VexelImageList.h"
#include "engine/VexelSprite.h"
#include "game/GameConstants.h"
#include "game/RaceTime.h"
#include "game/race/Autopilot.h"
#include "game/race/RaceReplay.h"
#include "game/race/RaceWorld.h"
#include "game/race/ReplayPlayer.h"
#include "game/race/TimeTrialRun.h"
#include "platform/InputScript.h"

namespace vexel {
class TVexelScreen;
}

namespace game {
class TBegArrows;
class TCar;
}  // namespace game

namespace racesim {

/// Frames per simulated second (the game's target frame rate).
inline constexpr int32_t FramesPerSecond = 90;
/// Frames without progress after which a car counts as stuck (30 simulated seconds).
inline constexpr long StuckFrames = 30L * FramesPerSecond;

/// How one car did.
struct TCarResult {
  /// "player" or "enemy N".
  std::string Name;
  int32_t CarType = 0;
  /// Finishing place, 0 when the car did not finish.
  int32_t Place = 0;
  game::TRaceTime Time;
  /// Laps completed.
  int32_t Laps = 0;
  /// Best lap, minutes 1000 when no lap was completed.
  game::TRaceTime BestLap{game::NoBestTimeMinutes, 0, 0};
  /// Frame at which the car was found stuck, -1 if never.
  long StuckAt = -1;
};

/// How the race went.
struct TRaceOutcome {
  std::vector<TCarResult> Cars;
  long Frames = 0;
  /// Frame in which the player finished, -1 if never.
  long PlayerFinishFrame = -1;
  bool AllFinished = false;
};

/// Runs one race on a sprite engine of its own: race setup for the chosen track and car as the
/// shell does it, the 250-frame start lights with the start released at the green light, then
/// race frames (move, path follows the world, finish delay) with the 10 ms race clock advanced
/// by exactly 10/9 ticks per frame. The player's car follows a key script, the autopilot, or no
/// keys at all. It watches every car's laps and progress. A time trial (the option, or a
/// replay of one) runs without opponents and takes its times from its frames, as the game's.
class TRaceSimulator {
 public:
  /// A race of the given options over the display's race pictures; throws
  /// game::TTrackFileError when the track file cannot make a race.
  TRaceSimulator(const TSimOptions& options, vexel::TVexelImageList& images,
                 const std::string& dataDir);
  /// The race of a replay, driven by its control flags; throws game::TReplayError when the
  /// replay does not fit the data folder, game::TTrackFileError as above.
  TRaceSimulator(const game::TRaceReplay& replay, vexel::TVexelImageList& images,
                 const std::string& dataDir);
  ~TRaceSimulator();
  TRaceSimulator(const TRaceSimulator&) = delete;
  TRaceSimulator& operator=(const TRaceSimulator&) = delete;

  /// Simulates one frame (draws first when a screen is given).
  void Step(vexel::TVexelScreen* screen);
  /// Steps until every car has finished, a car is stuck, or the frame limit.
  TRaceOutcome Run(long frameLimit);
  /// What happened so far.
  TRaceOutcome Outcome() const;
  /// Frames simulated so far.
  long Frame() const { return Frame_; }
  /// A generous frame limit for the selected track: a minute per lap and the start.
  long DefaultFrameLimit() const;
  /// Whether every car finished.
  bool AllFinished() const { return World_->AllFinished(); }
  /// Whether some car is stuck.
  bool AnyStuck() const;
  /// The race world.
  game::TRaceWorld& World() { return *World_; }
  /// The replay recorded so far (options.RecordReplay; empty otherwise).
  const game::TRaceReplay& Recording() const { return Recording_; }
  /// The time trial being run, or none (a race).
  const game::TTimeTrialRun* Trial() const { return Trial_.get(); }
  /// Drives a record's run beside the player of a time trial as its ghost car.
  void SetGhost(game::TGhostRun record);

 private:
  /// What the simulator follows of one car.
  struct TWatch {
    int32_t LastLap = 0;
    long LapStart = 0;
    game::TRaceTime BestLap{game::NoBestTimeMinutes, 0, 0};
    double LastPathProgress = 0;
    double Travelled = 0;
    double TravelledMark = 0;
    long MarkFrame = 0;
    long StuckAt = -1;
    /// The car finished and is no longer watched.
    bool Done = false;
  };

  void SetUp(const game::TRaceReplay* replay);
  void StartLights();
  void ApplyInput();
  void ReadControls();
  void AdvanceClock();
  void WatchCars();
  void WatchCar(const game::TCar& car, bool finished, TWatch& watch);
  void DrawStartLights();
  game::TCar& Car(size_t index) const;
  bool Finished(size_t index) const;

  vexel::TVexelImageList& Images_;
  game::TGameCatalogue Catalogue_;
  std::mt19937 Random_;
  game::TKeyTable KeyDown_{};
  game::TKeyTable KeyReleased_{};
  vexel::TVexelSprite Engine_;
  std::unique_ptr<game::TRaceWorld> World_;
  std::unique_ptr<game::TAutopilot> Autopilot_;
  platform::TInputScript Script_;
  /// The replay being played (and its flags), or none.
  std::unique_ptr<game::TRaceReplay> Replay_;
  std::unique_ptr<game::TReplayPlayer> ReplayPlayer_;
  bool RecordingOn_ = false;
  /// The race's view (a replay's run keeps the game's default).
  game::TCameraMode CameraMode_ = game::TCameraMode::LookAhead;
  game::TRaceReplay Recording_;
  std::unique_ptr<game::TTimeTrialRun> Trial_;
  game::TBegArrows* StartArrows_ = nullptr;
  int32_t ScreenTick_ = 0;
  long Frame_ = 0;
  bool ClockRunning_ = false;
  /// Ninths of a clock tick carried to the next frame (each frame brings ten).
  int32_t ClockNinths_ = 0;
  long PlayerFinishFrame_ = -1;
  /// The player first, then the opponents in index order.
  std::vector<TWatch> Watches_;
};

}  // namespace racesim
