#pragma once
// Window events as the game sees them: virtual-key codes, back-buffer pixels, characters.

#include <cstdint>
#include <string>

namespace platform {

/// One input or window event.
struct TPlatformEvent {
  enum class TType { None, KeyDown, KeyUp, MouseMove, MouseDown, MouseUp, Char, Close };
  /// Mouse buttons, numbered as the game's handlers expect.
  enum class TButton { Left, Right, Middle };
  TType Type = TType::None;
  /// Virtual-key code of KeyDown and KeyUp.
  int32_t Key = 0;
  /// Mouse position in back-buffer pixels.
  int32_t X = 0;
  int32_t Y = 0;
  TButton Button = TButton::Left;
  /// One 8-bit character (code page 1251) of a Char event.
  uint8_t Char = 0;
};

}  // namespace platform
