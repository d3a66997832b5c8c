#pragma once
// One input a race action can be bound to: a key, a controller button or a controller axis.

#include <cstdint>
#include <string>

#include "platform/PadLayout.h"
#include "platform/PadState.h"

namespace game {

/// A key by its virtual-key code, a controller button, or one direction of a controller axis
/// (active while the axis is past its dead zone that way). Written as a key name ("w", "up",
/// "space"), "pad:BUTTON" ("pad:a", "pad:dpleft") or "pad:AXIS+" / "pad:AXIS-" ("pad:leftx-");
/// a trigger may leave out its sign ("pad:righttrigger").
struct TControlInput {
  enum class TKind { Key, PadButton, PadAxis };
  TKind Kind = TKind::Key;
  int32_t Key = 0;
  platform::TPadButton Button = platform::TPadButton::A;
  platform::TPadAxis Axis = platform::TPadAxis::LeftX;
  /// +1 or -1: which way the axis must go.
  int32_t Direction = 1;

  /// A key input.
  static TControlInput OfKey(int32_t key);
  /// A controller-button input.
  static TControlInput OfButton(platform::TPadButton button);
  /// A controller-axis input.
  static TControlInput OfAxis(platform::TPadAxis axis, int32_t direction);
  /// Reads an input from its written form; false with the reason when it is not one.
  static bool Parse(const std::string& text, TControlInput& input, std::string& error);
  /// The written form.
  std::string Name() const;
  /// Whether a controller input is active in a controller state (false for keys).
  bool ActiveOn(const platform::TPadState& state) const;

  bool operator==(const TControlInput&) const = default;
};

}  // namespace game
