#pragma once
// A one-line text entry box.

#include <cstdint>
#include <string>

#include "VexelGUIComponent.h"

namespace vexel {

/// Character filters of TVexelEdit::CharFilter.
enum TEditCharFilter : uint8_t {
  cfAny = 0,
  cfUpperOnly = 1,
  cfLowerOnly = 2,
  cfDigits = 3,
  cfToUpper = 4,
  cfToLower = 5,
};

/// A one-line text box: a click gives it the focus; characters typed while focused are
/// filtered (CharFilter, MaxLength, and the font's character set) and inserted at the caret;
/// Home, End, Left, Right, Delete and back delete edit the text. Text is code page 1251 bytes.
class TVexelEdit : public TVexelGUIComponent {
 public:
  /// An empty box with caret "_" five pixels in.
  explicit TVexelEdit(TVexelGUIList& list);

  /// Takes the focus, then fires OnClick.
  void Click() override;
  /// Fires OnKey, then (unless ReadOnly) edits the text with the key or character.
  void KeyEvent(bool isChar, int32_t& key, TShiftState shift) override;
  /// The state image, the text, the caret while focused, and the overlay while selected or
  /// focused.
  void Draw() override;
  /// Gives up the focus (the GUI's FocusID becomes -1).
  void Unfocus();
  /// Number of characters of Text.
  int32_t TextLength() const { return static_cast<int32_t>(Text.size()); }
  /// Whether the box has the focus.
  bool Focused() const;
  /// The character a typed byte becomes under CharFilter (case conversion), before the tests.
  static uint8_t ConvertChar(uint8_t filter, uint8_t c);
  /// Whether a converted byte passes CharFilter (the font's set is tested apart).
  static bool PassesFilter(uint8_t filter, uint8_t c);

  /// Longest text accepted from typing; -1 unlimited.
  int32_t MaxLength = -1;
  bool ReadOnly = false;
  /// One of TEditCharFilter.
  uint8_t CharFilter = cfAny;
  std::string Text;
  /// Characters before the caret (values past the end count as the end).
  int32_t CaretPos = 0;
  int32_t TextBlendMode = 0;
  /// Pixels from Left to the text.
  int32_t TextMargin = 5;
  std::string Caret = "_";
  bool ShowCaret = true;

 private:
  void EditKey(int32_t key);
  void EditChar(uint8_t c);
  bool FontHas(uint8_t c) const;
  size_t CaretIndex() const;
  void DrawText(int32_t x, int32_t y);
  void DrawCaret(int32_t x, int32_t y);
};

}  // namespace vexel
