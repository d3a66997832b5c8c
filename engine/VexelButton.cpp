#include "VexelButton.h"

#include <cmath>

#include "VexelBitmapFont.h"
#include "VexelGUI.h"

namespace vexel {
namespace {

constexpr int32_t kEnter = 13;
constexpr int32_t kSpace = 32;

int32_t RoundHalfEven(double value) {
  return static_cast<int32_t>(std::nearbyint(value));
}

}  // namespace

TVexelButton::TVexelButton(TVexelGUIList& list)
    : TVexelGUIComponent(list), Caption(std::to_string(ID())) {
  TextColor = 0xFFFFFFFF;
}

void TVexelButton::KeyEvent(bool isChar, int32_t& key, TShiftState shift) {
  TVexelGUIComponent::KeyEvent(isChar, key, shift);
  // The handler may have freed the button's list; then the key clicks nothing.
  if (!isChar && (key == kEnter || key == kSpace) && GUI().WidgetByID(ID()) == this) Click();
}

void TVexelButton::Draw() {
  TVexelGUIComponent::Draw();
  if (Selected) DrawOverlay(0);
  DrawCaption();
}

void TVexelButton::DrawCaption() {
  if (!Font || Caption.empty()) return;
  const int32_t textWidth = RoundHalfEven(Font->TextWidth(Caption) * double{TextScaleX});
  const int32_t textHeight = RoundHalfEven(Font->TextHeight() * double{TextScaleY});
  const auto halfWidth = static_cast<int32_t>(Width / 2);
  const auto halfHeight = static_cast<int32_t>(Height / 2);
  const int32_t x = CenterText ? halfWidth - textWidth / 2 + Left + TextOffsetX
                               : Left + TextOffsetX + static_cast<int32_t>(Width / 4);
  const int32_t y = halfHeight - textHeight / 2 + Top + TextOffsetY;
  Font->TextOutColored(static_cast<float>(x), static_cast<float>(y), 0, TextScaleX, TextScaleY,
                       TextColor, Caption, 0);
}

}  // namespace vexel
