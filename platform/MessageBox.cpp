#include "MessageBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace platform {

bool IsHeadless() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) driver = SDL_getenv("SDL_VIDEODRIVER");
  return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

int ShowMessageBox(const std::string& caption, const std::string& text,
                   const std::vector<std::string>& buttons) {
  if (IsHeadless()) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return 0;
  }
  std::vector<SDL_MessageBoxButtonData> data;
  for (size_t i = 0; i < buttons.size(); ++i) {
    Uint32 flags = i == 0 ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
    if (i + 1 == buttons.size() && i > 0) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    data.push_back({flags, static_cast<int>(i), buttons[i].c_str()});
  }
  const SDL_MessageBoxData box{
      SDL_MESSAGEBOX_ERROR,          nullptr,     caption.c_str(), text.c_str(),
      static_cast<int>(data.size()), data.data(), nullptr};
  int pressed = 0;
  if (SDL_ShowMessageBox(&box, &pressed) != 0) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return 0;
  }
  return pressed < 0 ? 0 : pressed;
}

void ShowFatalMessage(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  const char* driver = SDL_getenv("SDL_VIDEODRIVER");
  if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    return;
  }
  if (!SDL_getenv("DISPLAY") && !SDL_getenv("WAYLAND_DISPLAY")) return;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

}  // namespace platform
