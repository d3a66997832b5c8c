// Editing in a focused edit box: caret keys, back delete and Delete, MaxLength, the character
// filters and the font's character set, all through the GUI's event feed.

#include <vector>

#include "WidgetFixture.h"

namespace widgettest {
namespace {

constexpr int32_t kEnd = 35;
constexpr int32_t kHome = 36;
constexpr int32_t kLeft = 37;
constexpr int32_t kRight = 39;
constexpr int32_t kDelete = 46;
constexpr uint8_t kBackDelete = 8;

/// One input: a key press (virtual-key code) or typed characters.
struct Input {
  bool IsChar = true;
  int32_t Key = 0;
  std::string Text;
};

Input Typed(const std::string& text) {
  return {true, 0, text};
}
Input Pressed(int32_t key) {
  return {false, key, {}};
}
Input BackDelete() {
  return Typed(std::string(1, static_cast<char>(kBackDelete)));
}

struct EditCase {
  const char* Name;
  int32_t MaxLength;
  uint8_t Filter;
  const char* Text;
  int32_t Caret;
  std::vector<Input> Inputs;
  const char* ExpectedText;
  int32_t ExpectedCaret;
};

const std::string kTwelve = "ABCDEFGHIJKL";

const std::vector<EditCase> kEdits = {
    {"TypesAtTheCaret", -1, 0, "", 0, {Typed("Ann 7")}, "Ann 7", 5},
    {"InsertsInTheMiddle", -1, 0, "Ad", 1, {Typed("n")}, "And", 2},
    {"CyrillicLettersAreTyped", -1, 0, "", 0, {Typed("\xC0\xED\xFF")}, "\xC0\xED\xFF", 3},
    {"FullBoxRefusesA13thCharacter", 12, 0, "ABCDEFGHIJKL", 12, {Typed("M")}, "ABCDEFGHIJKL", 12},
    {"FullBoxTakesBackDelete", 12, 0, "ABCDEFGHIJKL", 12, {BackDelete()}, "ABCDEFGHIJK", 11},
    {"FullBoxTakesHomeAndDelete",
     12,
     0,
     "ABCDEFGHIJKL",
     12,
     {Pressed(kHome), Pressed(kDelete)},
     "BCDEFGHIJKL",
     0},
    {"FullBoxTakesLeftAndBackDelete",
     12,
     0,
     "ABCDEFGHIJKL",
     12,
     {Pressed(kLeft), Pressed(kLeft), BackDelete()},
     "ABCDEFGHIKL",
     9},
    {"AfterBackDeleteTheFullBoxTakesOneMore",
     12,
     0,
     "ABCDEFGHIJKL",
     12,
     {BackDelete(), Typed("XY")},
     "ABCDEFGHIJKX",
     12},
    {"MaxLengthZeroRefusesEverything", 0, 0, "", 0, {Typed("a")}, "", 0},
    {"BackDeleteAtTheStartDoesNothing", -1, 0, "ab", 0, {BackDelete()}, "ab", 0},
    {"DeleteAtTheEndDoesNothing", -1, 0, "ab", 2, {Pressed(kDelete)}, "ab", 2},
    {"LeftStopsAtTheStart", -1, 0, "ab", 1, {Pressed(kLeft), Pressed(kLeft)}, "ab", 0},
    {"RightStopsAtTheEnd", -1, 0, "ab", 1, {Pressed(kRight), Pressed(kRight)}, "ab", 2},
    {"EndAndHome", -1, 0, "abc", 1, {Pressed(kEnd)}, "abc", 3},
    {"HomeThenType", -1, 0, "bc", 2, {Pressed(kHome), Typed("a")}, "abc", 1},
    {"EnterTypedDoesNothing", -1, 0, "ab", 2, {Typed("\r")}, "ab", 2},
    // The game keeps the caret one past the end; typing still appends.
    {"ACaretPastTheEndTypesAtTheEnd", -1, 0, "ab", 3, {Typed("c")}, "abc", 3},
    {"ACaretPastTheEndBackDeletesTheLast", -1, 0, "ab", 3, {BackDelete()}, "a", 1},
    {"UpperOnly", -1, 1, "", 0, {Typed("aB1Z\xC4\xE4\xA8")}, "BZ\xC4\xA8", 4},
    {"LowerOnly", -1, 2, "", 0, {Typed("aB1z\xC4\xE4\xB8")}, "az\xE4\xB8", 4},
    {"DigitsOnly", -1, 3, "", 0, {Typed("a1b2 ")}, "12", 2},
    {"ToUpper", -1, 4, "", 0, {Typed("ab1\xE4\xF1\xF6\xFC\xB8")}, "AB1\xC4\xD1\xD6\xDC\xA8", 8},
    {"ToLower", -1, 5, "", 0, {Typed("AB1\xC4\xD1\xD6\xDC\xA8")}, "ab1\xE4\xF1\xF6\xFC\xB8", 8},
    {"ToUpperCountsTowardsMaxLength", 2, 4, "", 0, {Typed("abc")}, "AB", 2},
    // Bytes the default set lacks: a control code, a Serbian letter, the unassigned byte.
    {"CharactersTheFontLacksAreRefused",
     -1,
     0,
     "",
     0,
     {Typed("\x01\x80\x98\xA9"
            "a")},
     "a",
     1},
    {"LatinNamesAreTyped", -1, 0, "", 0, {Typed("Zoe Quinn")}, "Zoe Quinn", 9},
};

class EditBoxEditing : public WidgetFixture, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditBoxEditing, GivesTheTextAndCaret) {
  const EditCase& c = GetParam();
  auto& edit = Edit("name", 100, 100);
  edit.MaxLength = c.MaxLength;
  edit.CharFilter = c.Filter;
  edit.Text = c.Text;
  ClickAt(110, 110);
  edit.CaretPos = c.Caret;
  for (const Input& input : c.Inputs) {
    if (input.IsChar) {
      Type(input.Text);
    } else {
      Key(input.Key);
    }
  }
  EXPECT_EQ(edit.Text, c.ExpectedText);
  EXPECT_EQ(edit.CaretPos, c.ExpectedCaret);
}

INSTANTIATE_TEST_SUITE_P(Keys, EditBoxEditing, ::testing::ValuesIn(kEdits),
                         [](const auto& param) { return std::string(param.param.Name); });

class EditBox : public WidgetFixture {};

TEST_F(EditBox, TakesKeysOnlyWhileFocused) {
  auto& edit = Edit("name", 100, 100);
  Type("a");
  EXPECT_EQ(edit.Text, "");
  ClickAt(110, 110);
  EXPECT_TRUE(edit.Focused());
  EXPECT_EQ(Gui.FocusID, edit.ID());
  Type("b");
  edit.Unfocus();
  EXPECT_EQ(Gui.FocusID, -1);
  Type("c");
  EXPECT_EQ(edit.Text, "b");
  EXPECT_EQ(LogText(), "enter name, down name left, click name, key name 98");
}

TEST_F(EditBox, AClickOnAButtonKeepsTheEditFocused) {
  auto& edit = Edit("name", 100, 100);
  Button("ok", 100, 200);
  ClickAt(110, 110);
  ClickAt(110, 210);
  Type("x");
  EXPECT_EQ(edit.Text, "x");
}

TEST_F(EditBox, TheKeyHandlerMayChangeTheCharacter) {
  auto& edit = Edit("name", 100, 100);
  edit.OnKey = [](vexel::TVexelGUIComponent&, int32_t& key, vexel::TShiftState) {
    if (key == 'x') key = 'y';
  };
  ClickAt(110, 110);
  Type("xz");
  EXPECT_EQ(edit.Text, "yz");
}

TEST_F(EditBox, ReadOnlyFiresTheKeyHandlerButKeepsTheText) {
  auto& edit = Edit("name", 100, 100);
  edit.ReadOnly = true;
  edit.Text = "ab";
  ClickAt(110, 110);
  Log.clear();
  Type("c");
  Key(kHome);
  EXPECT_EQ(edit.Text, "ab");
  EXPECT_EQ(edit.CaretPos, 0) << "Home was refused too";
  EXPECT_EQ(LogText(), "key name 99, key name 36");
}

TEST_F(EditBox, AFontWithItsOwnCharactersLimitsTyping) {
  vexel::TVexelBitmapFont digits(Fonts);
  digits.SetCharacters("0123456789");
  auto& edit = Edit("name", 100, 100);
  edit.Font = &digits;
  ClickAt(110, 110);
  Type("a1 2");
  EXPECT_EQ(edit.Text, "12");
  List->FreeWidget(edit);
}

TEST_F(EditBox, AFocusedEditInADisabledListTakesNoKeys) {
  auto& edit = Edit("name", 100, 100);
  ClickAt(110, 110);
  List->Enabled = false;
  Type("a");
  EXPECT_EQ(edit.Text, "");
}

TEST(EditCharFilter, CaseConversionPairsTheCodePageLetters) {
  for (int c = 0; c < 256; ++c) {
    const auto byte = static_cast<uint8_t>(c);
    const uint8_t upper = vexel::TVexelEdit::ConvertChar(vexel::cfToUpper, byte);
    const uint8_t lower = vexel::TVexelEdit::ConvertChar(vexel::cfToLower, byte);
    EXPECT_EQ(vexel::TVexelEdit::ConvertChar(vexel::cfToLower, upper), lower) << c;
    EXPECT_EQ(vexel::TVexelEdit::ConvertChar(vexel::cfAny, byte), byte);
    const bool letter = upper != lower;
    const bool latin = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool cyrillic = c >= 0xC0 || c == 0xA8 || c == 0xB8;
    EXPECT_EQ(letter, latin || cyrillic) << c;
    EXPECT_EQ(vexel::TVexelEdit::PassesFilter(vexel::cfUpperOnly, byte), letter && byte == upper)
        << c;
    EXPECT_EQ(vexel::TVexelEdit::PassesFilter(vexel::cfLowerOnly, byte), letter && byte == lower)
        << c;
  }
}

}  // namespace
}  // namespace widgettest
