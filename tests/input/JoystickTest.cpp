// The joysticks of the input manager on SDL's virtual controllers: settings, their clamping and
// what reaches the device, copies for further controllers, and controllers plugged in or out.

#include <gtest/gtest.h>

#include <memory>

#include "PadTestSupport.h"
#include "engine/VexelInput.h"
#include "platform/VirtualPad.h"

namespace {

using platform::TPadAxis;
using platform::TPadButton;
using platform::TVirtualPad;
using vexel::TJoystick;
using vexel::TVexelInput;

class JoystickTest : public ::testing::Test {
 protected:
  void SetUp() override { SKIP_WITH_REAL_CONTROLLERS(); }
  TVexelInput Input;
};

TEST_F(JoystickTest, ANewJoystickHasTheDefaultRangesAndDeadZones) {
  TJoystick& joystick = Input.Joystick();
  EXPECT_EQ(joystick.RangeX(), 1000);
  EXPECT_EQ(joystick.RangeY(), 1000);
  EXPECT_EQ(joystick.RangeZ(), 1000);
  EXPECT_EQ(joystick.DeadZoneX(), 20);
  EXPECT_EQ(joystick.DeadZoneY(), 20);
  EXPECT_EQ(joystick.DeadZoneZ(), 20);
  for (int32_t offset = 0; offset < TJoystick::kOffsetCount; ++offset) {
    EXPECT_EQ(joystick.GetRange(offset), 1000) << offset;
    EXPECT_EQ(joystick.GetDeadZone(offset), 20) << offset;
  }
  EXPECT_TRUE(joystick.Autocenter());
  EXPECT_FALSE(joystick.Enabled());
  EXPECT_FALSE(joystick.Initialized());
  EXPECT_TRUE(joystick.ForegroundOnly());
  EXPECT_FALSE(joystick.Exclusive());
  EXPECT_EQ(joystick.DeviceIndex(), 0);
  EXPECT_EQ(joystick.ButtonCount(), 0);
  EXPECT_EQ(joystick.AxesCount(), 0);
  ASSERT_EQ(Input.Joysticks().size(), 1u);
  EXPECT_EQ(Input.Joysticks()[0], &joystick);
}

TEST_F(JoystickTest, DeadZonesAreClampedAndSentInHundredthsOfAPercent) {
  TVirtualPad pad("Test pad");
  Input.Joystick().SetEnabled(true);
  Input.Initialize();
  TJoystick& joystick = Input.Joystick();
  ASSERT_TRUE(joystick.Initialized());
  struct TCase {
    int32_t Offset;
    int32_t Percent;
    int32_t Stored;
    TPadAxis Axis;
    int32_t Sent;
  };
  const TCase cases[] = {
      {0, 150, 100, TPadAxis::LeftX, 10000}, {0, 35, 35, TPadAxis::LeftX, 3500},
      {4, -5, 0, TPadAxis::LeftY, 0},        {8, 100, 100, TPadAxis::LeftTrigger, 10000},
      {16, 1, 1, TPadAxis::RightY, 100},     {20, 50, 50, TPadAxis::RightTrigger, 5000},
  };
  for (const auto& c : cases) {
    joystick.SetDeadZone(c.Offset, c.Percent);
    EXPECT_EQ(joystick.GetDeadZone(c.Offset), c.Stored) << c.Offset << " " << c.Percent;
    EXPECT_EQ(joystick.Device()->AxisDeadZone(c.Axis), c.Sent) << c.Offset << " " << c.Percent;
  }
  joystick.SetDeadZoneX(150);
  EXPECT_EQ(joystick.DeadZoneX(), 100);
  EXPECT_EQ(joystick.Device()->AxisDeadZone(TPadAxis::LeftX), 10000);
}

TEST_F(JoystickTest, OffsetsOutsideTheStateRecordAreIgnored) {
  TVirtualPad pad("Test pad");
  Input.Joystick().SetEnabled(true);
  Input.Initialize();
  TJoystick& joystick = Input.Joystick();
  for (int32_t offset : {80, -1, 1000}) {
    joystick.SetRange(offset, 5);
    joystick.SetDeadZone(offset, 5);
    EXPECT_EQ(joystick.GetRange(offset), 0) << offset;
    EXPECT_EQ(joystick.GetDeadZone(offset), 0) << offset;
  }
  for (int32_t offset = 0; offset < TJoystick::kOffsetCount; ++offset) {
    EXPECT_EQ(joystick.GetRange(offset), 1000) << offset;
    EXPECT_EQ(joystick.GetDeadZone(offset), 20) << offset;
  }
  EXPECT_EQ(joystick.Device()->AxisRange(TPadAxis::LeftX), std::make_pair(-1000, 1000));
}

TEST_F(JoystickTest, RangesAreNeverNegativeAndReachTheDeviceAsPlusMinus) {
  TVirtualPad pad("Test pad");
  Input.Joystick().SetEnabled(true);
  Input.Initialize();
  TJoystick& joystick = Input.Joystick();
  joystick.SetRangeY(-40);
  EXPECT_EQ(joystick.RangeY(), 0);
  EXPECT_EQ(joystick.Device()->AxisRange(TPadAxis::LeftY), std::make_pair(0, 0));
  joystick.SetRange(12, 250);
  EXPECT_EQ(joystick.Device()->AxisRange(TPadAxis::RightX), std::make_pair(-250, 250));
  joystick.SetRange(48, 7);  // a button's offset: stored, but no axis to send it to
  EXPECT_EQ(joystick.GetRange(48), 7);
}

TEST_F(JoystickTest, SettingsMadeBeforeInitialisationReachTheDevice) {
  TVirtualPad pad("Test pad");
  TJoystick& joystick = Input.Joystick();
  joystick.SetRangeX(300);
  joystick.SetDeadZoneZ(60);
  joystick.SetAutocenter(false);
  joystick.SetEnabled(true);  // the manager is not initialised yet: nothing opens
  EXPECT_FALSE(joystick.Initialized());
  Input.Initialize();
  ASSERT_TRUE(joystick.Initialized());
  EXPECT_EQ(joystick.Device()->AxisRange(TPadAxis::LeftX), std::make_pair(-300, 300));
  EXPECT_EQ(joystick.Device()->AxisDeadZone(TPadAxis::LeftTrigger), 6000);
  EXPECT_FALSE(joystick.Device()->Autocenter());
  EXPECT_EQ(joystick.ProductName(), "Test pad");
  EXPECT_EQ(joystick.ButtonCount(), platform::kPadButtonCount);
  EXPECT_EQ(joystick.AxesCount(), platform::kPadAxisCount);
  joystick.SetAutocenter(true);
  EXPECT_TRUE(joystick.Device()->Autocenter());
}

TEST_F(JoystickTest, TwoControllersGiveTwoJoysticksTheSecondACopyOfTheFirst) {
  TVirtualPad first("First pad");
  TVirtualPad second("Second pad");
  TJoystick& joystick = Input.Joystick();
  joystick.SetRangeX(500);
  joystick.SetDeadZoneY(35);
  joystick.SetAutocenter(false);
  joystick.SetForegroundOnly(false);
  joystick.SetExclusive(true);
  joystick.SetEnabled(true);
  Input.Initialize();
  ASSERT_EQ(Input.Joysticks().size(), 2u);
  const TJoystick& copy = *Input.Joysticks()[1];
  EXPECT_EQ(copy.DeviceIndex(), 1);
  EXPECT_EQ(copy.RangeX(), 500);
  EXPECT_EQ(copy.DeadZoneY(), 35);
  EXPECT_EQ(copy.RangeY(), 1000);
  EXPECT_FALSE(copy.Autocenter());
  EXPECT_FALSE(copy.ForegroundOnly());
  EXPECT_TRUE(copy.Exclusive());
  EXPECT_TRUE(copy.Enabled());
  EXPECT_TRUE(joystick.Initialized());
  EXPECT_TRUE(copy.Initialized());
  EXPECT_EQ(joystick.ProductName(), "First pad");
  EXPECT_EQ(copy.ProductName(), "Second pad");
  EXPECT_EQ(copy.Device()->AxisDeadZone(TPadAxis::LeftY), 3500);
  // Initialising again rebuilds the list instead of adding to it.
  Input.Initialize();
  EXPECT_EQ(Input.Joysticks().size(), 2u);
}

TEST_F(JoystickTest, EachJoystickReadsItsOwnControllerScaledByItsSettings) {
  TVirtualPad first("First pad");
  TVirtualPad second("Second pad");
  Input.Joystick().SetEnabled(true);
  Input.Initialize();
  first.SetButton(TPadButton::A, true);
  second.SetAxis(TPadAxis::RightTrigger, 32767);
  Input.Update();
  const auto states = Input.States();
  ASSERT_EQ(states.size(), 2u);
  EXPECT_TRUE(states[0].Button(TPadButton::A));
  EXPECT_EQ(states[0].Axis(TPadAxis::RightTrigger), 0);
  EXPECT_FALSE(states[1].Button(TPadButton::A));
  EXPECT_EQ(states[1].Axis(TPadAxis::RightTrigger), 1000);
}

TEST_F(JoystickTest, ADisabledJoystickOpensNothingUntilEnabled) {
  TVirtualPad pad("Test pad");
  Input.Initialize();
  EXPECT_FALSE(Input.Joystick().Initialized());
  EXPECT_TRUE(Input.States().empty());
  Input.Joystick().SetEnabled(true);  // the manager is initialised: it opens at once
  EXPECT_TRUE(Input.Joystick().Initialized());
  ASSERT_NE(Input.Joystick().Device(), nullptr);
  EXPECT_TRUE(Input.Joystick().Device()->Acquired());
  Input.Joystick().SetEnabled(false);
  EXPECT_FALSE(Input.Joystick().Initialized());
  EXPECT_EQ(Input.Joystick().Device(), nullptr);
}

TEST_F(JoystickTest, ADeviceIndexWithoutAControllerLeavesTheJoystickUninitialised) {
  TVirtualPad first("First pad");
  TVirtualPad second("Second pad");
  TJoystick& joystick = Input.Joystick();
  joystick.SetEnabled(true);
  Input.Initialize();
  joystick.SetDeviceIndex(1);
  EXPECT_TRUE(joystick.Initialized());
  EXPECT_EQ(joystick.ProductName(), "Second pad");
  joystick.SetDeviceIndex(7);
  EXPECT_FALSE(joystick.Initialized());
}

TEST_F(JoystickTest, ControllersPluggedInOrOutAreFollowedAndNamed) {
  Input.Joystick().SetEnabled(true);
  Input.Initialize();
  EXPECT_FALSE(Input.Joystick().Initialized());
  auto first = std::make_unique<TVirtualPad>("First pad");
  ::testing::internal::CaptureStderr();
  Input.Update();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Game controller plugged in: First pad\n");
  EXPECT_TRUE(Input.Joystick().Initialized());
  TVirtualPad second("Second pad");
  ::testing::internal::CaptureStderr();
  Input.Update();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Game controller plugged in: Second pad\n");
  ASSERT_EQ(Input.Joysticks().size(), 2u);

  second.SetButton(TPadButton::B, true);
  first.reset();
  ::testing::internal::CaptureStderr();
  Input.Update();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Game controller unplugged: First pad\n");
  ASSERT_EQ(Input.Joysticks().size(), 1u);
  EXPECT_EQ(Input.Joystick().ProductName(), "Second pad");
  Input.Update();
  ASSERT_EQ(Input.States().size(), 1u);
  EXPECT_TRUE(Input.States()[0].Button(TPadButton::B));
  ::testing::internal::CaptureStderr();
  Input.Update();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(JoystickTest, AnUninitialisedManagerReadsNothing) {
  TVirtualPad pad("Test pad");
  Input.Joystick().SetEnabled(true);
  Input.Update();
  EXPECT_TRUE(Input.States().empty());
  Input.Initialize();
  Input.Finalize();
  EXPECT_FALSE(Input.Joystick().Initialized());
  EXPECT_EQ(Input.Controllers(), nullptr);
  Input.Update();
  EXPECT_TRUE(Input.States().empty());
}

}  // namespace
