#pragma once
// A widget GUI on the recording display device: a menu image list with a strip of coloured
// cells and an image font of the default character set, event helpers with a test clock, and
// widgets whose events are written to a log.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/RecordingDevice.h"
#include "engine/VexelBitmapFont.h"
#include "engine/VexelButton.h"
#include "engine/VexelEdit.h"
#include "engine/VexelGUI.h"
#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "platform/FontSystem.h"

namespace widgettest {

/// Cell size of the fixture's image font.
inline constexpr int32_t kGlyphWidth = 8;
inline constexpr int32_t kGlyphHeight = 16;
/// Cell size of the fixture's "strip" picture (four cells in a row, 128 x 32 texture).
inline constexpr int32_t kCellWidth = 32;
inline constexpr int32_t kCellHeight = 20;

/// A GUI with one list "GUI2" over a recording device.
class WidgetFixture : public ::testing::Test {
 protected:
  WidgetFixture();

  /// A button of the list with its box, states 0 and 1 showing cells 0 and 1 of "strip", and
  /// its events logged under the label.
  vexel::TVexelButton& Button(const std::string& label, int32_t left, int32_t top,
                              uint32_t width = 40, uint32_t height = 20);
  /// Sets up a button of the list as Button does.
  void Dress(vexel::TVexelButton& button, const std::string& label, int32_t left, int32_t top,
             uint32_t width = 40, uint32_t height = 20);
  /// An edit box of the list with its box, state 0 showing cell 0 of "strip", events logged.
  vexel::TVexelEdit& Edit(const std::string& label, int32_t left, int32_t top, uint32_t width = 200,
                          uint32_t height = 30);
  /// Writes the widget's events to Log as "click A", "enter A", "down A left", "key A 65", ...
  void Watch(vexel::TVexelGUIComponent& widget, const std::string& label);

  /// A mouse move after the given milliseconds (default: past the 10 ms throttle).
  bool Move(int32_t x, int32_t y, uint32_t afterMilliseconds = 20);
  /// A button press or release at the last moved-to point.
  bool Down(platform::TPlatformEvent::TButton button = platform::TPlatformEvent::TButton::Left);
  bool Up(platform::TPlatformEvent::TButton button = platform::TPlatformEvent::TButton::Left);
  /// Move there, press and release the left button.
  void ClickAt(int32_t x, int32_t y);
  /// A typed character (code page 1251 byte).
  bool Char(uint8_t c);
  /// Each byte of the text typed as a character.
  void Type(const std::string& text);
  /// A key press with a virtual-key code.
  bool Key(int32_t key);

  /// Draws the GUI inside a scene and returns the quads drawn.
  std::vector<vexel::TDeviceCall> DrawnQuads();
  /// The log joined with ", ".
  std::string LogText() const;

  vexel::TVexelScreen Screen;
  vexel::TRecordingDevice* Device = nullptr;
  vexel::TVexelImageList Images;
  platform::TFontSystem Fonts;
  vexel::TVexelBitmapFont Font;
  vexel::TVexelGUI Gui;
  vexel::TImageListItem* Strip = nullptr;
  vexel::TVexelGUIList* List = nullptr;
  std::vector<std::string> Log;
  uint32_t Now = 1000;
  int32_t LastX = 0;
  int32_t LastY = 0;
};

/// The texture coordinates U of the left and right edge of strip cell k.
std::pair<float, float> StripCellU(int32_t k);

}  // namespace widgettest
