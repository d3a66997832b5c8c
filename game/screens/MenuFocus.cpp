#include "MenuFocus.h"

namespace game {

std::vector<vexel::TVexelButton*> TMenuFocus::Buttons(const vexel::TVexelGUIList* list) {
  std::vector<vexel::TVexelButton*> buttons;
  if (!list || !list->Alive() || !list->Visible || !list->Enabled) return buttons;
  for (const auto& widget : list->Widgets()) {
    auto* button = dynamic_cast<vexel::TVexelButton*>(widget.get());
    if (button && button->TakesMouse()) buttons.push_back(button);
  }
  return buttons;
}

int32_t TMenuFocus::Index(const vexel::TVexelGUIList* list) {
  if (GUI_.HighlightID < 1) return -1;
  const auto buttons = Buttons(list);
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i]->ID() == GUI_.HighlightID) return static_cast<int32_t>(i);
  }
  Hide();
  return -1;
}

vexel::TVexelButton* TMenuFocus::Focused(const vexel::TVexelGUIList* list) {
  const int32_t index = Index(list);
  return index < 0 ? nullptr : Buttons(list)[static_cast<size_t>(index)];
}

void TMenuFocus::FocusAt(const vexel::TVexelGUIList* list, int32_t index) {
  const auto buttons = Buttons(list);
  if (index < 0 || index >= static_cast<int32_t>(buttons.size())) {
    Hide();
    return;
  }
  GUI_.HighlightID = buttons[static_cast<size_t>(index)]->ID();
}

bool TMenuFocus::Move(const vexel::TVexelGUIList* list, int32_t step) {
  const auto count = static_cast<int32_t>(Buttons(list).size());
  if (count == 0) return false;
  const int32_t index = Index(list);
  FocusAt(list, index < 0 ? 0 : ((index + step) % count + count) % count);
  return true;
}

bool TMenuFocus::Press(const vexel::TVexelGUIList* list) {
  vexel::TVexelButton* button = Focused(list);
  return button && GUI_.ClickWidget(button->ID());
}

}  // namespace game
