// The game window on a real X server (run under Xvfb with a 1280 x 1024 screen).

#include <gtest/gtest.h>

#include "platform/PlatformWindow.h"

namespace {

// Lets the window system settle after a mode change.
void Settle(platform::TPlatformWindow& window, int expectedWidth) {
  platform::TPlatformEvent event;
  for (int i = 0; i < 200; ++i) {
    while (window.PollEvent(event)) {
    }
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window.Handle(), &w, &h);
    if (w == expectedWidth) return;
    SDL_Delay(10);
  }
}

TEST(WindowTest, FullScreenLetterboxesTheBackBufferAndMapsTheMouseBack) {
  platform::TPlatformWindow window("Comet Lane Derby", 800, 600);
  window.Show();
  Settle(window, 800);
  SDL_Rect r = window.PresentRect();
  EXPECT_EQ(r.x, 0);
  EXPECT_EQ(r.y, 0);
  EXPECT_EQ(r.w, 800);
  EXPECT_EQ(r.h, 600);
  EXPECT_STREQ(SDL_GetWindowTitle(window.Handle()), "Comet Lane Derby");

  window.SetFullScreen(true);
  Settle(window, 1280);
  r = window.PresentRect();
  EXPECT_EQ(r.w, 1280);
  EXPECT_EQ(r.h, 960);
  EXPECT_EQ(r.y, 32);
  int x = 0;
  int y = 0;
  window.MapToBackBuffer(640, 512, x, y);
  EXPECT_EQ(x, 400);
  EXPECT_EQ(y, 300);
  window.MapToBackBuffer(1279, 991, x, y);
  EXPECT_EQ(x, 799);
  EXPECT_EQ(y, 599);

  window.SetFullScreen(false);
  Settle(window, 800);
  r = window.PresentRect();
  EXPECT_EQ(r.w, 800);
  EXPECT_EQ(r.h, 600);
}

}  // namespace
