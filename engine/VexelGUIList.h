#pragma once
// A named group of widgets shown, hidden, drawn and hit-tested together.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "VexelGUIComponent.h"

namespace vexel {

class TVexelGUI;

/// A named group of widgets (the game makes one per menu screen, "GUI2"), owned by its GUI and
/// made with TVexelGUI::AddList. It owns its widgets, draws them in order and hit-tests them
/// on the GUI's accepted mouse moves.
class TVexelGUIList {
 public:
  /// A list of the GUI; TVexelGUI::AddList makes it and appends it to the GUI's lists.
  TVexelGUIList(TVexelGUI& gui, std::string name);
  /// Frees the widgets.
  ~TVexelGUIList();
  TVexelGUIList(const TVexelGUIList&) = delete;
  TVexelGUIList& operator=(const TVexelGUIList&) = delete;

  /// Makes a widget of type TWidget (TVexelButton, TVexelEdit, ...) at the end of the list.
  template <class TWidget>
  TWidget& Add() {
    auto widget = std::make_unique<TWidget>(*this);
    TWidget& made = *widget;
    Adopt(std::move(widget));
    return made;
  }
  /// Frees a widget of this list. While the GUI is dispatching an event the widget only leaves
  /// the ID table at once (no more events, not drawn) and is freed when the event is done.
  void FreeWidget(TVexelGUIComponent& widget);
  /// Frees this list through its GUI (see TVexelGUI::FreeList); the list must not be used after.
  void Free();
  /// Moves the list to the end of the GUI's lists: drawn last, hit-tested last.
  void BringToFront();
  /// Hit test of one accepted mouse move (only when the list is enabled and visible).
  void MouseMove();
  /// Draws every visible widget in order.
  void Draw();
  /// Moves a widget to the end of the list.
  void MoveToEnd(const TVexelGUIComponent& widget);
  /// Drops the widgets freed during an event; called by the GUI when the event is done.
  void PurgeFreed();

  /// The widgets in drawing order.
  const std::vector<std::unique_ptr<TVexelGUIComponent>>& Widgets() const { return Widgets_; }
  /// The owning GUI.
  TVexelGUI& GUI() const { return GUI_; }
  /// Whether the list still takes part: false once freed during an event.
  bool Alive() const { return Alive_; }
  /// Takes the list out of drawing, hit testing and the ID table (the GUI frees it later).
  void Retire();

  std::string Name;
  /// Takes mouse and keys.
  bool Enabled = true;
  /// Drawn and takes the mouse.
  bool Visible = true;

 private:
  void Adopt(std::unique_ptr<TVexelGUIComponent> widget);

  TVexelGUI& GUI_;
  std::vector<std::unique_ptr<TVexelGUIComponent>> Widgets_;
  bool Alive_ = true;
};

}  // namespace vexel
