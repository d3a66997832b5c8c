#pragma once
// Virtual-key codes of the keyboard, as the game's key tables index them.

#include <SDL_keycode.h>

#include <cstdint>

namespace platform {

/// Virtual-key codes the game uses by name.
enum TVirtualKey : int32_t {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_SHIFT = 16,
  VK_CONTROL = 17,
  VK_MENU = 18,
  VK_PAUSE = 19,
  VK_CAPITAL = 20,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_PRIOR = 33,
  VK_NEXT = 34,
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_INSERT = 45,
  VK_DELETE = 46,
  VK_NUMPAD0 = 96,
  VK_MULTIPLY = 106,
  VK_ADD = 107,
  VK_SUBTRACT = 109,
  VK_DECIMAL = 110,
  VK_DIVIDE = 111,
  VK_F1 = 112,
  VK_NUMLOCK = 144,
  VK_SCROLL = 145,
  VK_OEM_1 = 186,
  VK_OEM_PLUS = 187,
  VK_OEM_COMMA = 188,
  VK_OEM_MINUS = 189,
  VK_OEM_PERIOD = 190,
  VK_OEM_2 = 191,
  VK_OEM_3 = 192,
  VK_OEM_4 = 219,
  VK_OEM_5 = 220,
  VK_OEM_6 = 221,
  VK_OEM_7 = 222,
};

/// The virtual-key code of an SDL key, or 0 for keys the game has no code for. Letters map to
/// 65..90, digits to 48..57, F1..F24 to 112..135, keypad digits to 96..105.
int32_t VirtualKeyOf(SDL_Keycode key);

/// The SDL key of a virtual-key code (the inverse of VirtualKeyOf), or SDLK_UNKNOWN.
SDL_Keycode SdlKeyOf(int32_t virtualKey);

}  // namespace platform
