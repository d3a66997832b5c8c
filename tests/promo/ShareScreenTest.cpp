// The promotion screen on the recording display device: loading checks every file the layout
// names, the countdown unlocks the exit button, the buttons pick their pictures and run their
// actions. The desktop opener is a recorder here; the real one never runs in tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PromoFolder.h"
#include "engine/RecordingDevice.h"
#include "engine/VexelFont.h"
#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "online/ShareScreen.h"
#include "platform/FontSystem.h"

namespace {

namespace fs = std::filesystem;
using promo_test::kLayoutLines;
using promo_test::TPromoFolder;

// A picture drawn from the promotion list: its entry's name and top-left corner.
struct TDrawnPicture {
  std::string Name;
  int32_t X;
  int32_t Y;
  bool operator==(const TDrawnPicture&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TDrawnPicture& p) {
  return out << p.Name << " at " << p.X << "," << p.Y;
}

class ShareScreenTest : public ::testing::Test {
 protected:
  explicit ShareScreenTest(TPromoFolder::TContent content = TPromoFolder::TContent::TestLayout)
      : Folder(content), Links(Folder.Dir, [this](const std::string& target) {
          Opened.push_back(target);
          return true;
        }) {
    auto system = std::make_unique<vexel::TRecordingSystem>();
    System = system.get();
    Display = std::make_unique<vexel::TVexelScreen>(std::move(system));
    ShareList.SetVexelScreen(Display.get());
    Font.SetVexelScreen(Display.get());
    Display->Initialize();
    Screen.OnCloseRequest = [this] { ++CloseRequests; };
  }

  ~ShareScreenTest() override {
    Font.SetVexelScreen(nullptr);
    ShareList.SetVexelScreen(nullptr);
  }

  vexel::TRecordingDevice& Device() const { return *System->LastDevice; }

  // Runs one frame with the pointer at (x, y) and returns the pictures drawn from the list.
  std::vector<TDrawnPicture> FrameAt(int32_t x, int32_t y) {
    Device().Calls.clear();
    Display->BeginScene();
    Screen.Frame(x, y);
    Display->EndScene();
    return DrawnPictures();
  }

  std::vector<TDrawnPicture> DrawnPictures() const {
    std::map<const vexel::TTexture*, std::string> names;
    for (int32_t i = 0; i < ShareList.ImageList.Count(); ++i) {
      const auto* item = ShareList.ImageList.Items(i);
      names[item->Texture.get()] = item->Name;
    }
    std::vector<TDrawnPicture> drawn;
    const vexel::TTexture* texture = nullptr;
    TextDraws = 0;
    for (const auto& call : Device().Calls) {
      if (call.Kind == vexel::TDeviceCall::TKind::Texture) texture = call.Texture;
      if (call.Kind != vexel::TDeviceCall::TKind::Draw) continue;
      if (!names.contains(texture)) {
        ++TextDraws;
        continue;
      }
      float left = std::numeric_limits<float>::max();
      float top = std::numeric_limits<float>::max();
      for (const auto& vertex : call.Vertices) {
        left = std::min(left, vertex.X);
        top = std::min(top, vertex.Y);
      }
      drawn.push_back(
          {names[texture], static_cast<int32_t>(left + 0.5f), static_cast<int32_t>(top + 0.5f)});
    }
    return drawn;
  }

  void RunCountdownOut() {
    while (!Screen.CloseAllowed()) Screen.CountdownStep();
  }

  TPromoFolder Folder;
  std::vector<std::string> Opened;
  int CloseRequests = 0;
  online::TGoToLink Links;
  vexel::TRecordingSystem* System = nullptr;
  std::unique_ptr<vexel::TVexelScreen> Display;
  platform::TFontSystem Fonts{CLD_FONTS_CONF};
  vexel::TVexelImageList ShareList;
  vexel::TVexelFont Font{Fonts};
  online::TShareScreen Screen{ShareList, Font, Links};
  mutable int TextDraws = 0;
};

class ShippedShareScreenTest : public ShareScreenTest {
 protected:
  ShippedShareScreenTest() : ShareScreenTest(TPromoFolder::TContent::Shipped) {}
};

TEST_F(ShippedShareScreenTest, ShippedLayoutLoadsItsPicturesAndFont) {
  ASSERT_TRUE(Screen.Load(Folder.Dir));
  ASSERT_TRUE(Screen.Valid) << Screen.Fault;
  EXPECT_TRUE(Screen.Begin());
  ASSERT_EQ(Screen.Buttons.size(), 2u);
  EXPECT_EQ(ShareList.ImageList.Count(), 7) << "three pictures a button and the background";
  const auto* back = ShareList.ImageList.Items(Screen.BackgroundIndex);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Name, "wdata\\promo_back.png");
  EXPECT_EQ(back->ImageWidth, 800);
  EXPECT_EQ(back->ImageHeight, 600);
  EXPECT_NE(back->Texture, nullptr);
  EXPECT_EQ(Screen.Countdown, 400);
  EXPECT_EQ(Font.FontName(), "Verdana");
  EXPECT_EQ(Font.Size(), 22);
  EXPECT_EQ((std::vector<int>{Font.Red, Font.Green, Font.Blue}), (std::vector<int>{255, 210, 120}));
  ASSERT_NE(Font.Face(), nullptr);
}

TEST_F(ShippedShareScreenTest, MoreGamesButtonOpensItsShortcutsAddress) {
  ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid) << Screen.Fault;
  const online::TButton& more = Screen.Buttons.front();
  Screen.MouseDown(more.NormalX + 5, more.NormalY + 5);
  EXPECT_EQ(Opened, std::vector<std::string>{"http://127.0.0.1:8080/moregames"});
  EXPECT_EQ(CloseRequests, 0);
}

struct TFileFault {
  const char* Name;
  std::function<void(const TPromoFolder&)> Break;
};

const std::vector<TFileFault> kFileFaults = {
    {"missing hover picture", [](const TPromoFolder& f) { f.Remove("wdata/b1_hover.png"); }},
    {"missing background", [](const TPromoFolder& f) { f.Remove("wdata/back.png"); }},
    {"missing idle picture", [](const TPromoFolder& f) { f.Remove("wdata/exit_wait.png"); }},
    {"missing file to open", [](const TPromoFolder& f) { f.Remove("first.url"); }},
    {"file to open is a folder",
     [](const TPromoFolder& f) {
       f.Remove("setup/installer.sh");
       fs::create_directories(f.Dir / "setup" / "installer.sh");
     }},
    {"picture that does not decode",
     [](const TPromoFolder& f) { f.Write("wdata/b2.png", "\x89PNG\r\n\x1a\nbroken"); }},
    {"picture of no known kind",
     [](const TPromoFolder& f) {
       fs::copy_file(f.Dir / "wdata" / "back.png", f.Dir / "wdata" / "back.gif");
       auto lines = kLayoutLines;
       lines[1] = "wdata\\back.gif";
       f.WriteLayout(lines);
     }},
    {"picture outside the data folder",
     [](const TPromoFolder& f) {
       auto lines = kLayoutLines;
       lines[1] = "wdata\\..\\..\\" + f.Dir.filename().string() + "\\wdata\\back.png";
       f.WriteLayout(lines);
     }},
    {"fault in the layout text",
     [](const TPromoFolder& f) {
       auto lines = kLayoutLines;
       lines[18] = "400  502";
       f.WriteLayout(lines);
     }},
};

void PrintTo(const TFileFault& c, std::ostream* out) {
  *out << c.Name;
}

class FileFaults : public ShareScreenTest, public ::testing::WithParamInterface<TFileFault> {};

TEST_P(FileFaults, SkipTheScreenAndLoadNothing) {
  ASSERT_TRUE(Screen.Load(Folder.Dir));
  ASSERT_TRUE(Screen.Valid) << "the unbroken test folder must load: " << Screen.Fault;
  GetParam().Break(Folder);
  EXPECT_TRUE(Screen.Load(Folder.Dir)) << "the layout file exists";
  EXPECT_FALSE(Screen.Valid);
  EXPECT_FALSE(Screen.Fault.empty());
  EXPECT_EQ(ShareList.ImageList.Count(), 0);
  EXPECT_FALSE(Screen.Begin());
  EXPECT_TRUE(Screen.CloseAllowed()) << "a skipped screen lets the form close at once";
  for (const auto& [x, y] : {std::pair{60, 40}, {250, 50}, {320, 490}}) Screen.MouseDown(x, y);
  EXPECT_TRUE(Opened.empty()) << "the buttons of a skipped screen do nothing";
  EXPECT_EQ(CloseRequests, 0);
  EXPECT_TRUE(FrameAt(60, 40).empty());
}

INSTANTIATE_TEST_SUITE_P(Files, FileFaults, ::testing::ValuesIn(kFileFaults),
                         promo_test::CaseName<TFileFault>);

TEST_F(ShareScreenTest, MissingLayoutFileSkipsTheScreen) {
  Folder.Remove("wdata/config.ini");
  EXPECT_FALSE(Screen.Load(Folder.Dir));
  EXPECT_FALSE(Screen.Valid);
  EXPECT_FALSE(Screen.Begin());
  EXPECT_EQ(Screen.Countdown, 0);
  Screen.MouseDown(315, 485);
  EXPECT_EQ(CloseRequests, 0) << "no buttons without a layout";
}

TEST(ShareCountdown, FramesForSeconds) {
  const std::pair<int32_t, int32_t> cases[] = {
      {5, 400},
      {2, 100},
      {1, 0},
      {0, 0},
      {-3, 0},
      {21474837, 2147483600},
      {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()},
      {std::numeric_limits<int32_t>::min(), 0}};
  for (const auto& [seconds, frames] : cases) {
    EXPECT_EQ(online::TShareScreen::CountdownFrames(seconds), frames) << seconds;
  }
}

TEST_F(ShareScreenTest, ExitButtonUnlocksWhenTheCountdownRunsOut) {
  ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid) << Screen.Fault;
  const online::TButton& exit = Screen.Buttons.back();
  EXPECT_EQ(Screen.CountdownNumber(), 5);
  std::vector<int32_t> shown;
  for (int frame = 1; frame < 400; ++frame) {
    Screen.CountdownStep();
    if (shown.empty() || shown.back() != Screen.CountdownNumber()) {
      shown.push_back(Screen.CountdownNumber());
    }
  }
  EXPECT_EQ(shown, (std::vector<int32_t>{5, 4, 3, 2, 1}));
  EXPECT_FALSE(exit.Active) << "one frame left";
  EXPECT_FALSE(Screen.CloseAllowed());
  Screen.CountdownStep();
  EXPECT_TRUE(exit.Active);
  EXPECT_TRUE(Screen.CloseAllowed());
  EXPECT_EQ(Screen.CountdownNumber(), 0);
  Screen.CountdownStep();
  EXPECT_EQ(Screen.Countdown, 0) << "never below 0";
  EXPECT_TRUE(exit.Active);
}

TEST_F(ShareScreenTest, OneSecondCountdownLeavesExitActiveAndDrawsNoNumber) {
  auto lines = kLayoutLines;
  lines[19] = "1";
  Folder.WriteLayout(lines);
  ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid) << Screen.Fault;
  EXPECT_TRUE(Screen.Buttons.back().Active);
  EXPECT_TRUE(Screen.CloseAllowed());
  const auto drawn = FrameAt(0, 0);
  EXPECT_EQ(drawn.back(), (TDrawnPicture{"wdata\\exit.png", 312, 482}));
  EXPECT_EQ(TextDraws, 0);
}

TEST_F(ShareScreenTest, ZeroSecondCountdownDoesNotLockTheGameOpen) {
  auto lines = kLayoutLines;
  lines[19] = "0";
  Folder.WriteLayout(lines);
  ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid) << Screen.Fault;
  EXPECT_EQ(Screen.Countdown, 0);
  EXPECT_TRUE(Screen.CloseAllowed());
  EXPECT_TRUE(Screen.Buttons.back().Active);
}

TEST_F(ShareScreenTest, ButtonsShowTheirPictureForTheirState) {
  ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid) << Screen.Fault;
  ASSERT_TRUE(Screen.Begin());
  EXPECT_EQ(FrameAt(60, 40), (std::vector<TDrawnPicture>{{"wdata\\back.png", 0, 0},
                                                         {"wdata\\b1_hover.png", 10, 20},
                                                         {"wdata\\b2.png", 200, 21},
                                                         {"wdata\\exit_wait.png", 314, 484}}));
  EXPECT_GT(TextDraws, 0) << "the countdown number";
  EXPECT_EQ(FrameAt(320, 490).back(), (TDrawnPicture{"wdata\\exit_wait.png", 314, 484}))
      << "the waiting exit button does not light";
  RunCountdownOut();
  EXPECT_EQ(FrameAt(320, 490), (std::vector<TDrawnPicture>{{"wdata\\back.png", 0, 0},
                                                           {"wdata\\b1.png", 11, 21},
                                                           {"wdata\\b2.png", 200, 21},
                                                           {"wdata\\exit_hover.png", 310, 480}}));
  EXPECT_EQ(TextDraws, 0);
  EXPECT_EQ(FrameAt(0, 599).back(), (TDrawnPicture{"wdata\\exit.png", 312, 482}));
}

TEST_F(ShareScreenTest, CountdownNumberIsCentredOnItsPoint) {
  ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid) << Screen.Fault;
  FrameAt(0, 0);
  float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
  std::map<const vexel::TTexture*, bool> pictures;
  for (int32_t i = 0; i < ShareList.ImageList.Count(); ++i) {
    pictures[ShareList.ImageList.Items(i)->Texture.get()] = true;
  }
  const vexel::TTexture* texture = nullptr;
  for (const auto& call : Device().Calls) {
    if (call.Kind == vexel::TDeviceCall::TKind::Texture) texture = call.Texture;
    if (call.Kind != vexel::TDeviceCall::TKind::Draw || pictures.contains(texture)) continue;
    for (const auto& v : call.Vertices) {
      left = std::min(left, v.X);
      right = std::max(right, v.X);
      top = std::min(top, v.Y);
      bottom = std::max(bottom, v.Y);
    }
  }
  ASSERT_LT(left, right) << "no countdown drawn";
  const int32_t width = Font.TextWidth("5");
  const int32_t height = Font.TextHeight("5");
  EXPECT_GE(left + 0.5f, 400 - width / 2 - 1);
  EXPECT_LE(right + 0.5f, 400 + width / 2 + 1);
  EXPECT_GE(top + 0.5f, 502 - height / 2 - 1);
  EXPECT_LE(bottom + 0.5f, 502 + height / 2 + 1);
  EXPECT_NEAR((left + right) / 2, 400, width / 2.0) << "glyph box off centre";
}

TEST_F(ShareScreenTest, ClicksRunEveryButtonUnderThePointer) {
  ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid) << Screen.Fault;
  Screen.MouseDown(11, 21);   // top-left corner of the first box
  Screen.MouseDown(111, 71);  // bottom-right corner, edges included
  Screen.MouseDown(112, 71);  // just right of it: nothing
  Screen.MouseDown(250, 50);  // the installer button
  EXPECT_EQ(Opened, (std::vector<std::string>{
                        "https://example.org/first", "https://example.org/first",
                        fs::absolute(Folder.Dir / "setup" / "installer.sh").string()}));
  EXPECT_EQ(CloseRequests, 0);
  Screen.MouseDown(320, 490);
  EXPECT_EQ(CloseRequests, 1) << "the exit button asks even while it waits; the form refuses";
  EXPECT_FALSE(Screen.CloseAllowed());
  RunCountdownOut();
  Screen.MouseDown(320, 490);
  EXPECT_EQ(CloseRequests, 2);
  EXPECT_TRUE(Screen.CloseAllowed());
  EXPECT_EQ(Opened.size(), 3u) << "the exit button opens nothing";
}

TEST_F(ShareScreenTest, HoverFollowsThePointerOverEveryButton) {
  ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid) << Screen.Fault;
  const std::pair<int32_t, int32_t> points[] = {{11, 21}, {320, 490}, {5, 5}, {492, 536}};
  const std::vector<bool> lit[] = {
      {true, false, false}, {false, false, true}, {false, false, false}, {false, false, true}};
  for (size_t i = 0; i < std::size(points); ++i) {
    Screen.UpdateHover(points[i].first, points[i].second);
    std::vector<bool> hover;
    for (const auto& button : Screen.Buttons) hover.push_back(button.Hover);
    EXPECT_EQ(hover, lit[i]) << points[i].first << "," << points[i].second;
  }
}

struct TFontCase {
  const char* Flag;
  const char* Size;  // none: the line is left out
  int32_t Points;
};

TEST_F(ShareScreenTest, CountdownFontSizeAndColour) {
  const TFontCase cases[] = {{"TRUE", "22", 22},
                             {"FALSE", nullptr, 32},  // round(0.6 * exit button height 54)
                             {"true", "22", 32},
                             {"TRUE", "0", 1},
                             {"TRUE", "100000", 450}};
  for (const auto& c : cases) {
    auto lines = kLayoutLines;
    lines[21] = c.Flag;
    if (c.Size) {
      lines[22] = c.Size;
    } else {
      lines.pop_back();
    }
    Folder.WriteLayout(lines);
    ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid) << Screen.Fault;
    EXPECT_EQ(Font.Size(), c.Points) << c.Flag << " " << (c.Size ? c.Size : "-");
    // Red, green, blue in the file's order on both paths.
    EXPECT_EQ((std::vector<int>{Font.Red, Font.Green, Font.Blue, Font.Alpha}),
              (std::vector<int>{255, 210, 120, 255}))
        << c.Flag;
  }
}

TEST_F(ShareScreenTest, ReloadingReplacesThePictures) {
  ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid);
  ASSERT_TRUE(Screen.Load(Folder.Dir) && Screen.Valid);
  EXPECT_EQ(ShareList.ImageList.Count(), 10);
  EXPECT_EQ(Screen.BackgroundIndex, 9);
  EXPECT_EQ(Screen.Buttons.size(), 3u);
}

}  // namespace
