// The shipped promotion screen drawn on the real OpenGL back end (Mesa offscreen): while the
// countdown runs and after it. The frames are saved as promo-counting.png and promo-exit.png
// beside the test program.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PromoFolder.h"
#include "engine/VexelFont.h"
#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "online/ShareScreen.h"
#include "platform/FontSystem.h"
#include "platform/GlDevice.h"

namespace {

using promo_test::TPromoFolder;

class ShareScreenGlTest : public ::testing::Test {
 protected:
  ShareScreenGlTest()
      : Folder(TPromoFolder::TContent::Shipped),
        Links(Folder.Dir,
              [this](const std::string& target) {
                Opened.push_back(target);
                return true;
              }),
        Window("promo", 800, 600) {
    Display = std::make_unique<vexel::TVexelScreen>(std::make_unique<platform::TGlSystem>(Window));
    ShareList.SetVexelScreen(Display.get());
    Font.SetVexelScreen(Display.get());
    Display->Initialize();
    Display->SetFiltering(true);
  }

  ~ShareScreenGlTest() override {
    Font.SetVexelScreen(nullptr);
    ShareList.SetVexelScreen(nullptr);
  }

  // Runs a frame of the closing state with the pointer at (x, y), saves it and reads it back.
  void Frame(int32_t x, int32_t y, const std::string& picture) {
    Display->Clear(0, 0, 0, 0);
    Display->BeginScene();
    ShareList.BeginBatch();
    Screen.Frame(x, y);
    ShareList.EndBatch();
    Display->EndScene();
    ASSERT_TRUE(Display->SavePng(std::string(CLD_PROMO_TEST_OUTPUT) + "/" + picture));
    int32_t w = 0;
    int32_t h = 0;
    ASSERT_TRUE(Display->Device()->ReadBackBuffer(Pixels, w, h));
    ASSERT_EQ(w, 800);
    ASSERT_EQ(h, 600);
  }

  uint32_t Pixel(int32_t x, int32_t y) const {
    return Pixels[static_cast<size_t>(y) * 800 + x] & 0xFFFFFF;
  }

  // Pixels of the box near the countdown colour (255, 210, 120).
  int32_t CountdownPixels(int32_t left, int32_t top, int32_t right, int32_t bottom) const {
    int32_t count = 0;
    for (int32_t y = top; y < bottom; ++y) {
      for (int32_t x = left; x < right; ++x) {
        const uint32_t p = Pixel(x, y);
        const int r = static_cast<int>(p >> 16), g = static_cast<int>(p >> 8 & 0xFF),
                  b = static_cast<int>(p & 0xFF);
        if (r > 230 && g > 180 && g < 235 && b > 80 && b < 160) ++count;
      }
    }
    return count;
  }

  // Sum of absolute channel differences between two frames inside a box.
  static int64_t Difference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b,
                            const online::TButton& box) {
    int64_t sum = 0;
    for (int32_t y = box.NormalY; y < box.NormalY + box.ButtonHeight; ++y) {
      for (int32_t x = box.NormalX; x < box.NormalX + box.ButtonWidth; ++x) {
        const size_t i = static_cast<size_t>(y) * 800 + x;
        for (int shift = 0; shift < 24; shift += 8) {
          sum += std::abs(static_cast<int>(a[i] >> shift & 0xFF) -
                          static_cast<int>(b[i] >> shift & 0xFF));
        }
      }
    }
    return sum;
  }

  TPromoFolder Folder;
  std::vector<std::string> Opened;
  online::TGoToLink Links;
  platform::TPlatformWindow Window;
  std::unique_ptr<vexel::TVexelScreen> Display;
  platform::TFontSystem Fonts{CLD_FONTS_CONF};
  vexel::TVexelImageList ShareList;
  vexel::TVexelFont Font{Fonts};
  online::TShareScreen Screen{ShareList, Font, Links};
  std::vector<uint32_t> Pixels;
};

TEST_F(ShareScreenGlTest, ShippedScreenCountsDownThenLightsTheExitButton) {
  ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid) << Screen.Fault;
  ASSERT_TRUE(Screen.Begin());
  const online::TButton more = Screen.Buttons.front();
  const online::TButton exit = Screen.Buttons.back();
  const int32_t cx = Screen.CountdownX;
  const int32_t cy = Screen.CountdownY;

  Frame(more.NormalX + 20, more.NormalY + 20, "promo-counting.png");
  EXPECT_EQ(Screen.CountdownNumber(), 5);
  EXPECT_GT(CountdownPixels(cx - 20, cy - 20, cx + 20, cy + 20), 20) << "the number 5";
  EXPECT_NE(Pixel(400, 60), 0u) << "the background";
  const std::vector<uint32_t> counting = Pixels;

  while (!Screen.CloseAllowed()) Screen.CountdownStep();
  Frame(exit.NormalX + 20, exit.NormalY + 20, "promo-exit.png");
  EXPECT_EQ(CountdownPixels(cx - 20, cy - 20, cx + 20, cy + 20), 0) << "no number any more";
  EXPECT_GT(Difference(counting, Pixels, exit), 1000) << "exit button lit, no longer waiting";
  EXPECT_GT(Difference(counting, Pixels, more), 1000) << "more-games button no longer lit";
  EXPECT_TRUE(Opened.empty());
}

}  // namespace
