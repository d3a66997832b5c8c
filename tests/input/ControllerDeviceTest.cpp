// One opened controller: how raw axis values become reported values through the axis' range
// and dead zone, and what an unacquired or unplugged controller reports.

#include <gtest/gtest.h>

#include <memory>

#include "PadTestSupport.h"
#include "platform/ControllerSystem.h"
#include "platform/VirtualPad.h"

namespace {

using platform::TPadAxis;
using platform::TPadButton;

class ControllerDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITH_REAL_CONTROLLERS();
    Pad = std::make_unique<platform::TVirtualPad>("Test pad");
    ASSERT_TRUE(System.Ready()) << System.Error();
    const auto attached = System.Attached();
    ASSERT_EQ(attached.size(), 1u);
    EXPECT_EQ(attached[0].Name, "Test pad");
    EXPECT_EQ(attached[0].InstanceId, Pad->InstanceId());
    Device = System.Open(Pad->InstanceId());
    ASSERT_NE(Device, nullptr);
  }
  platform::TControllerSystem System;
  std::unique_ptr<platform::TVirtualPad> Pad;
  std::unique_ptr<platform::TControllerDevice> Device;
};

TEST_F(ControllerDeviceTest, AxesAreScaledToTheirRangeAfterTheDeadZone) {
  struct TCase {
    TPadAxis Axis;
    int32_t Range;
    int32_t DeadZone;
    int32_t Raw;
    int32_t Expected;
  };
  const TCase cases[] = {
      {TPadAxis::LeftX, 1000, 0, 32767, 1000},
      {TPadAxis::LeftX, 1000, 0, -32768, -1000},  // the extra negative step is clamped
      {TPadAxis::LeftX, 1000, 0, 0, 0},
      {TPadAxis::LeftX, 1000, 2000, 6553, 0},     // just inside 20 %
      {TPadAxis::LeftX, 1000, 2000, 16384, 375},  // half way: (0.5 - 0.2) / 0.8
      {TPadAxis::LeftX, 1000, 2000, -16384, -375},
      {TPadAxis::LeftX, 1000, 2000, 32767, 1000},  // the live part still reaches the end
      {TPadAxis::LeftY, 1000, 10000, 32767, 0},    // a dead zone of 100 % reports nothing
      {TPadAxis::RightX, 250, 0, 16384, 125},
      {TPadAxis::RightY, 0, 0, 32767, 0},
      {TPadAxis::RightTrigger, 1000, 0, 32767, 1000},  // triggers run from the middle up
      {TPadAxis::RightTrigger, 1000, 2000, 3000, 0},
      {TPadAxis::LeftTrigger, 1000, 5000, 24575, 500},
  };
  for (const auto& c : cases) {
    Device->SetAxisRange(c.Axis, -c.Range, c.Range);
    Device->SetAxisDeadZone(c.Axis, c.DeadZone);
    EXPECT_EQ(Device->ScaleAxis(c.Axis, c.Raw), c.Expected)
        << platform::PadAxisName(c.Axis) << " range " << c.Range << " dead zone " << c.DeadZone
        << " raw " << c.Raw;
  }
}

TEST_F(ControllerDeviceTest, AnAcquiredDeviceReportsTheControllersButtonsAndAxes) {
  Device->SetAxisRange(TPadAxis::LeftX, -1000, 1000);
  Pad->SetButton(TPadButton::DpadLeft, true);
  Pad->SetAxis(TPadAxis::LeftX, -32768);
  System.Update();
  platform::TPadState state;
  EXPECT_FALSE(Device->ReadState(state));  // not acquired yet
  EXPECT_FALSE(state.Button(TPadButton::DpadLeft));
  EXPECT_EQ(state.Axis(TPadAxis::LeftX), 0);
  Device->Acquire();
  ASSERT_TRUE(Device->ReadState(state));
  EXPECT_TRUE(state.Button(TPadButton::DpadLeft));
  EXPECT_FALSE(state.Button(TPadButton::DpadRight));
  EXPECT_EQ(state.Axis(TPadAxis::LeftX), -1000);
}

TEST_F(ControllerDeviceTest, AnUnpluggedControllerReportsARestingState) {
  Device->Acquire();
  Pad->SetButton(TPadButton::A, true);
  System.Update();
  platform::TPadState state;
  ASSERT_TRUE(Device->ReadState(state));
  EXPECT_TRUE(state.Button(TPadButton::A));
  Pad.reset();
  System.Update();
  EXPECT_FALSE(Device->Attached());
  EXPECT_FALSE(Device->ReadState(state));
  EXPECT_FALSE(state.Button(TPadButton::A));
  EXPECT_TRUE(System.Attached().empty());
  EXPECT_EQ(System.Open(12345), nullptr);
}

TEST_F(ControllerDeviceTest, SelfCentringWithoutForceFeedbackIsRememberedButNotApplied) {
  EXPECT_FALSE(Device->SetAutocenter(true));
  EXPECT_TRUE(Device->Autocenter());
}

}  // namespace
