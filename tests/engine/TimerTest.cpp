// The frame timer driven by a clock the test advances by hand.

#include <gtest/gtest.h>

#include "engine/VexelTimer.h"

namespace {

/// A clock of 900 000 ticks per second (whole ticks per frame at 90 and at 10 frames a second) that
/// moves only when told.
class TFakeClock : public platform::TClock {
 public:
  int64_t Frequency() const override { return 900'000; }
  int64_t Now() const override { return Ticks; }
  void AdvanceSeconds(double s) { Ticks += static_cast<int64_t>(s * 900'000.0); }
  int64_t Ticks = 5'000'000;
};

class TimerTest : public ::testing::Test {
 protected:
  TimerTest() : Timer(Application, Clock) {
    Timer.OnTimer = [this](vexel::TVexelTimer& t) {
      ++Fired;
      Factors.push_back(t.FrameFactor());
      Clock.AdvanceSeconds(HandlerSeconds);
    };
  }
  // Runs the installed idle handler once, as the message loop would.
  void Idle() {
    bool done = true;
    ASSERT_TRUE(Application.HasOnIdle());
    auto handler = Application.OnIdle();
    handler(done);
    EXPECT_FALSE(done);
  }
  void StepEvery(double seconds, int steps) {
    for (int i = 0; i < steps; ++i) {
      Clock.AdvanceSeconds(seconds);
      Idle();
    }
  }
  void Configure(int target, int minFps, int maxFps) {
    Timer.SetTargetFPS(target);
    Timer.SetMinFPS(minFps);
    Timer.SetMaxFPS(maxFps);
    Timer.SetEnabled(true);
  }

  platform::TApplication Application;
  TFakeClock Clock;
  vexel::TVexelTimer Timer;
  int Fired = 0;
  double HandlerSeconds = 0;
  std::vector<float> Factors;
};

TEST_F(TimerTest, NewTimerHasTheComponentDefaults) {
  EXPECT_FALSE(Timer.Enabled());
  EXPECT_EQ(Timer.TargetFPS(), 0);
  EXPECT_EQ(Timer.MinFPS(), 10);
  EXPECT_EQ(Timer.MaxFPS(), 120);
  EXPECT_EQ(Timer.FPSWarningFrames(), 10);
  EXPECT_FALSE(Application.HasOnIdle());
}

TEST_F(TimerTest, PacesToTargetWithFactorNearOne) {
  Configure(90, 10, 120);
  StepEvery(0.0001, 20'000);   // two seconds of quick steps
  EXPECT_NEAR(Fired, 180, 2);  // steps fall on 0.1 ms, so frames come up to 0.1 ms late
  EXPECT_NEAR(Timer.FPS(), 90u, 1u);
  for (float f : Factors) EXPECT_NEAR(f, 1.0f, 0.01f);
}

TEST_F(TimerTest, FpsReadsZeroUntilTheFirstFullSecond) {
  Configure(90, 10, 120);
  StepEvery(0.001, 999);
  EXPECT_EQ(Timer.FPS(), 0u);
  StepEvery(0.001, 2);
  EXPECT_GT(Timer.FPS(), 0u);
  Timer.SetEnabled(false);
  Timer.SetEnabled(true);
  EXPECT_EQ(Timer.FPS(), 0u);
}

TEST_F(TimerTest, SlowHandlerIsClampedAndRaisesTheWarningOnTheTenthStep) {
  Configure(90, 10, 120);
  HandlerSeconds = 0.5;
  StepEvery(0.02, 1);  // a quick first frame; from now on every step follows a 0.5 s frame
  Factors.clear();
  std::vector<bool> warnings;
  for (int i = 0; i < 12; ++i) {
    Idle();
    warnings.push_back(Timer.FPSWarning());
  }
  ASSERT_EQ(Factors.size(), 12u);
  for (float f : Factors) EXPECT_FLOAT_EQ(f, 9.0f);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(warnings[i], i >= 9) << "slow step " << i + 1;
  HandlerSeconds = 0;
  Idle();  // still follows a slow frame
  EXPECT_TRUE(Timer.FPSWarning());
  Clock.AdvanceSeconds(0.012);
  Idle();
  EXPECT_FALSE(Timer.FPSWarning());
}

TEST_F(TimerTest, WarningNeedsConsecutiveSlowSteps) {
  Configure(90, 10, 120);
  for (int round = 0; round < 3; ++round) {
    StepEvery(0.2, 9);
    EXPECT_FALSE(Timer.FPSWarning());
    StepEvery(0.01, 1);
  }
  StepEvery(0.2, 10);
  EXPECT_TRUE(Timer.FPSWarning());
}

TEST_F(TimerTest, NoPacingAndNoCapFiresEveryStepWithFactorInSeconds) {
  Configure(0, 10, 0);
  StepEvery(0.00025, 40);
  EXPECT_EQ(Fired, 40);
  EXPECT_FLOAT_EQ(Timer.FrameFactor(), Timer.FrameSeconds());
  EXPECT_NEAR(Timer.FrameSeconds(), 0.00025f, 1e-6f);
}

TEST_F(TimerTest, CapWithoutTargetFiresOncePerCapInterval) {
  Configure(0, 10, 120);
  StepEvery(0.001, 1000);
  EXPECT_NEAR(Fired, 111, 2);  // 1 ms steps: a frame every 9 ms (8.33 ms rounded up)
  EXPECT_GE(Timer.FrameSeconds(), 1.0f / 120.0f);
}

TEST_F(TimerTest, MinFpsZeroSwitchesTheClampAndWarningOff) {
  Configure(90, 10, 120);
  StepEvery(0.5, 12);
  EXPECT_TRUE(Timer.FPSWarning());
  Timer.SetMinFPS(0);
  StepEvery(0.5, 1);
  EXPECT_FALSE(Timer.FPSWarning());
  EXPECT_NEAR(Timer.FrameFactor(), 45.0f, 0.01f);
}

TEST_F(TimerTest, LossyModeWithoutTargetStartsNoTimerAndFiresNothing) {
  Timer.SetLossyMode(true);
  Timer.SetEnabled(true);
  EXPECT_FALSE(Application.HasOnIdle());
  for (int id = 1; id < 5; ++id) EXPECT_FALSE(Application.TimerRunning(id));
  EXPECT_EQ(Fired, 0);
}

TEST_F(TimerTest, LossyModeFiresOnEveryStepUngated) {
  Timer.SetTargetFPS(50);
  Timer.SetLossyMode(true);
  Timer.SetEnabled(true);
  EXPECT_FALSE(Application.HasOnIdle());
  bool done = true;
  for (int i = 0; i < 5; ++i) {
    Clock.AdvanceSeconds(0.001);
    Timer.Step(done);
  }
  EXPECT_EQ(Fired, 5);
  EXPECT_NEAR(Timer.FrameFactor(), 0.05f, 1e-4f);
}

TEST_F(TimerTest, DisabledStepDoesNothing) {
  bool done = true;
  Timer.Step(done);
  EXPECT_TRUE(done);
  EXPECT_EQ(Fired, 0);
}

TEST_F(TimerTest, SettingLossyModeToItsValueStillRearms) {
  Configure(90, 10, 120);
  Application.SetOnIdle(nullptr);  // another timer emptied the shared slot
  Timer.SetLossyMode(false);
  EXPECT_TRUE(Application.HasOnIdle());
}

TEST_F(TimerTest, DisablingEmptiesTheIdleSlot) {
  Configure(90, 10, 120);
  EXPECT_TRUE(Application.HasOnIdle());
  Timer.SetEnabled(false);
  EXPECT_FALSE(Application.HasOnIdle());
}

TEST_F(TimerTest, TellsTheLoopHowLongToSleep) {
  Configure(90, 10, 120);
  StepEvery(0.02, 1);
  EXPECT_NEAR(Timer.SecondsToNextFrame(), 1.0 / 90.0, 1e-4);
  Clock.AdvanceSeconds(0.005);
  EXPECT_NEAR(Timer.SecondsToNextFrame(), 1.0 / 90.0 - 0.005, 1e-4);
}

}  // namespace
