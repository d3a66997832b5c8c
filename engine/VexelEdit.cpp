#include "VexelEdit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "VexelBitmapFont.h"
#include "VexelGUI.h"

namespace vexel {
namespace {

constexpr int32_t kEnd = 35;
constexpr int32_t kHome = 36;
constexpr int32_t kLeft = 37;
constexpr int32_t kRight = 39;
constexpr int32_t kDelete = 46;
constexpr uint8_t kBackDelete = 8;
constexpr uint8_t kEnter = 13;
// Code page 1251: the Cyrillic capitals 0xC0..0xDF and small letters 0xE0..0xFF, and Yo.
constexpr uint8_t kCyrillicUpperFirst = 0xC0;
constexpr uint8_t kCyrillicLowerFirst = 0xE0;
constexpr uint8_t kUpperYo = 0xA8;
constexpr uint8_t kLowerYo = 0xB8;
constexpr uint8_t kCaseDistance = 32;

bool IsUpper(uint8_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= kCyrillicUpperFirst && c < kCyrillicLowerFirst) ||
         c == kUpperYo;
}

bool IsLower(uint8_t c) {
  return (c >= 'a' && c <= 'z') || c >= kCyrillicLowerFirst || c == kLowerYo;
}

uint8_t ToUpper(uint8_t c) {
  if (c == kLowerYo) return kUpperYo;
  return IsLower(c) ? static_cast<uint8_t>(c - kCaseDistance) : c;
}

uint8_t ToLower(uint8_t c) {
  if (c == kUpperYo) return kLowerYo;
  return IsUpper(c) ? static_cast<uint8_t>(c + kCaseDistance) : c;
}

int32_t RoundHalfEven(double value) {
  return static_cast<int32_t>(std::nearbyint(value));
}

}  // namespace

TVexelEdit::TVexelEdit(TVexelGUIList& list) : TVexelGUIComponent(list) {}

uint8_t TVexelEdit::ConvertChar(uint8_t filter, uint8_t c) {
  if (filter == cfToUpper) return ToUpper(c);
  if (filter == cfToLower) return ToLower(c);
  return c;
}

bool TVexelEdit::PassesFilter(uint8_t filter, uint8_t c) {
  switch (filter) {
    case cfUpperOnly:
      return IsUpper(c);
    case cfLowerOnly:
      return IsLower(c);
    case cfDigits:
      return c >= '0' && c <= '9';
    default:
      return true;
  }
}

bool TVexelEdit::Focused() const {
  return GUI().FocusID == ID();
}

void TVexelEdit::Unfocus() {
  GUI().FocusID = -1;
}

void TVexelEdit::Click() {
  GUI().FocusID = ID();
  TVexelGUIComponent::Click();
}

void TVexelEdit::KeyEvent(bool isChar, int32_t& key, TShiftState shift) {
  TVexelGUIComponent::KeyEvent(isChar, key, shift);
  if (ReadOnly) return;
  if (isChar) {
    EditChar(static_cast<uint8_t>(key & 0xFF));
  } else {
    EditKey(key);
  }
}

size_t TVexelEdit::CaretIndex() const {
  return static_cast<size_t>(std::clamp<int32_t>(CaretPos, 0, TextLength()));
}

void TVexelEdit::EditKey(int32_t key) {
  const size_t caret = CaretIndex();
  switch (key) {
    case kEnd:
      CaretPos = TextLength();
      break;
    case kHome:
      CaretPos = 0;
      break;
    case kLeft:
      CaretPos = std::max<int32_t>(static_cast<int32_t>(caret) - 1, 0);
      break;
    case kRight:
      CaretPos = std::min<int32_t>(static_cast<int32_t>(caret) + 1, TextLength());
      break;
    case kDelete:
      if (caret < Text.size()) Text.erase(caret, 1);
      break;
    default:
      break;
  }
}

void TVexelEdit::EditChar(uint8_t c) {
  const size_t caret = CaretIndex();
  if (c == kBackDelete) {
    if (caret == 0) return;
    Text.erase(caret - 1, 1);
    CaretPos = static_cast<int32_t>(caret) - 1;
    return;
  }
  if (c == kEnter) return;
  if (MaxLength >= 0 && TextLength() >= MaxLength) return;
  const uint8_t converted = ConvertChar(CharFilter, c);
  if (!PassesFilter(CharFilter, converted) || !FontHas(converted)) return;
  Text.insert(caret, 1, static_cast<char>(converted));
  CaretPos = static_cast<int32_t>(caret) + 1;
}

bool TVexelEdit::FontHas(uint8_t c) const {
  const std::string& set =
      Font && !Font->Characters().empty() ? Font->Characters() : DefaultCharacters();
  return set.find(static_cast<char>(c)) != std::string::npos;
}

void TVexelEdit::Draw() {
  TVexelGUIComponent::Draw();
  if (Font) {
    const int32_t x = Left + TextMargin;
    const int32_t y = static_cast<int32_t>(Height / 2) + Top -
                      static_cast<int32_t>(Font->CellHeight() * double{TextScaleY}) / 2;
    DrawText(x, y);
    if (ShowCaret && Focused()) DrawCaret(x, y);
    Font->CenterX = 0;
    Font->CenterY = 0;
  }
  if (Selected || Focused()) DrawOverlay(Rotation);
}

void TVexelEdit::DrawText(int32_t x, int32_t y) {
  if (Text.empty()) return;
  if (CharRotation == 0) {
    if (Rotation != 0) {
      Font->CenterX = static_cast<float>(static_cast<int32_t>(Width * double{TextScaleX}) / 2);
      Font->CenterY = static_cast<float>(static_cast<int32_t>(Height * double{TextScaleY}) / 2);
    }
    Font->TextOutColored(static_cast<float>(x), static_cast<float>(y), Rotation, TextScaleX,
                         TextScaleY, TextColor, Text, TextBlendMode);
    return;
  }
  for (size_t i = 0; i < Text.size(); ++i) {
    const std::string character = Text.substr(i, 1);
    const int32_t offset =
        RoundHalfEven(Font->TextWidth(character) * double{TextScaleX} * static_cast<double>(i));
    Font->TextOutColored(static_cast<float>(x + offset), static_cast<float>(y), CharRotation,
                         TextScaleX, TextScaleY, TextColor, character, TextBlendMode);
  }
}

void TVexelEdit::DrawCaret(int32_t x, int32_t y) {
  if (Caret.empty()) return;
  const size_t caret = CaretIndex();
  const double before = caret == 0 ? 0 : Font->TextWidth(Text.substr(0, caret));
  const double distance = RoundHalfEven(before * TextScaleX);
  double caretX = x + distance;
  double caretY = y;
  if (Rotation != 0) {
    const double radians = Rotation * std::numbers::pi / 180;
    caretX = x + distance * std::cos(radians);
    caretY = y + distance * std::sin(radians);
  }
  Font->TextOutColored(static_cast<float>(caretX), static_cast<float>(caretY), Rotation, TextScaleX,
                       TextScaleY, TextColor, Caret, TextBlendMode);
}

}  // namespace vexel
