// The platform layer: input scripts, code page 1251, virtual keys, the message loop's timers.

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/Application.h"
#include "platform/CodePage1251.h"
#include "platform/InputScript.h"
#include "platform/Shell.h"
#include "platform/SystemTimer.h"
#include "platform/VirtualKeys.h"

namespace {

using platform::TPlatformEvent;
using T = TPlatformEvent::TType;

TEST(InputScriptTest, ParsesEveryEventKindAtItsFrame) {
  platform::TInputScript script;
  std::string error;
  ASSERT_TRUE(
      script.Parse("# comment\n"
                   "\n"
                   "3 keydown left\n"
                   "5 keyup 37\n"
                   "7 key enter\n"
                   "9 click 100 200\n"
                   "12 down 5 6 right\n"
                   "13 text Аб1\n"
                   "20 close\n",
                   error))
      << error;
  EXPECT_EQ(script.LastFrame(), 20);
  auto at3 = script.EventsAt(3);
  ASSERT_EQ(at3.size(), 1u);
  EXPECT_EQ(at3[0].Type, T::KeyDown);
  EXPECT_EQ(at3[0].Key, platform::VK_LEFT);
  EXPECT_EQ(script.EventsAt(5).at(0).Type, T::KeyUp);
  EXPECT_EQ(script.EventsAt(7).at(0).Key, platform::VK_RETURN);
  EXPECT_EQ(script.EventsAt(8).at(0).Type, T::KeyUp);
  const auto click = script.EventsAt(9);
  ASSERT_EQ(click.size(), 2u);
  EXPECT_EQ(click[0].Type, T::MouseMove);
  EXPECT_EQ(click[1].Type, T::MouseDown);
  EXPECT_EQ(click[1].X, 100);
  EXPECT_EQ(click[1].Y, 200);
  EXPECT_EQ(script.EventsAt(10).at(0).Type, T::MouseUp);
  EXPECT_EQ(script.EventsAt(12).at(1).Button, TPlatformEvent::TButton::Right);
  const auto text = script.EventsAt(13);
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[0].Char, 0xC0);
  EXPECT_EQ(text[1].Char, 0xE1);
  EXPECT_EQ(text[2].Char, '1');
  EXPECT_EQ(script.EventsAt(20).at(0).Type, T::Close);
  EXPECT_TRUE(script.EventsAt(4).empty());
}

TEST(InputScriptTest, RejectsMalformedLinesNamingThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"x keydown left", "line 1"},
      {"1 keydown nosuchkey", "unknown key"},
      {"\n2 jump", "line 2: unknown event"},
      {"1 click 5", "expected X Y"},
      {"-4 close", "line 1"},
      {"1 down 1 2 sideways", "expected X Y"},
  };
  for (const auto& [text, message] : cases) {
    platform::TInputScript script;
    std::string error;
    EXPECT_FALSE(script.Parse(text, error)) << text;
    EXPECT_NE(error.find(message), std::string::npos) << text << " -> " << error;
  }
  platform::TInputScript script;
  std::string error;
  EXPECT_FALSE(script.Load("/nonexistent/script.txt", error));
}

TEST(CodePage1251Test, RoundTripsEveryAssignedByte) {
  for (int b = 1; b < 256; ++b) {
    const char32_t cp = platform::UnicodeOf1251(static_cast<uint8_t>(b));
    if (cp == 0) continue;
    EXPECT_EQ(platform::ByteOf1251(cp), b) << b;
  }
  EXPECT_EQ(platform::UnicodeOf1251(0xC0), U'А');
  EXPECT_EQ(platform::UnicodeOf1251(0xFF), U'я');
  EXPECT_EQ(platform::UnicodeOf1251(0xA8), U'Ё');
  EXPECT_EQ(platform::Utf8To1251("Ёж☃x"), "\xA8\xE6x");
  EXPECT_EQ(platform::Cp1251ToUtf8("\xC0\xE1"), "Аб");
  EXPECT_EQ(platform::Utf8To1251("\xC3"), "");  // a broken sequence is dropped
}

TEST(VirtualKeysTest, MapsTheKeysTheGameUsesBothWays) {
  const std::pair<SDL_Keycode, int> cases[] = {
      {SDLK_BACKSPACE, 8}, {SDLK_RETURN, 13}, {SDLK_LCTRL, 17}, {SDLK_ESCAPE, 27}, {SDLK_SPACE, 32},
      {SDLK_LEFT, 37},     {SDLK_UP, 38},     {SDLK_RIGHT, 39}, {SDLK_DOWN, 40},   {SDLK_p, 80},
      {SDLK_F1, 112},      {SDLK_a, 65},      {SDLK_z, 90},     {SDLK_0, 48},      {SDLK_9, 57},
      {SDLK_KP_5, 101},    {SDLK_F12, 123},
  };
  for (const auto& [sdl, vk] : cases) {
    EXPECT_EQ(platform::VirtualKeyOf(sdl), vk) << SDL_GetKeyName(sdl);
    EXPECT_EQ(platform::VirtualKeyOf(platform::SdlKeyOf(vk)), vk) << vk;
  }
  EXPECT_EQ(platform::VirtualKeyOf(SDLK_KP_ENTER), 13);
  EXPECT_EQ(platform::VirtualKeyOf(SDLK_APPLICATION), 0);
}

TEST(ShellTest, GamePathsUseForwardSlashes) {
  EXPECT_EQ(platform::NativePath("Data\\data1.oil"), "Data/data1.oil");
  EXPECT_EQ(platform::NativePath("Sounds\\Car Start 01.wav"), "Sounds/Car Start 01.wav");
}

TEST(ApplicationTest, TimersTickBetweenIdleStepsAndCatchUp) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0);
  platform::TApplication app;
  platform::TSystemTimer timer(app, 10);
  int ticks = 0;
  bool inIdle = false;
  bool tickInsideIdle = false;
  timer.OnTimer = [&] {
    ++ticks;
    tickInsideIdle = tickInsideIdle || inIdle;
  };
  timer.SetEnabled(true);
  int steps = 0;
  app.SetOnIdle([&](bool& done) {
    inIdle = true;
    done = false;
    if (++steps == 2) SDL_Delay(55);  // a long frame: its missed ticks follow it
    inIdle = false;
    app.SetIdleWait(0.002);
  });
  const uint64_t start = SDL_GetTicks64();
  while (SDL_GetTicks64() - start < 205) app.RunOnce(nullptr);
  timer.SetEnabled(false);
  EXPECT_FALSE(tickInsideIdle);
  EXPECT_GE(ticks, 15);  // 20 due; a busy machine may delay the loop beyond the catch-up
  EXPECT_LE(ticks, 21);
  app.Terminate();
  EXPECT_FALSE(app.RunOnce(nullptr));
}

TEST(ApplicationTest, ExceptionsFromHandlersAreReportedAndTheLoopGoesOn) {
  platform::TApplication app;
  int calls = 0;
  app.SetOnIdle([&](bool&) {
    ++calls;
    throw std::runtime_error("boom");
  });
  testing::internal::CaptureStderr();
  EXPECT_TRUE(app.RunOnce(nullptr));
  EXPECT_TRUE(app.RunOnce(nullptr));
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(calls, 2);
  EXPECT_NE(err.find("boom"), std::string::npos);
}

}  // namespace
