#pragma once
// The frame timer that drives the game's frame loop.

#include <cstdint>
#include <functional>

#include "platform/Application.h"
#include "platform/Clock.h"

namespace vexel {

/// Calls OnTimer once per frame, paced to TargetFPS, capped at MaxFPS, with each frame's time
/// clamped to 1 / MinFPS; measures the frame rate reached and how long each frame stands for.
/// Fed by the application's idle loop (normal mode) or by a periodic timer (lossy mode).
class TVexelTimer {
 public:
  using TNotifyEvent = std::function<void(TVexelTimer&)>;

  /// Creates a disabled timer on the application's idle slot, reading the given clock.
  TVexelTimer(platform::TApplication& application, const platform::TClock& clock);
  ~TVexelTimer();
  TVexelTimer(const TVexelTimer&) = delete;
  TVexelTimer& operator=(const TVexelTimer&) = delete;

  /// The frame handler.
  TNotifyEvent OnTimer;

  /// Switches the timer on (restarting the measurement) or off, and re-arms it.
  void SetEnabled(bool value);
  /// Sets the wanted frame rate (0 or less: no pacing) and re-arms.
  void SetTargetFPS(int32_t value);
  /// Sets the lowest rate passed on unclamped (0 or less: no clamp).
  void SetMinFPS(int32_t value);
  /// Sets the highest rate (0: no cap).
  void SetMaxFPS(int32_t value);
  /// Sets how many consecutive slow steps raise the warning; clears the warning.
  void SetFPSWarningFrames(int32_t value);
  /// Chooses the periodic-timer mode (true) or the idle-loop mode, and always re-arms.
  void SetLossyMode(bool value);
  /// Runs one step: measures, clamps, paces and maybe fires OnTimer.
  void Step(bool& done);

  bool Enabled() const { return Enabled_; }
  int32_t TargetFPS() const { return TargetFPS_; }
  int32_t MinFPS() const { return MinFPS_; }
  int32_t MaxFPS() const { return MaxFPS_; }
  int32_t FPSWarningFrames() const { return FPSWarningFrames_; }
  bool LossyMode() const { return LossyMode_; }
  /// Frames fired during the last completed one-second window.
  uint32_t FPS() const { return FPS_; }
  /// Whether the last FPSWarningFrames steps in a row were slow.
  bool FPSWarning() const { return FPSWarning_; }
  /// The last frame's time in wanted-frame units (1.0 at exactly TargetFPS).
  float FrameFactor() const { return FrameFactor_; }
  /// The last frame's time in seconds.
  float FrameSeconds() const { return FrameSeconds_; }
  /// Seconds until the next step could fire a frame (0 when a step may fire at once).
  double SecondsToNextFrame() const;

 private:
  void Rearm();
  void Fire(int64_t elapsed, int64_t divisor);
  void ClampSlowStep(int64_t& elapsed);

  platform::TApplication& Application_;
  const platform::TClock& Clock_;
  platform::TApplication::TIdleHandler ChainedIdle_;
  int TimerId_ = 0;
  int64_t ClockFrequency_ = 1000;
  int64_t LastFrameTime_ = 0;
  int64_t Now_ = 0;
  float FrameFactor_ = 0;
  float FrameSeconds_ = 0;
  int64_t WindowStart_ = 0;
  uint32_t FPS_ = 0;
  int32_t FramesInWindow_ = 0;
  bool FPSWarning_ = false;
  int32_t SlowSteps_ = 0;
  int32_t FPSWarningFrames_ = 0;
  bool Enabled_ = false;
  int32_t TargetFPS_ = 0;
  int32_t MinFPS_ = 0;
  int32_t MaxFPS_ = 0;
  bool LossyMode_ = false;
  int32_t TicksPerTarget_ = 0;
  int32_t TicksPerSlowest_ = 0;
  int32_t TicksPerFastest_ = 0;
  int32_t TimerInterval_ = 0;
};

}  // namespace vexel
