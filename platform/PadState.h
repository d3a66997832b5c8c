#pragma once
// What one game controller reports in a frame.

#include <array>
#include <cstdint>

#include "PadLayout.h"

namespace platform {

/// The state of one controller in the standard layout: each axis already scaled to its range
/// with its dead zone applied (0 inside the dead zone), and each button held or not.
struct TPadState {
  std::array<int32_t, kPadAxisCount> Axes{};
  std::array<bool, kPadButtonCount> Buttons{};

  /// The scaled value of an axis.
  int32_t Axis(TPadAxis axis) const { return Axes[static_cast<size_t>(axis)]; }
  /// Whether a button is held.
  bool Button(TPadButton button) const { return Buttons[static_cast<size_t>(button)]; }
};

}  // namespace platform
