#pragma once
// The game's one window.

#include <SDL.h>

#include <deque>
#include <string>

#include "PlatformEvent.h"

namespace platform {

/// The one window of the game: a fixed 800 x 600 client area (or desktop full screen with the
/// back buffer letterboxed), its events turned into virtual-key, back-buffer-pixel and
/// code page 1251 character events, and the system mouse pointer.
class TPlatformWindow {
 public:
  /// Opens the video system and a hidden window of the given client size; throws on failure.
  TPlatformWindow(const std::string& caption, int width, int height);
  ~TPlatformWindow();
  TPlatformWindow(const TPlatformWindow&) = delete;
  TPlatformWindow& operator=(const TPlatformWindow&) = delete;

  /// Shows the window.
  void Show();
  /// Sets the caption.
  void SetCaption(const std::string& caption);
  /// Switches between desktop full screen and the fixed-size window.
  void SetFullScreen(bool fullScreen);
  /// Whether the window is full screen.
  bool FullScreen() const { return FullScreen_; }
  /// Shows or hides the system mouse pointer over the window.
  void ShowCursor(bool show);
  /// Takes the next pending event; false when there is none.
  bool PollEvent(TPlatformEvent& event);
  /// The pointer position in back-buffer pixels.
  void MousePosition(int& x, int& y) const;
  /// Where the back buffer is shown inside the window's drawable area (letterboxed).
  SDL_Rect PresentRect() const;
  /// Turns a point in window coordinates into back-buffer pixels (through the letterbox).
  void MapToBackBuffer(int windowX, int windowY, int& x, int& y) const;
  /// The SDL window.
  SDL_Window* Handle() const { return Window_; }
  /// Back-buffer width.
  int BackBufferWidth() const { return Width_; }
  /// Back-buffer height.
  int BackBufferHeight() const { return Height_; }

 private:
  bool Translate(const SDL_Event& sdl, TPlatformEvent& event);

  SDL_Window* Window_ = nullptr;
  int Width_;
  int Height_;
  bool FullScreen_ = false;
  std::deque<TPlatformEvent> Pending_;
};

}  // namespace platform
