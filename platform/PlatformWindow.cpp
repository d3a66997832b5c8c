#include "PlatformWindow.h"

#include <algorithm>
#include <stdexcept>

#include "CodePage1251.h"
#include "VirtualKeys.h"

namespace platform {
namespace {

TPlatformEvent::TButton ButtonOf(Uint8 sdlButton) {
  if (sdlButton == SDL_BUTTON_RIGHT) return TPlatformEvent::TButton::Right;
  if (sdlButton == SDL_BUTTON_MIDDLE) return TPlatformEvent::TButton::Middle;
  return TPlatformEvent::TButton::Left;
}

// Leaves the parts of SDL a window uses; the last part of SDL in use takes SDL's own state
// (hints, error texts) with it.
void LeaveVideo() {
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

}  // namespace

TPlatformWindow::TPlatformWindow(const std::string& caption, int width, int height)
    : Width_(width), Height_(height) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
    throw std::runtime_error(std::string("No video system: ") + SDL_GetError());
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  Window_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                             height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!Window_) {
    const std::string why = std::string("No window: ") + SDL_GetError();
    LeaveVideo();
    throw std::runtime_error(why);
  }
  SDL_StartTextInput();
}

TPlatformWindow::~TPlatformWindow() {
  SDL_StopTextInput();
  SDL_DestroyWindow(Window_);
  LeaveVideo();
}

void TPlatformWindow::Show() {
  SDL_ShowWindow(Window_);
}

void TPlatformWindow::SetCaption(const std::string& caption) {
  SDL_SetWindowTitle(Window_, caption.c_str());
}

void TPlatformWindow::SetFullScreen(bool fullScreen) {
  if (fullScreen == FullScreen_) return;
  FullScreen_ = fullScreen;
  SDL_SetWindowFullscreen(Window_, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  if (!fullScreen) {
    SDL_SetWindowSize(Window_, Width_, Height_);
    SDL_SetWindowPosition(Window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  }
}

void TPlatformWindow::ShowCursor(bool show) {
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

SDL_Rect TPlatformWindow::PresentRect() const {
  int w = 0;
  int h = 0;
  SDL_GL_GetDrawableSize(Window_, &w, &h);
  if (w <= 0 || h <= 0) return SDL_Rect{0, 0, Width_, Height_};
  const double scale = std::min(static_cast<double>(w) / Width_, static_cast<double>(h) / Height_);
  const int pw = static_cast<int>(Width_ * scale);
  const int ph = static_cast<int>(Height_ * scale);
  return SDL_Rect{(w - pw) / 2, (h - ph) / 2, pw, ph};
}

void TPlatformWindow::MapToBackBuffer(int windowX, int windowY, int& x, int& y) const {
  int ww = 0;
  int wh = 0;
  int dw = 0;
  int dh = 0;
  SDL_GetWindowSize(Window_, &ww, &wh);
  SDL_GL_GetDrawableSize(Window_, &dw, &dh);
  const double px = ww > 0 ? static_cast<double>(windowX) * dw / ww : windowX;
  const double py = wh > 0 ? static_cast<double>(windowY) * dh / wh : windowY;
  const SDL_Rect r = PresentRect();
  x = static_cast<int>((px - r.x) * Width_ / std::max(r.w, 1));
  y = static_cast<int>((py - r.y) * Height_ / std::max(r.h, 1));
}

void TPlatformWindow::MousePosition(int& x, int& y) const {
  int wx = 0;
  int wy = 0;
  SDL_GetMouseState(&wx, &wy);
  MapToBackBuffer(wx, wy, x, y);
}

bool TPlatformWindow::PollEvent(TPlatformEvent& event) {
  while (Pending_.empty()) {
    SDL_Event sdl;
    if (!SDL_PollEvent(&sdl)) return false;
    TPlatformEvent translated;
    if (Translate(sdl, translated)) Pending_.push_back(translated);
  }
  event = Pending_.front();
  Pending_.pop_front();
  return true;
}

bool TPlatformWindow::Translate(const SDL_Event& sdl, TPlatformEvent& event) {
  using T = TPlatformEvent::TType;
  switch (sdl.type) {
    case SDL_QUIT:
      event.Type = T::Close;
      return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      event.Type = sdl.type == SDL_KEYDOWN ? T::KeyDown : T::KeyUp;
      event.Key = VirtualKeyOf(sdl.key.keysym.sym);
      return event.Key != 0;
    case SDL_MOUSEMOTION:
      event.Type = T::MouseMove;
      MapToBackBuffer(sdl.motion.x, sdl.motion.y, event.X, event.Y);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      event.Type = sdl.type == SDL_MOUSEBUTTONDOWN ? T::MouseDown : T::MouseUp;
      event.Button = ButtonOf(sdl.button.button);
      MapToBackBuffer(sdl.button.x, sdl.button.y, event.X, event.Y);
      return true;
    case SDL_TEXTINPUT:
      // One text event may carry several characters: each becomes a queued event of its own.
      for (char c : Utf8To1251(sdl.text.text)) {
        TPlatformEvent character;
        character.Type = T::Char;
        character.Char = static_cast<uint8_t>(c);
        Pending_.push_back(character);
      }
      return false;
    default:
      return false;
  }
}

}  // namespace platform
