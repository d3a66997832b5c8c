#include "VexelGUIList.h"

#include <algorithm>

#include "VexelGUI.h"

namespace vexel {

TVexelGUIList::TVexelGUIList(TVexelGUI& gui, std::string name) : Name(std::move(name)), GUI_(gui) {}

TVexelGUIList::~TVexelGUIList() {
  while (!Widgets_.empty()) Widgets_.pop_back();
}

void TVexelGUIList::Adopt(std::unique_ptr<TVexelGUIComponent> widget) {
  Widgets_.push_back(std::move(widget));
}

void TVexelGUIList::FreeWidget(TVexelGUIComponent& widget) {
  if (&widget.List() != this) return;
  GUI_.UnregisterWidget(widget.ID());
  if (!GUI_.Dispatching()) PurgeFreed();
}

void TVexelGUIList::Free() {
  GUI_.FreeList(*this);
}

void TVexelGUIList::BringToFront() {
  GUI_.MoveToEnd(*this);
}

void TVexelGUIList::Retire() {
  Alive_ = false;
  for (const auto& widget : Widgets_) GUI_.UnregisterWidget(widget->ID());
}

void TVexelGUIList::PurgeFreed() {
  std::erase_if(Widgets_, [this](const std::unique_ptr<TVexelGUIComponent>& widget) {
    return GUI_.WidgetByID(widget->ID()) != widget.get();
  });
}

void TVexelGUIList::MoveToEnd(const TVexelGUIComponent& widget) {
  const auto found = std::find_if(Widgets_.begin(), Widgets_.end(),
                                  [&widget](const auto& w) { return w.get() == &widget; });
  if (found != Widgets_.end()) std::rotate(found, found + 1, Widgets_.end());
}

void TVexelGUIList::MouseMove() {
  if (!Enabled || !Visible || !Alive_) return;
  // By index: a handler may add widgets to this list while it is being tested.
  for (size_t i = 0; i < Widgets_.size(); ++i) {
    TVexelGUIComponent& widget = *Widgets_[i];
    if (!widget.TakesMouse()) continue;
    if (widget.Contains(GUI_.MouseX, GUI_.MouseY)) {
      GUI_.HoverID = widget.ID();
      widget.MouseOver();
      if (GUI_.Previous.HoverID != widget.ID()) widget.MouseEnter();
    } else if (GUI_.Previous.HoverID == widget.ID()) {
      widget.MouseLeave();
    }
  }
}

void TVexelGUIList::Draw() {
  if (!Visible || !Alive_) return;
  for (size_t i = 0; i < Widgets_.size(); ++i) {
    TVexelGUIComponent& widget = *Widgets_[i];
    if (widget.Visible && GUI_.WidgetByID(widget.ID()) == &widget) widget.Draw();
  }
}

}  // namespace vexel
