#pragma once
// A game controller made of software, for input scripts and tests.

#include <cstdint>
#include <string>

#include "PadEvent.h"
#include "PadLayout.h"

struct _SDL_Joystick;

namespace platform {

/// The name of the virtual controller that plays the controller events of an input script.
inline constexpr const char* kScriptPadName = "Comet Lane Derby script pad";

/// A virtual game controller with the standard layout, plugged in while this object lives. It is
/// listed and opened like a real controller; its buttons and axes are set by calls. While one is
/// plugged in, controller input counts even when the game's window has no focus, so scripted
/// runs behave the same on any desktop.
class TVirtualPad {
 public:
  /// Plugs in a virtual controller with this name; throws std::runtime_error when it cannot.
  explicit TVirtualPad(const std::string& name);
  /// Unplugs it.
  ~TVirtualPad();
  TVirtualPad(const TVirtualPad&) = delete;
  TVirtualPad& operator=(const TVirtualPad&) = delete;

  /// Presses or releases a button (seen at the next controller update).
  void SetButton(TPadButton button, bool down);
  /// Moves an axis to a value as the controller layout reports it: -32768..32767 for a stick
  /// axis, 0 (rest) to 32767 for a trigger, where negative values count as 0 (seen at the next
  /// controller update).
  void SetAxis(TPadAxis axis, int16_t value);
  /// Plays one scripted event.
  void Apply(const TPadEvent& event);
  /// The instance the system lists this controller under.
  int32_t InstanceId() const { return InstanceId_; }

 private:
  std::string Name_;
  _SDL_Joystick* Joystick_ = nullptr;
  int32_t InstanceId_ = -1;
};

}  // namespace platform
