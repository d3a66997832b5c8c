// Keys and controllers mapped onto the keys the screens read, in a race and on the menus.

#include <gtest/gtest.h>

#include "game/ControlKeys.h"
#include "platform/VirtualKeys.h"

namespace {

using game::TControlBindings;
using game::TControlInput;
using game::TControlKeys;
using game::TControlMode;
using game::TKeyTransition;
using game::TRaceAction;
using platform::TPadAxis;
using platform::TPadButton;
using platform::TPadState;
using Changes = std::vector<TKeyTransition>;
using namespace platform;

TKeyTransition Down(int32_t key) {
  return {TKeyTransition::TKind::Down, key};
}
TKeyTransition Up(int32_t key) {
  return {TKeyTransition::TKind::Up, key};
}
TKeyTransition Cancel(int32_t key) {
  return {TKeyTransition::TKind::Cancel, key};
}

TPadState Pressing(TPadButton button) {
  TPadState pad;
  pad.Buttons[static_cast<size_t>(button)] = true;
  return pad;
}

TPadState Moving(TPadAxis axis, int32_t value) {
  TPadState pad;
  pad.Axes[static_cast<size_t>(axis)] = value;
  return pad;
}

TEST(ControlKeysTest, EachControllerInputGivesItsKeyInARaceAndInTheMenus) {
  struct TCase {
    const char* Name;
    TPadState Pad;
    int32_t RaceKey;  // 0: nothing
    int32_t MenuKey;
  };
  const TCase cases[] = {
      {"right trigger", Moving(TPadAxis::RightTrigger, 1000), VK_UP, 0},
      {"a", Pressing(TPadButton::A), VK_UP, VK_RETURN},
      {"left trigger", Moving(TPadAxis::LeftTrigger, 40), VK_DOWN, 0},
      {"b", Pressing(TPadButton::B), VK_DOWN, VK_ESCAPE},
      {"stick left", Moving(TPadAxis::LeftX, -1), VK_LEFT, VK_LEFT},
      {"stick right", Moving(TPadAxis::LeftX, 700), VK_RIGHT, VK_RIGHT},
      {"d-pad left", Pressing(TPadButton::DpadLeft), VK_LEFT, VK_LEFT},
      {"d-pad right", Pressing(TPadButton::DpadRight), VK_RIGHT, VK_RIGHT},
      {"x", Pressing(TPadButton::X), VK_SPACE, 0},
      {"start", Pressing(TPadButton::Start), 'P', VK_RETURN},
      {"back", Pressing(TPadButton::Back), VK_ESCAPE, VK_ESCAPE},
      {"d-pad up", Pressing(TPadButton::DpadUp), 0, VK_UP},
      {"d-pad down", Pressing(TPadButton::DpadDown), 0, VK_DOWN},
      {"stick up", Moving(TPadAxis::LeftY, -300), 0, VK_UP},
      {"stick down", Moving(TPadAxis::LeftY, 300), 0, VK_DOWN},
      {"y", Pressing(TPadButton::Y), 'R', 'T'},  // T: the track choice's TIME TRIAL
      {"right stick", Moving(TPadAxis::RightX, 1000), 0, 0},
  };
  for (const auto& c : cases) {
    for (const auto mode : {TControlMode::Race, TControlMode::Menu}) {
      TControlKeys keys;
      keys.SetMode(mode);
      const int32_t key = mode == TControlMode::Race ? c.RaceKey : c.MenuKey;
      const Changes press = keys.PadFrame({c.Pad});
      const Changes release = keys.PadFrame({TPadState{}});
      const char* where = mode == TControlMode::Race ? " in a race" : " on a menu";
      EXPECT_EQ(press, key ? Changes{Down(key)} : Changes{}) << c.Name << where;
      EXPECT_EQ(release, key ? Changes{Up(key)} : Changes{}) << c.Name << where;
    }
  }
}

TEST(ControlKeysTest, AHeldKeyIsReportedOnceAndReleasedWhenNothingHoldsItAnyMore) {
  TControlKeys keys;
  keys.SetMode(TControlMode::Race);
  EXPECT_EQ(keys.KeyDown(VK_UP), Changes{Down(VK_UP)});
  EXPECT_EQ(keys.KeyDown(VK_UP), Changes{});  // key repeat
  EXPECT_EQ(keys.PadFrame({Pressing(TPadButton::A)}), Changes{});
  EXPECT_EQ(keys.PadFrame({Pressing(TPadButton::A), Moving(TPadAxis::RightTrigger, 9)}), Changes{});
  EXPECT_EQ(keys.KeyUp(VK_UP), Changes{});
  EXPECT_EQ(keys.PadFrame({TPadState{}, Moving(TPadAxis::RightTrigger, 9)}), Changes{});
  EXPECT_EQ(keys.PadFrame({TPadState{}}), Changes{Up(VK_UP)});  // second controller unplugged
}

TEST(ControlKeysTest, ThrottleMovedToWDrivesWithWAndNoLongerWithUp) {
  TControlBindings bindings;
  bindings.Parse("throttle = w\n");
  TControlKeys keys(bindings);
  keys.SetMode(TControlMode::Race);
  EXPECT_EQ(keys.KeyDown(VK_UP), Changes{});
  EXPECT_EQ(keys.KeyUp(VK_UP), Changes{});
  EXPECT_EQ(keys.KeyDown('W'), Changes{Down(VK_UP)});
  EXPECT_EQ(keys.KeyUp('W'), Changes{Up(VK_UP)});
  EXPECT_EQ(keys.PadFrame({Pressing(TPadButton::A)}), Changes{});  // the controller too
  // Keys that stand for no action pass unchanged; on the menus every key does.
  EXPECT_EQ(keys.KeyDown(VK_F1), Changes{Down(VK_F1)});
  EXPECT_EQ(keys.KeyUp(VK_F1), Changes{Up(VK_F1)});
  EXPECT_EQ(keys.KeyDown(VK_RETURN), Changes{Down(VK_RETURN)});
  EXPECT_EQ(keys.KeyUp(VK_RETURN), Changes{Up(VK_RETURN)});
  keys.SetMode(TControlMode::Menu);
  EXPECT_EQ(keys.KeyDown(VK_UP), Changes{Down(VK_UP)});
  EXPECT_EQ(keys.KeyUp(VK_UP), Changes{Up(VK_UP)});
  EXPECT_EQ(keys.KeyDown('W'), Changes{Down('W')});
  EXPECT_EQ(keys.KeyUp('W'), Changes{Up('W')});
}

TEST(ControlKeysTest, AKeyBoundToTwoActionsHoldsBoth) {
  TControlBindings bindings;
  bindings.Parse("brake = down, space\n");
  TControlKeys keys(bindings);
  keys.SetMode(TControlMode::Race);
  EXPECT_EQ(keys.KeyDown(VK_SPACE), (Changes{Down(VK_SPACE), Down(VK_DOWN)}));
  EXPECT_EQ(keys.KeyDown(VK_DOWN), Changes{});
  EXPECT_EQ(keys.KeyUp(VK_SPACE), Changes{Up(VK_SPACE)});
  EXPECT_EQ(keys.KeyUp(VK_DOWN), Changes{Up(VK_DOWN)});
}

TEST(ControlKeysTest, WhatIsHeldWhenTheModeChangesIsCancelledAndIgnoredUntilLetGo) {
  TControlKeys keys;
  keys.SetMode(TControlMode::Race);
  EXPECT_EQ(keys.KeyDown(VK_LEFT), Changes{Down(VK_LEFT)});
  EXPECT_EQ(keys.PadFrame({Pressing(TPadButton::A)}), Changes{Down(VK_UP)});
  // Back opens the quit panel: a menu. Neither the throttle nor the steering is released there.
  EXPECT_EQ(keys.SetMode(TControlMode::Menu), (Changes{Cancel(VK_LEFT), Cancel(VK_UP)}));
  EXPECT_EQ(keys.SetMode(TControlMode::Menu), Changes{});
  EXPECT_EQ(keys.PadFrame({Pressing(TPadButton::A)}), Changes{});  // A is still the throttle
  EXPECT_EQ(keys.KeyUp(VK_LEFT), Changes{});
  EXPECT_EQ(keys.PadFrame({TPadState{}}), Changes{});
  EXPECT_EQ(keys.PadFrame({Pressing(TPadButton::A)}), Changes{Down(VK_RETURN)});
  EXPECT_EQ(keys.PadFrame({TPadState{}}), Changes{Up(VK_RETURN)});
  EXPECT_EQ(keys.KeyDown(VK_LEFT), Changes{Down(VK_LEFT)});
}

TEST(ControlKeysTest, InputsSetAsideStillLetTheOthersAct) {
  TControlKeys keys;
  keys.SetMode(TControlMode::Race);
  EXPECT_EQ(keys.PadFrame({Moving(TPadAxis::RightTrigger, 800)}), Changes{Down(VK_UP)});
  keys.SetMode(TControlMode::Menu);
  TPadState both = Moving(TPadAxis::LeftY, -500);
  both.Axes[static_cast<size_t>(TPadAxis::RightTrigger)] = 800;
  EXPECT_EQ(keys.PadFrame({both}), Changes{Down(VK_UP)});  // the stick, not the trigger
  // The stick was not held at the change; turning it the other way counts at once.
  EXPECT_EQ(keys.PadFrame({Moving(TPadAxis::LeftY, 500)}), (Changes{Up(VK_UP), Down(VK_DOWN)}));
}

TEST(ControlKeysTest, AKeyReleasedThatWasPressedBeforeTheMappingStartedComesUpAsItsAction) {
  TControlBindings bindings;
  bindings.Parse("pause = q\n");
  TControlKeys keys(bindings);
  keys.SetMode(TControlMode::Race);
  EXPECT_EQ(keys.KeyUp('Q'), Changes{Up('P')});
  EXPECT_EQ(keys.KeyUp('P'), Changes{});
}

}  // namespace
