#pragma once
// The widget manager: owns the widget lists, feeds them the window's mouse and key events and
// draws them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DeviceClient.h"
#include "VexelGUIComponent.h"
#include "VexelGUIList.h"
#include "platform/PlatformEvent.h"

namespace vexel {

class TImageListItem;
class TVexelBitmapFont;
class TVexelScreen;

/// The mouse fields of the GUI, as copied before each mouse event is applied.
struct TGUIMouseState {
  int32_t MouseX = 0;
  int32_t MouseY = 0;
  int32_t HoverID = -1;
  bool LeftDown = false;
  bool RightDown = false;
  bool MiddleDown = false;
};

/// The widget manager of the main form. It owns the widget lists (drawn and hit-tested in
/// creation order) and the ID table of all widgets, and, between Initialize and Finalize,
/// takes the window's events through HandleEvent: mouse moves (at most one per 10 ms) decide
/// the hovered widget, a left release over the widget that was pressed clicks it, and keys and
/// characters go to the focused widget. Lists and widgets freed by an event handler stay
/// allocated until the event is done, so handlers may leave a screen and free its list.
class TVexelGUI : public TDeviceClient {
 public:
  TVexelGUI();
  /// Frees the lists, last first, and leaves the display device.
  ~TVexelGUI() override;
  TVexelGUI(const TVexelGUI&) = delete;
  TVexelGUI& operator=(const TVexelGUI&) = delete;

  /// Sets the display device (registering with it so its resets re-measure the mouse scale).
  void SetVexelScreen(TVexelScreen* screen);
  /// The display device, or none.
  TVexelScreen* VexelScreen() const { return VexelScreen_; }

  /// Switches the event feed on (with a display device only) and measures the mouse scale.
  void Initialize();
  /// Switches the event feed off: HandleEvent ignores every event until the next Initialize.
  void Finalize();
  /// Whether the event feed is on.
  bool Hooked() const { return Hooked_; }
  /// Feeds one window event at the given time (milliseconds of a steady clock). Returns true
  /// when the GUI consumed it: mouse buttons, accepted mouse moves and characters; key presses,
  /// key releases, throttled moves and every event while the feed is off are left to the form.
  bool HandleEvent(const platform::TPlatformEvent& event, uint32_t nowMilliseconds);
  /// Draws Image at (0, 0) if set, then every visible list in order.
  void Draw();
  /// Clicks a widget from code, as a left press and release over it would (enter on a menu's
  /// focused button): only a live, visible and enabled widget of a visible, enabled list. Lists
  /// and widgets its handler frees are released when it returns. Returns whether it clicked.
  bool ClickWidget(int32_t id);

  /// Makes a new list at the end of the lists.
  TVexelGUIList& AddList(const std::string& name);
  /// Frees a list and its widgets. While an event is being dispatched (from inside OnClick and
  /// the other handlers) the list and its widgets leave the lists and the ID table at once and
  /// are freed when the event is done.
  void FreeList(TVexelGUIList& list);
  /// Moves a list to the end of the lists.
  void MoveToEnd(const TVexelGUIList& list);
  /// The lists in creation order (a list freed during the current event is not among them
  /// once the event is done).
  const std::vector<std::unique_ptr<TVexelGUIList>>& Lists() const { return Lists_; }
  /// The first live list of that name, or none.
  TVexelGUIList* FindList(const std::string& name) const;
  /// The live widget with that ID, or none (0, unknown and freed IDs).
  TVexelGUIComponent* WidgetByID(int32_t id) const;
  /// Size of the ID table: entry 0 stands for the GUI, entry n for widget n.
  int32_t IDTableSize() const { return static_cast<int32_t>(Widgets_.size()); }
  /// Gives a new widget its ID (called by the widget's constructor).
  int32_t RegisterWidget(TVexelGUIComponent& widget);
  /// Empties a widget's slot in the ID table (the slot and its number stay used).
  void UnregisterWidget(int32_t id);
  /// Whether an event is being dispatched now.
  bool Dispatching() const { return DispatchDepth_ > 0; }

  /// Horizontal mouse scale: back-buffer size over the size event positions are given in.
  float MouseScaleX() const { return MouseScaleX_; }
  /// Vertical mouse scale.
  float MouseScaleY() const { return MouseScaleY_; }

  TDeviceClientKind DeviceClientKind() const override { return TDeviceClientKind::Gui; }
  /// Re-measures the mouse scale after the device was made or reset.
  void DeviceRestore() override;
  /// The GUI holds no device resources.
  void DeviceInvalidate() override {}

  /// Font of new widgets, or none.
  TVexelBitmapFont* VexelBitmapFont = nullptr;
  /// Picture drawn at (0, 0) before the lists, or none.
  TImageListItem* Image = nullptr;
  /// Mouse position in back-buffer pixels.
  int32_t MouseX = 0;
  int32_t MouseY = 0;
  /// Widget under the mouse at the last accepted move; 0 none, -1 before the first move.
  int32_t HoverID = -1;
  /// Widget under the mouse at the last left press; -1 after the release.
  int32_t PressedID = -1;
  /// Widget that takes keys and characters; below 1: none.
  int32_t FocusID = 0;
  /// Widget drawn in its hover state in place of the one under the mouse (the keyboard and
  /// controller focus of the menus); below 1: none. Every mouse move and button event sets it
  /// back to 0.
  int32_t HighlightID = 0;
  bool LeftDown = false;
  bool RightDown = false;
  bool MiddleDown = false;
  /// The mouse fields before the last mouse event was applied.
  TGUIMouseState Previous;

 private:
  class TDispatchScope;

  void MeasureScale();
  void CopyMouseState();
  bool AcceptMove(const platform::TPlatformEvent& event, uint32_t nowMilliseconds);
  void ButtonEvent(const platform::TPlatformEvent& event, bool down);
  void DispatchMouse(TMouseButton button, bool down);
  void DispatchKey(bool isChar, int32_t key);
  TShiftState MouseShift() const;
  void PurgeFreed();

  TVexelScreen* VexelScreen_ = nullptr;
  std::vector<std::unique_ptr<TVexelGUIList>> Lists_;
  std::vector<TVexelGUIComponent*> Widgets_;
  bool Hooked_ = false;
  int32_t NextID_ = 1;
  float MouseScaleX_ = 1;
  float MouseScaleY_ = 1;
  bool MoveSeen_ = false;
  uint32_t LastMoveTime_ = 0;
  int32_t DispatchDepth_ = 0;
};

}  // namespace vexel
