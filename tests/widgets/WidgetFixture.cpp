#include "WidgetFixture.h"

#include "platform/ImageFile.h"

namespace widgettest {
namespace {

using TEvent = platform::TPlatformEvent;

// Cell k of the strip is one solid colour of these.
constexpr uint32_t kStripColours[] = {0xFF2040A0, 0xFFFF8A1E, 0xFF808080, 0xFF3DFF9A};
constexpr int32_t kStripCells = 4;
constexpr int32_t kFontColumns = 16;
constexpr int32_t kFontRows = 11;

vexel::TImageListItem* AddPicture(vexel::TVexelImageList& list, const std::string& name,
                                  int32_t width, int32_t height, int32_t tileWidth,
                                  int32_t tileHeight, const std::vector<uint32_t>& texels) {
  vexel::TPicture picture;
  picture.Kind = vexel::TPicture::TKind::Png;
  EXPECT_TRUE(platform::EncodePng(width, height, texels, picture.Data));
  vexel::TImageListItem* item = list.ImageList.Add();
  item->Name = name;
  item->SetPicture(picture);
  item->SetTileWidth(tileWidth);
  item->SetTileHeight(tileHeight);
  return item;
}

std::vector<uint32_t> StripTexels() {
  std::vector<uint32_t> texels;
  for (int32_t y = 0; y < kCellHeight; ++y) {
    for (int32_t x = 0; x < kCellWidth * kStripCells; ++x) {
      texels.push_back(kStripColours[x / kCellWidth]);
    }
  }
  return texels;
}

const char* ButtonName(vexel::TMouseButton button) {
  switch (button) {
    case vexel::TMouseButton::mbLeft:
      return "left";
    case vexel::TMouseButton::mbRight:
      return "right";
    default:
      return "middle";
  }
}

}  // namespace

std::pair<float, float> StripCellU(int32_t k) {
  constexpr float kTextureWidth = 128;
  return {static_cast<float>(k * kCellWidth) / kTextureWidth,
          static_cast<float>((k + 1) * kCellWidth) / kTextureWidth};
}

WidgetFixture::WidgetFixture()
    : Screen(std::make_unique<vexel::TRecordingSystem>()), Fonts(""), Font(Fonts) {
  Screen.Initialize();
  Device = static_cast<vexel::TRecordingSystem*>(Screen.System())->LastDevice;
  const int32_t fontWidth = kGlyphWidth * kFontColumns;
  const int32_t fontHeight = kGlyphHeight * kFontRows;
  AddPicture(Images, "font", fontWidth, fontHeight, kGlyphWidth, kGlyphHeight,
             std::vector<uint32_t>(static_cast<size_t>(fontWidth * fontHeight), 0xFFFFFFFF));
  Strip = AddPicture(Images, "strip", kCellWidth * kStripCells, kCellHeight, kCellWidth,
                     kCellHeight, StripTexels());
  Images.SetVexelScreen(&Screen);
  Images.Prepare();
  Font.SetVexelScreen(&Screen);
  Font.SetImageList(&Images);
  Font.Restore();
  Gui.SetVexelScreen(&Screen);
  Gui.VexelBitmapFont = &Font;
  Gui.Initialize();
  List = &Gui.AddList("GUI2");
}

void WidgetFixture::Watch(vexel::TVexelGUIComponent& widget, const std::string& label) {
  widget.OnClick = [this, label](vexel::TVexelGUIComponent&) { Log.push_back("click " + label); };
  widget.OnMouseEnter = [this, label](vexel::TVexelGUIComponent&) {
    Log.push_back("enter " + label);
  };
  widget.OnMouseLeave = [this, label](vexel::TVexelGUIComponent&) {
    Log.push_back("leave " + label);
  };
  widget.OnMouseDown = [this, label](vexel::TVexelGUI&, vexel::TMouseButton button,
                                     vexel::TShiftState, int32_t, int32_t) {
    Log.push_back("down " + label + " " + ButtonName(button));
  };
  widget.OnMouseUp = [this, label](vexel::TVexelGUI&, vexel::TMouseButton button,
                                   vexel::TShiftState, int32_t, int32_t) {
    Log.push_back("up " + label + " " + ButtonName(button));
  };
  widget.OnKey = [this, label](vexel::TVexelGUIComponent&, int32_t& key, vexel::TShiftState) {
    Log.push_back("key " + label + " " + std::to_string(key));
  };
}

vexel::TVexelButton& WidgetFixture::Button(const std::string& label, int32_t left, int32_t top,
                                           uint32_t width, uint32_t height) {
  auto& button = List->Add<vexel::TVexelButton>();
  Dress(button, label, left, top, width, height);
  return button;
}

void WidgetFixture::Dress(vexel::TVexelButton& button, const std::string& label, int32_t left,
                          int32_t top, uint32_t width, uint32_t height) {
  button.Name = label;
  button.Left = left;
  button.Top = top;
  button.Width = width;
  button.Height = height;
  button.Caption.clear();
  button.SetImage(vexel::gsNormal, Strip);
  button.SetPatternIndex(vexel::gsNormal, 0);
  button.SetImage(vexel::gsHover, Strip);
  button.SetPatternIndex(vexel::gsHover, 1);
  Watch(button, label);
}

vexel::TVexelEdit& WidgetFixture::Edit(const std::string& label, int32_t left, int32_t top,
                                       uint32_t width, uint32_t height) {
  auto& edit = List->Add<vexel::TVexelEdit>();
  edit.Name = label;
  edit.Left = left;
  edit.Top = top;
  edit.Width = width;
  edit.Height = height;
  edit.SetImage(vexel::gsNormal, Strip);
  edit.SetPatternIndex(vexel::gsNormal, 0);
  Watch(edit, label);
  return edit;
}

bool WidgetFixture::Move(int32_t x, int32_t y, uint32_t afterMilliseconds) {
  Now += afterMilliseconds;
  LastX = x;
  LastY = y;
  TEvent event;
  event.Type = TEvent::TType::MouseMove;
  event.X = x;
  event.Y = y;
  return Gui.HandleEvent(event, Now);
}

bool WidgetFixture::Down(TEvent::TButton button) {
  TEvent event;
  event.Type = TEvent::TType::MouseDown;
  event.Button = button;
  event.X = LastX;
  event.Y = LastY;
  return Gui.HandleEvent(event, ++Now);
}

bool WidgetFixture::Up(TEvent::TButton button) {
  TEvent event;
  event.Type = TEvent::TType::MouseUp;
  event.Button = button;
  event.X = LastX;
  event.Y = LastY;
  return Gui.HandleEvent(event, ++Now);
}

void WidgetFixture::ClickAt(int32_t x, int32_t y) {
  Move(x, y);
  Down();
  Up();
}

bool WidgetFixture::Char(uint8_t c) {
  TEvent event;
  event.Type = TEvent::TType::Char;
  event.Char = c;
  return Gui.HandleEvent(event, ++Now);
}

void WidgetFixture::Type(const std::string& text) {
  for (const char c : text) Char(static_cast<uint8_t>(c));
}

bool WidgetFixture::Key(int32_t key) {
  TEvent event;
  event.Type = TEvent::TType::KeyDown;
  event.Key = key;
  return Gui.HandleEvent(event, ++Now);
}

std::vector<vexel::TDeviceCall> WidgetFixture::DrawnQuads() {
  Device->Calls.clear();
  Screen.BeginScene();
  Gui.Draw();
  Screen.EndScene();
  return Device->CallsOf(vexel::TDeviceCall::TKind::Draw);
}

std::string WidgetFixture::LogText() const {
  std::string text;
  for (const auto& line : Log) text += (text.empty() ? "" : ", ") + line;
  return text;
}

}  // namespace widgettest
