#include "PadLayout.h"

#include <SDL.h>

namespace platform {

static_assert(static_cast<int>(TPadButton::DpadRight) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
static_assert(static_cast<int>(TPadButton::Start) == SDL_CONTROLLER_BUTTON_START);
static_assert(static_cast<int>(TPadAxis::RightTrigger) == SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
static_assert(static_cast<int>(TPadAxis::LeftTrigger) == SDL_CONTROLLER_AXIS_TRIGGERLEFT);

bool PadButtonOfName(const std::string& name, TPadButton& button) {
  const int value = SDL_GameControllerGetButtonFromString(name.c_str());
  if (value < 0 || value >= kPadButtonCount) return false;
  button = static_cast<TPadButton>(value);
  return true;
}

std::string PadButtonName(TPadButton button) {
  const char* name =
      SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(button));
  return name ? name : "";
}

bool PadAxisOfName(const std::string& name, TPadAxis& axis) {
  const int value = SDL_GameControllerGetAxisFromString(name.c_str());
  if (value < 0 || value >= kPadAxisCount) return false;
  axis = static_cast<TPadAxis>(value);
  return true;
}

std::string PadAxisName(TPadAxis axis) {
  const char* name = SDL_GameControllerGetStringForAxis(static_cast<SDL_GameControllerAxis>(axis));
  return name ? name : "";
}

bool IsTrigger(TPadAxis axis) {
  return axis == TPadAxis::LeftTrigger || axis == TPadAxis::RightTrigger;
}

}  // namespace platform
