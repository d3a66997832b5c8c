#include "VirtualPad.h"

#include <SDL.h>

#include <algorithm>
#include <stdexcept>

namespace platform {
namespace {

// The system index of the device with this instance, or -1.
int IndexOfInstance(SDL_JoystickID instance) {
  const int count = SDL_NumJoysticks();
  for (int i = 0; i < count; ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == instance) return i;
  }
  return -1;
}

}  // namespace

TVirtualPad::TVirtualPad(const std::string& name) : Name_(name) {
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    throw std::runtime_error(std::string("No game-controller system: ") + SDL_GetError());
  }
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = kPadAxisCount;
  desc.nbuttons = kPadButtonCount;
  desc.axis_mask = (1u << kPadAxisCount) - 1;
  desc.button_mask = (1u << kPadButtonCount) - 1;
  desc.name = Name_.c_str();
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  Joystick_ = index < 0 ? nullptr : SDL_JoystickOpen(index);
  if (!Joystick_) {
    const std::string reason = SDL_GetError();
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    throw std::runtime_error("No virtual game controller: " + reason);
  }
  InstanceId_ = SDL_JoystickInstanceID(Joystick_);
}

TVirtualPad::~TVirtualPad() {
  SDL_JoystickClose(Joystick_);
  const int index = IndexOfInstance(InstanceId_);
  if (index >= 0) SDL_JoystickDetachVirtual(index);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void TVirtualPad::SetButton(TPadButton button, bool down) {
  SDL_JoystickSetVirtualButton(Joystick_, static_cast<int>(button), down ? 1 : 0);
}

void TVirtualPad::SetAxis(TPadAxis axis, int16_t value) {
  int32_t raw = value;
  if (IsTrigger(axis)) {
    // The controller layout reports a trigger from 0 (rest) to 32767 over the device's whole
    // axis, which rests at -32768.
    raw = std::max<int32_t>(value, 0) * 65535 / 32767 - 32768;
  }
  SDL_JoystickSetVirtualAxis(Joystick_, static_cast<int>(axis), static_cast<Sint16>(raw));
}

void TVirtualPad::Apply(const TPadEvent& event) {
  switch (event.Type) {
    case TPadEvent::TType::ButtonDown:
      SetButton(event.Button, true);
      break;
    case TPadEvent::TType::ButtonUp:
      SetButton(event.Button, false);
      break;
    case TPadEvent::TType::Axis:
      SetAxis(event.Axis, event.Value);
      break;
  }
}

}  // namespace platform
