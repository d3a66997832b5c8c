// Controller events of input scripts: how they are read, and a script played on a virtual
// controller through the input manager and the key mapping into the shell's key flags.

#include <gtest/gtest.h>

#include <array>

#include "PadTestSupport.h"
#include "engine/VexelInput.h"
#include "game/ControlKeys.h"
#include "platform/InputScript.h"
#include "platform/PlatformWindow.h"
#include "platform/VirtualKeys.h"
#include "platform/VirtualPad.h"

namespace {

using platform::TPadAxis;
using platform::TPadButton;
using platform::TPadEvent;
using Type = TPadEvent::TType;

TEST(PadScriptTest, ReadsEveryControllerEventAtItsFrame) {
  platform::TInputScript script;
  std::string error;
  ASSERT_TRUE(
      script.Parse("2 paddown a\n"
                   "4 padup A\n"
                   "6 pad start\n"
                   "8 padaxis righttrigger 32767\n"
                   "9 padaxis leftx -32768\n"
                   "30 pad dpdown\n",
                   error))
      << error;
  EXPECT_TRUE(script.HasPadEvents());
  EXPECT_TRUE(script.EventsAt(2).empty());  // controller events are not window events
  struct TCase {
    long Frame;
    Type Kind;
    TPadButton Button;
    TPadAxis Axis;
    int16_t Value;
  };
  const TCase cases[] = {
      {2, Type::ButtonDown, TPadButton::A, TPadAxis::LeftX, 0},
      {4, Type::ButtonUp, TPadButton::A, TPadAxis::LeftX, 0},
      {6, Type::ButtonDown, TPadButton::Start, TPadAxis::LeftX, 0},
      {7, Type::ButtonUp, TPadButton::Start, TPadAxis::LeftX, 0},
      {8, Type::Axis, TPadButton::A, TPadAxis::RightTrigger, 32767},
      {9, Type::Axis, TPadButton::A, TPadAxis::LeftX, -32768},
      {30, Type::ButtonDown, TPadButton::DpadDown, TPadAxis::LeftX, 0},
  };
  for (const auto& c : cases) {
    const auto events = script.PadEventsAt(c.Frame);
    ASSERT_EQ(events.size(), 1u) << c.Frame;
    EXPECT_EQ(events[0].Type, c.Kind) << c.Frame;
    if (c.Kind == Type::Axis) {
      EXPECT_EQ(events[0].Axis, c.Axis) << c.Frame;
      EXPECT_EQ(events[0].Value, c.Value) << c.Frame;
    } else {
      EXPECT_EQ(events[0].Button, c.Button) << c.Frame;
    }
  }
  EXPECT_EQ(script.LastFrame(), 31);  // the release of the last press counts
}

TEST(PadScriptTest, ScriptsWithoutControllerEventsNeedNoController) {
  platform::TInputScript script;
  std::string error;
  ASSERT_TRUE(script.Parse("3 key enter\n", error));
  EXPECT_FALSE(script.HasPadEvents());
  EXPECT_EQ(script.LastFrame(), 4);
}

TEST(PadScriptTest, MalformedControllerLinesAreRejectedWithTheReason) {
  const std::pair<const char*, const char*> cases[] = {
      {"1 pad jump", "line 1: unknown controller button 'jump'"},
      {"1 paddown", "line 1: unknown controller button ''"},
      {"1 padup leftx", "line 1: unknown controller button 'leftx'"},
      {"1 padaxis a 5", "line 1: unknown controller axis 'a'"},
      {"1 padaxis leftx", "line 1: expected an axis value from -32768 to 32767"},
      {"1 padaxis leftx 32768", "line 1: expected an axis value from -32768 to 32767"},
      {"1 padaxis lefty -32769", "line 1: expected an axis value from -32768 to 32767"},
      {"# fine\n2 padpress a", "line 2: unknown event 'padpress'"},
  };
  for (const auto& [text, message] : cases) {
    platform::TInputScript script;
    std::string error;
    EXPECT_FALSE(script.Parse(text, error)) << text;
    EXPECT_EQ(error, message) << text;
  }
}

// The shell's side: key flags set by the transitions, as FormKeyDown and FormKeyUp set them.
struct TKeyFlags {
  std::array<bool, 256> Down{};
  std::array<bool, 256> Released{};
  void Apply(const std::vector<game::TKeyTransition>& changes) {
    for (const auto& change : changes) {
      if (change.Kind == game::TKeyTransition::TKind::Down) Down[change.Key] = true;
      if (change.Kind != game::TKeyTransition::TKind::Down) Down[change.Key] = false;
      if (change.Kind == game::TKeyTransition::TKind::Up) Released[change.Key] = true;
    }
  }
};

TEST(PadScriptTest, AScriptedControllerDrivesAndNavigatesThroughTheKeyFlags) {
  SKIP_WITH_REAL_CONTROLLERS();
  platform::TInputScript script;
  std::string error;
  ASSERT_TRUE(
      script.Parse("1 pad dpdown\n"
                   "3 pad a\n"
                   "10 padaxis righttrigger 32767\n"
                   "12 padaxis leftx -30000\n"
                   "14 padaxis leftx 2000\n"
                   "16 padaxis righttrigger 0\n"
                   "18 pad back\n",
                   error))
      << error;
  ASSERT_TRUE(script.HasPadEvents());
  platform::TVirtualPad pad("Script pad");
  vexel::TVexelInput input;
  input.Joystick().SetEnabled(true);
  input.Initialize();
  game::TControlKeys keys;
  TKeyFlags flags;
  // One frame as the shell runs it: the script's controller events, the manager, the mapping.
  const auto frame = [&](long number, game::TControlMode mode) {
    flags.Released.fill(false);
    flags.Apply(keys.SetMode(mode));
    for (const auto& event : script.PadEventsAt(number)) pad.Apply(event);
    input.Update();
    flags.Apply(keys.PadFrame(input.States()));
  };
  using game::TControlMode;
  using namespace platform;
  frame(0, TControlMode::Menu);
  frame(1, TControlMode::Menu);
  EXPECT_TRUE(flags.Down[VK_DOWN]);
  frame(2, TControlMode::Menu);
  EXPECT_TRUE(flags.Released[VK_DOWN]);
  frame(3, TControlMode::Menu);
  frame(4, TControlMode::Menu);
  EXPECT_TRUE(flags.Released[VK_RETURN]);
  for (long n = 5; n < 10; ++n) frame(n, TControlMode::Race);
  frame(10, TControlMode::Race);
  EXPECT_TRUE(flags.Down[VK_UP]);
  frame(12, TControlMode::Race);
  EXPECT_TRUE(flags.Down[VK_LEFT]);
  EXPECT_TRUE(flags.Down[VK_UP]);
  frame(14, TControlMode::Race);  // inside the dead zone: steering stops
  EXPECT_FALSE(flags.Down[VK_LEFT]);
  EXPECT_TRUE(flags.Released[VK_LEFT]);
  EXPECT_FALSE(flags.Down[VK_RIGHT]);
  frame(16, TControlMode::Race);
  EXPECT_TRUE(flags.Released[VK_UP]);
  frame(18, TControlMode::Race);
  EXPECT_TRUE(flags.Down[VK_ESCAPE]);
  frame(19, TControlMode::Race);
  EXPECT_TRUE(flags.Released[VK_ESCAPE]);
}

TEST(PadScriptTest, TheScriptControllerCountsWhileTheWindowHasNoFocus) {
  SKIP_WITH_REAL_CONTROLLERS();
  platform::TPlatformWindow window("Comet Lane Derby", 800, 600);
  window.Show();
  platform::TPlatformEvent event;
  while (window.PollEvent(event)) {
  }
  platform::TVirtualPad pad(platform::kScriptPadName);
  vexel::TVexelInput input;
  input.Joystick().SetEnabled(true);
  input.Initialize();
  EXPECT_EQ(input.Joystick().ProductName(), platform::kScriptPadName);
  pad.SetButton(TPadButton::A, true);
  input.Update();
  ASSERT_EQ(input.States().size(), 1u);
  EXPECT_TRUE(input.States()[0].Button(TPadButton::A));
}

}  // namespace
