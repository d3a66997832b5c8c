#include "VexelTimer.h"

#include <algorithm>

namespace vexel {

TVexelTimer::TVexelTimer(platform::TApplication& application, const platform::TClock& clock)
    : Application_(application), Clock_(clock) {
  ClockFrequency_ = Clock_.Frequency() > 0 ? Clock_.Frequency() : 1000;
  ChainedIdle_ = Application_.OnIdle();
  SetMinFPS(10);
  SetMaxFPS(120);
  SetFPSWarningFrames(10);
}

TVexelTimer::~TVexelTimer() {
  if (TimerId_) Application_.KillTimer(TimerId_);
  Application_.SetOnIdle(nullptr);
}

void TVexelTimer::SetEnabled(bool value) {
  if (value == Enabled_) return;
  Enabled_ = value;
  if (value) {
    LastFrameTime_ = Clock_.Now();
    WindowStart_ = LastFrameTime_;
    FramesInWindow_ = 0;
    FPS_ = 0;
  }
  Rearm();
}

void TVexelTimer::SetTargetFPS(int32_t value) {
  if (value == TargetFPS_) return;
  TargetFPS_ = value;
  if (value > 0) {
    TicksPerTarget_ = static_cast<int32_t>(ClockFrequency_ / value);
    TimerInterval_ = 1000 / value;
  }
  Rearm();
}

void TVexelTimer::SetMinFPS(int32_t value) {
  if (value == MinFPS_) return;
  MinFPS_ = value;
  if (value > 0) TicksPerSlowest_ = static_cast<int32_t>(ClockFrequency_ / value);
}

void TVexelTimer::SetMaxFPS(int32_t value) {
  if (value == MaxFPS_) return;
  MaxFPS_ = value;
  if (value > 0) TicksPerFastest_ = static_cast<int32_t>(ClockFrequency_ / value);
}

void TVexelTimer::SetFPSWarningFrames(int32_t value) {
  if (value == FPSWarningFrames_) return;
  FPSWarningFrames_ = value;
  SlowSteps_ = 0;
  FPSWarning_ = false;
}

void TVexelTimer::SetLossyMode(bool value) {
  LossyMode_ = value;
  Rearm();
}

void TVexelTimer::Rearm() {
  if (TimerId_) Application_.KillTimer(TimerId_);
  TimerId_ = 0;
  if (LossyMode_) {
    if (TargetFPS_ > 0 && Enabled_ && OnTimer) {
      TimerId_ =
          Application_.StartTimer(static_cast<uint32_t>(std::max(TimerInterval_, 1)), [this] {
            bool done = true;
            Step(done);
          });
    }
    Application_.SetOnIdle(nullptr);
    return;
  }
  if (Enabled_ && OnTimer) {
    Application_.SetOnIdle([this](bool& done) { Step(done); });
  } else {
    Application_.SetOnIdle(nullptr);
  }
}

void TVexelTimer::Fire(int64_t elapsed, int64_t divisor) {
  FrameFactor_ = static_cast<float>(static_cast<double>(elapsed) / static_cast<double>(divisor));
  FrameSeconds_ =
      static_cast<float>(static_cast<double>(elapsed) / static_cast<double>(ClockFrequency_));
  if (OnTimer) OnTimer(*this);
  LastFrameTime_ = Now_;
  ++FramesInWindow_;
}

void TVexelTimer::ClampSlowStep(int64_t& elapsed) {
  if (MinFPS_ > 0 && elapsed > TicksPerSlowest_) {
    elapsed = TicksPerSlowest_;
    ++SlowSteps_;
    if (SlowSteps_ >= FPSWarningFrames_) {
      FPSWarning_ = true;
      --SlowSteps_;
    }
  } else {
    FPSWarning_ = false;
    SlowSteps_ = 0;
  }
}

void TVexelTimer::Step(bool& done) {
  if (!Enabled_) return;
  done = false;
  Now_ = Clock_.Now();
  if (Now_ - WindowStart_ >= ClockFrequency_) {
    FPS_ = static_cast<uint32_t>(FramesInWindow_);
    FramesInWindow_ = 0;
    WindowStart_ = Now_;
  }
  int64_t elapsed = Now_ - LastFrameTime_;
  if (LossyMode_) {
    Fire(elapsed, TicksPerTarget_ > 0 ? TicksPerTarget_ : ClockFrequency_);
  } else {
    ClampSlowStep(elapsed);
    const bool capped = MaxFPS_ != 0 && elapsed < TicksPerFastest_;
    if (!capped) {
      if (TargetFPS_ <= 0) {
        Fire(elapsed, ClockFrequency_);
      } else if (elapsed >= TicksPerTarget_) {
        Fire(elapsed, TicksPerTarget_);
      }
    }
    Application_.SetIdleWait(SecondsToNextFrame());
  }
  if (ChainedIdle_) ChainedIdle_(done);
}

double TVexelTimer::SecondsToNextFrame() const {
  int64_t needed = 0;
  if (TargetFPS_ > 0) needed = TicksPerTarget_;
  if (MaxFPS_ > 0) needed = std::max<int64_t>(needed, TicksPerFastest_);
  const int64_t remaining = needed - (Clock_.Now() - LastFrameTime_);
  return remaining > 0 ? static_cast<double>(remaining) / static_cast<double>(ClockFrequency_)
                       : 0.0;
}

}  // namespace vexel
