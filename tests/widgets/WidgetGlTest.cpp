// Widgets on the real OpenGL back end (offscreen) with the game's own menu pictures and widget
// font: hover cells, a name typed in Latin letters with its caret, and the review picture
// widgets-menu.png beside the test binary.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/VexelBitmapFont.h"
#include "engine/VexelButton.h"
#include "engine/VexelEdit.h"
#include "engine/VexelGUI.h"
#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "platform/FontSystem.h"
#include "platform/GlDevice.h"

namespace widgettest {
namespace {

using TEvent = platform::TPlatformEvent;

struct MenuButton {
  const char* Key;
  int32_t Left;
  int32_t Top;
};

// The main menu's column at its final places, with the high-score button under it.
const MenuButton kColumn[] = {
    {"b_stgame", 600, 240}, {"b_opt", 657, 280},  {"b_presshere", 655, 320}, {"b_help", 695, 360},
    {"b_visit", 595, 400},  {"b_exit", 612, 440}, {"b_hiscr", 590, 480}};

class WidgetGlTest : public ::testing::Test {
 protected:
  WidgetGlTest()
      : Window("widgets", 800, 600),
        Screen(std::make_unique<platform::TGlSystem>(Window)),
        Fonts(std::string(CLD_DATA_DIR) + "/fonts/fonts.conf"),
        Font(Fonts) {
    Menu.ImageList.LoadFromFile(std::string(CLD_DATA_DIR) + "/Data/data1.oil");
    Menu.SetVexelScreen(&Screen);
    Font.SetImageList(&Menu);
    Font.SetVexelScreen(&Screen);
    Gui.SetVexelScreen(&Screen);
    Gui.VexelBitmapFont = &Font;
    Screen.Initialize();
    Gui.Initialize();
  }
  ~WidgetGlTest() override {
    Gui.SetVexelScreen(nullptr);
    Font.SetVexelScreen(nullptr);
    Menu.SetVexelScreen(nullptr);
  }

  vexel::TVexelButton& AddButton(vexel::TVexelGUIList& list, const MenuButton& b) {
    vexel::TImageListItem* image = Menu.ImageList.Find(b.Key);
    EXPECT_NE(image, nullptr) << b.Key;
    auto& button = list.Add<vexel::TVexelButton>();
    button.Caption.clear();
    button.Width = static_cast<uint32_t>(image->TileWidth);
    button.Height = static_cast<uint32_t>(image->TileHeight);
    button.SetImage(vexel::gsNormal, image);
    button.SetPatternIndex(vexel::gsNormal, 0);
    button.SetImage(vexel::gsHover, image);
    button.SetPatternIndex(vexel::gsHover, 1);
    button.Left = b.Left;
    button.Top = b.Top;
    return button;
  }

  void Send(TEvent::TType type, int32_t x, int32_t y, uint8_t c = 0) {
    TEvent event;
    event.Type = type;
    event.X = x;
    event.Y = y;
    event.Char = c;
    Now += 20;
    Gui.HandleEvent(event, Now);
  }

  void Frame() {
    Screen.Clear(0, 0, 0, 255);
    Screen.BeginScene();
    Menu.ImageList.Find("mainback")->Draw(0, 0, 0);
    Gui.Draw();
    // A disabled button is drawn by the screen itself as cell 2.
    Menu.ImageList.Find("b_hiscr")->Draw(590, 540, 2);
    Screen.EndScene();
    int32_t width = 0;
    int32_t height = 0;
    ASSERT_TRUE(Screen.Device()->ReadBackBuffer(Pixels, width, height));
    ASSERT_EQ(width, 800);
  }

  /// Mean of red, green and blue over a box of the last frame.
  double Brightness(int32_t left, int32_t top, int32_t width, int32_t height) const {
    double sum = 0;
    for (int32_t y = top; y < top + height; ++y) {
      for (int32_t x = left; x < left + width; ++x) {
        const uint32_t p = Pixels[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)];
        sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
      }
    }
    return sum / (3.0 * width * height);
  }

  platform::TPlatformWindow Window;
  vexel::TVexelScreen Screen;
  platform::TFontSystem Fonts;
  vexel::TVexelImageList Menu;
  vexel::TVexelBitmapFont Font;
  vexel::TVexelGUI Gui;
  std::vector<uint32_t> Pixels;
  uint32_t Now = 1000;
};

TEST_F(WidgetGlTest, MenuColumnHoverAndALatinNameWithItsCaret) {
  ASSERT_GT(Menu.ImageList.Count(), 0);
  auto& list = Gui.AddList("GUI2");
  vexel::TVexelButton* hiscr = nullptr;
  for (const MenuButton& b : kColumn) hiscr = &AddButton(list, b);
  auto& edit = list.Add<vexel::TVexelEdit>();
  vexel::TImageListItem* box = Menu.ImageList.Find("e_name");
  ASSERT_NE(box, nullptr);
  edit.SetImage(vexel::gsNormal, box);
  edit.Width = static_cast<uint32_t>(box->TileWidth);
  edit.Height = static_cast<uint32_t>(box->TileHeight);
  edit.Left = 60;
  edit.Top = 300;
  edit.MaxLength = 12;
  edit.TextMargin = 3;
  edit.Caret.assign(1, '.');  // the game's caret
  const int32_t hx = hiscr->Left;
  const int32_t hy = hiscr->Top;
  const auto hw = static_cast<int32_t>(hiscr->Width);
  const auto hh = static_cast<int32_t>(hiscr->Height);

  Send(TEvent::TType::MouseMove, 10, 10);
  Frame();
  const double normal = Brightness(hx, hy, hw, hh);
  const double emptyBox =
      Brightness(edit.Left + 3, edit.Top, 120, static_cast<int32_t>(edit.Height));

  Send(TEvent::TType::MouseMove, edit.Left + 10, edit.Top + 10);
  Send(TEvent::TType::MouseDown, edit.Left + 10, edit.Top + 10);
  Send(TEvent::TType::MouseUp, edit.Left + 10, edit.Top + 10);
  for (const char c : std::string("Zoe Quinn 42")) {
    Send(TEvent::TType::Char, 0, 0, static_cast<uint8_t>(c));
  }
  Send(TEvent::TType::Char, 0, 0, '!');  // a 13th character is refused
  EXPECT_EQ(edit.Text, "Zoe Quinn 42");
  edit.CaretPos = edit.TextLength() + 1;
  Send(TEvent::TType::MouseMove, hx + hw / 2, hy + hh / 2);
  Frame();
  EXPECT_GT(Brightness(hx, hy, hw, hh), normal * 1.15) << "the hover cell is brighter";
  EXPECT_GT(Brightness(edit.Left + 3, edit.Top, 120, static_cast<int32_t>(edit.Height)),
            emptyBox + 5)
      << "the name's glyphs are drawn";
  EXPECT_TRUE(Screen.SavePng(std::string(CLD_WIDGET_TEST_OUTPUT) + "/widgets-menu.png"));
}

}  // namespace
}  // namespace widgettest
