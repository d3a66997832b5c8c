#pragma once
// The standard game-controller layout: its buttons and axes and their names in input scripts and
// in the controls file.

#include <cstdint>
#include <string>

namespace platform {

/// The buttons of the standard controller layout, numbered as the system's controller API does.
enum class TPadButton : int32_t {
  A,
  B,
  X,
  Y,
  Back,
  Guide,
  Start,
  LeftStick,
  RightStick,
  LeftShoulder,
  RightShoulder,
  DpadUp,
  DpadDown,
  DpadLeft,
  DpadRight,
};
/// How many buttons the standard layout has.
constexpr int32_t kPadButtonCount = 15;

/// The axes of the standard controller layout: sticks rest at 0, triggers rest at 0 and grow.
enum class TPadAxis : int32_t { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger };
/// How many axes the standard layout has.
constexpr int32_t kPadAxisCount = 6;

/// The button of a controller name ("a", "start", "dpup", ...); false for an unknown name.
bool PadButtonOfName(const std::string& name, TPadButton& button);
/// The controller name of a button.
std::string PadButtonName(TPadButton button);
/// The axis of a controller name ("leftx", "righttrigger", ...); false for an unknown name.
bool PadAxisOfName(const std::string& name, TPadAxis& axis);
/// The controller name of an axis.
std::string PadAxisName(TPadAxis axis);
/// Whether an axis is a trigger (rests at one end) rather than a stick axis (rests in the middle).
bool IsTrigger(TPadAxis axis);

}  // namespace platform
