#pragma once
// The race and the two overlays that stop it: the quit confirmation and the pause.

#include <memory>
#include <string>

#include "RaceHud.h"
#include "ScreenGroup.h"

namespace game {

class TAutopilot;
class TBegArrows;
class TRaceSound;
class TRaceReplayDriver;
class TTimeTrialRun;

/// States 12 (the race or time trial: start lights, driving, the finish and the 150 frames
/// after it), 0 (the quit confirmation over the standing race) and 23 (pause). The overlays
/// leave the race alive underneath and return to it without building it again. A time trial
/// runs on the frame clock, drives the profile's record beside the player as a ghost and keeps
/// a better run as the new record when it finishes.
class TRaceScreens : public TScreenGroup {
 public:
  /// The race screens of a form; `hud` draws their texts.
  TRaceScreens(TForm1& form, TRaceHud& hud);
  ~TRaceScreens() override;
  /// States 0, 12 and 23.
  bool Owns(uint8_t state) const override { return state == 0 || state == 12 || state == 23; }
  /// Builds the race, or puts an overlay over it.
  void Enter(uint8_t state) override;
  /// Ends the race (every sprite but the pointer) or takes an overlay away.
  void Leave(uint8_t state) override;
  /// One frame of the race or of an overlay.
  void Frame(uint8_t state) override;

  /// Leaves the car screen and starts a race of the selected track and car.
  void StartRace();
  /// Back from an overlay to the running race.
  void ResumeRace();
  /// Gives the race up and returns to the main menu.
  void QuitRace();
  /// Runs or stops the race clock.
  void SetRaceClock(bool running);
  /// Whether the race clock runs.
  bool RaceClockRunning() const { return ClockRunning_; }
  /// One frame's worth of race clock when frames are not paced (10 ms ticks at 90 frames).
  void AdvanceUnpacedClock();
  /// Runs the race on behind the results until every car has finished (cars moving, clock
  /// running); returns whether it moved the sprites this frame.
  bool RaceOnBehindResults();
  /// The time trial being run, or none (a race).
  const TTimeTrialRun* Trial() const { return Trial_.get(); }

 private:
  bool EnterRace();
  void SetUpRace();
  void RaceFrame();
  bool EndReplayedRace();
  bool FrameClock() const;
  void StartLights();
  void DrawStartLights();
  /// The black over the race while the player's car is taken back to the track.
  void DrawTrackReturnFade();
  void EnterQuit();
  void QuitFrame();
  void EnterPause();
  void PauseFrame();
  void ShowLoadingFrame();
  void LoadRacePictures();
  void ReleaseMenuPictures();
  void ReturnToOverlayParent(const char* sound);
  void DrawStandingRace();
  void SoundRace();
  void SilenceRace();
  void StartTrial();
  void LoadGhost();
  void FinishTrial();
  std::string RecordFile() const;

  TRaceHud& Hud_;
  TBegArrows* StartArrows_ = nullptr;
  TMenuScreen* GamePanel_ = nullptr;
  std::unique_ptr<TAutopilot> Autopilot_;
  std::unique_ptr<TRaceSound> RaceSound_;
  std::unique_ptr<TRaceReplayDriver> ReplayDriver_;
  std::unique_ptr<TTimeTrialRun> Trial_;
  bool ClockRunning_ = false;
  int32_t ClockNinths_ = 0;
};

}  // namespace game
