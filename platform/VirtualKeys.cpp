#include "VirtualKeys.h"

#include <SDL_keyboard.h>

#include <iterator>
#include <utility>

namespace platform {
namespace {

constexpr std::pair<SDL_Keycode, int32_t> kKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},
    {SDLK_TAB, VK_TAB},
    {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},
    {SDLK_PAUSE, VK_PAUSE},
    {SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},
    {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, VK_DOWN},
    {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY},
    {SDLK_KP_PLUS, VK_ADD},
    {SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_PERIOD, VK_DECIMAL},
    {SDLK_KP_DIVIDE, VK_DIVIDE},
    {SDLK_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDLK_SCROLLLOCK, VK_SCROLL},
    {SDLK_SEMICOLON, VK_OEM_1},
    {SDLK_EQUALS, VK_OEM_PLUS},
    {SDLK_COMMA, VK_OEM_COMMA},
    {SDLK_MINUS, VK_OEM_MINUS},
    {SDLK_PERIOD, VK_OEM_PERIOD},
    {SDLK_SLASH, VK_OEM_2},
    {SDLK_BACKQUOTE, VK_OEM_3},
    {SDLK_LEFTBRACKET, VK_OEM_4},
    {SDLK_BACKSLASH, VK_OEM_5},
    {SDLK_RIGHTBRACKET, VK_OEM_6},
    {SDLK_QUOTE, VK_OEM_7},
};

constexpr SDL_Keycode kKeypadDigits[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                         SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};

constexpr SDL_Keycode kFunctionKeys[] = {
    SDLK_F1,  SDLK_F2,  SDLK_F3,  SDLK_F4,  SDLK_F5,  SDLK_F6,  SDLK_F7,  SDLK_F8,
    SDLK_F9,  SDLK_F10, SDLK_F11, SDLK_F12, SDLK_F13, SDLK_F14, SDLK_F15, SDLK_F16,
    SDLK_F17, SDLK_F18, SDLK_F19, SDLK_F20, SDLK_F21, SDLK_F22, SDLK_F23, SDLK_F24};

}  // namespace

int32_t VirtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  for (size_t i = 0; i < std::size(kKeypadDigits); ++i) {
    if (kKeypadDigits[i] == key) return 96 + static_cast<int32_t>(i);
  }
  for (size_t i = 0; i < std::size(kFunctionKeys); ++i) {
    if (kFunctionKeys[i] == key) return VK_F1 + static_cast<int32_t>(i);
  }
  for (const auto& [sdl, vk] : kKeys) {
    if (sdl == key) return vk;
  }
  return 0;
}

SDL_Keycode SdlKeyOf(int32_t virtualKey) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return SDLK_a + (virtualKey - 'A');
  if (virtualKey >= '0' && virtualKey <= '9') return SDLK_0 + (virtualKey - '0');
  if (virtualKey >= 96 && virtualKey <= 105) return kKeypadDigits[virtualKey - 96];
  if (virtualKey >= VK_F1 && virtualKey < VK_F1 + 24) return kFunctionKeys[virtualKey - VK_F1];
  for (const auto& [sdl, vk] : kKeys) {
    if (vk == virtualKey) return sdl;
  }
  return SDLK_UNKNOWN;
}

}  // namespace platform
