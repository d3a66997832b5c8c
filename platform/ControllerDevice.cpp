#include "ControllerDevice.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace platform {

TControllerDevice::TControllerDevice(_SDL_GameController* controller) : Controller_(controller) {
  SDL_Joystick* joystick = SDL_GameControllerGetJoystick(Controller_);
  if (SDL_WasInit(SDL_INIT_HAPTIC) && SDL_JoystickIsHaptic(joystick) == SDL_TRUE) {
    Haptic_ = SDL_HapticOpenFromJoystick(joystick);
  }
}

TControllerDevice::~TControllerDevice() {
  if (Haptic_) SDL_HapticClose(Haptic_);
  SDL_GameControllerClose(Controller_);
}

int32_t TControllerDevice::ButtonCount() const {
  return SDL_JoystickNumButtons(SDL_GameControllerGetJoystick(Controller_));
}

int32_t TControllerDevice::AxesCount() const {
  return SDL_JoystickNumAxes(SDL_GameControllerGetJoystick(Controller_));
}

std::string TControllerDevice::Name() const {
  const char* name = SDL_GameControllerName(Controller_);
  return name ? name : "";
}

void TControllerDevice::SetAxisRange(TPadAxis axis, int32_t min, int32_t max) {
  auto& shape = Axes_[static_cast<size_t>(axis)];
  shape.Min = min;
  shape.Max = max;
}

std::pair<int32_t, int32_t> TControllerDevice::AxisRange(TPadAxis axis) const {
  const auto& shape = Axes_[static_cast<size_t>(axis)];
  return {shape.Min, shape.Max};
}

void TControllerDevice::SetAxisDeadZone(TPadAxis axis, int32_t deadZone) {
  Axes_[static_cast<size_t>(axis)].DeadZone = std::clamp(deadZone, 0, 10000);
}

int32_t TControllerDevice::AxisDeadZone(TPadAxis axis) const {
  return Axes_[static_cast<size_t>(axis)].DeadZone;
}

bool TControllerDevice::SetAutocenter(bool on) {
  Autocenter_ = on;
  if (!Haptic_ || !(SDL_HapticQuery(Haptic_) & SDL_HAPTIC_AUTOCENTER)) return false;
  return SDL_HapticSetAutocenter(Haptic_, on ? 100 : 0) == 0;
}

bool TControllerDevice::Attached() const {
  return SDL_GameControllerGetAttached(Controller_) == SDL_TRUE;
}

int32_t TControllerDevice::ScaleAxis(TPadAxis axis, int32_t raw) const {
  const auto& shape = Axes_[static_cast<size_t>(axis)];
  // Travel from rest: -1..1 for a stick, 0..1 for a trigger.
  const double travel = std::clamp(static_cast<double>(raw) / 32767.0, -1.0, 1.0);
  const double deadZone = shape.DeadZone / 10000.0;
  const double magnitude = std::abs(travel);
  const double live = magnitude <= deadZone ? 0.0 : (magnitude - deadZone) / (1.0 - deadZone);
  const double middle = (static_cast<double>(shape.Min) + shape.Max) / 2.0;
  const double half = (static_cast<double>(shape.Max) - shape.Min) / 2.0;
  return static_cast<int32_t>(std::lround(middle + std::copysign(live, travel) * half));
}

bool TControllerDevice::ReadState(TPadState& state) const {
  state = TPadState{};
  for (int32_t i = 0; i < kPadAxisCount; ++i)
    state.Axes[i] = ScaleAxis(static_cast<TPadAxis>(i), 0);
  if (!Acquired_ || !Attached()) return false;
  for (int32_t i = 0; i < kPadAxisCount; ++i) {
    const auto raw = SDL_GameControllerGetAxis(Controller_, static_cast<SDL_GameControllerAxis>(i));
    state.Axes[i] = ScaleAxis(static_cast<TPadAxis>(i), raw);
  }
  for (int32_t i = 0; i < kPadButtonCount; ++i) {
    state.Buttons[i] =
        SDL_GameControllerGetButton(Controller_, static_cast<SDL_GameControllerButton>(i)) != 0;
  }
  return true;
}

}  // namespace platform
