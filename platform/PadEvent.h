#pragma once
// One scripted game-controller event.

#include <cstdint>

#include "PadLayout.h"

namespace platform {

/// A button pressed or released, or an axis moved to a value (-32768..32767 for a stick, 0..32767
/// for a trigger), on the scripted virtual controller.
struct TPadEvent {
  enum class TType { ButtonDown, ButtonUp, Axis };
  TType Type = TType::ButtonDown;
  TPadButton Button = TPadButton::A;
  TPadAxis Axis = TPadAxis::LeftX;
  int16_t Value = 0;
};

}  // namespace platform
