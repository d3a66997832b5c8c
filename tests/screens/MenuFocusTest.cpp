// The focus that up, down and enter move and press over a menu screen's buttons, on the
// widget set over the recording display.

#include <map>
#include <sstream>

#include "WidgetFixture.h"
#include "game/screens/MenuFocus.h"

namespace {

struct FocusCase {
  const char* Name;
  /// Steps: "down", "up" (a move of the focus), "move" (the mouse moves), "hide W",
  /// "disable W", "show W", "free W", "hidelist".
  const char* Steps;
  /// The focused button after each step ("-" for none), joined by spaces.
  const char* Focus;
};

// Buttons A, B, C (hidden), D (disabled), the edit box E and the button F, in this order.
const FocusCase kCases[] = {
    {"DownFirstTakesTheFirstButton", "down", "A"},
    {"UpFirstTakesTheFirstButtonToo", "up", "A"},
    {"DownWalksVisibleEnabledButtonsAndWraps", "down down down down", "A B F A"},
    {"UpWalksBackAndWraps", "down up up up", "A F B A"},
    {"AButtonShownLaterJoinsInCreationOrder", "show C down down down", "- A B C"},
    {"AMouseMoveHidesTheFocusAndTheNextPressStartsAgain", "down down move down", "A B - A"},
    {"AFocusedButtonHiddenLosesTheFocus", "down down hide B down", "A B - A"},
    {"AFocusedButtonDisabledLosesTheFocus", "down down down disable F up", "A B F - A"},
    {"AFocusedButtonFreedLosesTheFocus", "down free A down", "A - B"},
    {"AHiddenListHasNothingToFocus", "hidelist down", "- -"},
};

class MenuFocusSequence : public widgettest::WidgetFixture,
                          public ::testing::WithParamInterface<FocusCase> {
 protected:
  MenuFocusSequence() {
    Buttons["A"] = &Button("A", 100, 100);
    Buttons["B"] = &Button("B", 200, 100);
    Buttons["C"] = &Button("C", 300, 100);
    Buttons["C"]->Visible = false;
    Buttons["D"] = &Button("D", 400, 100);
    Buttons["D"]->Enabled = false;
    Edit("E", 100, 200);
    Buttons["F"] = &Button("F", 500, 100);
  }

  std::string FocusLabel() {
    vexel::TVexelButton* focused = Focus.Focused(List);
    for (const auto& [label, button] : Buttons) {
      if (button == focused) return label;
    }
    return "?";
  }

  void Run(const std::string& step) {
    std::istringstream in(step);
    std::string verb;
    std::string word;
    in >> verb >> word;
    if (verb == "down" || verb == "up") Focus.Move(List, verb == "down" ? 1 : -1);
    if (verb == "move") Move(700, 500);
    if (verb == "hide" || verb == "show") Buttons.at(word)->Visible = verb == "show";
    if (verb == "disable") Buttons.at(word)->Enabled = false;
    if (verb == "free") {
      List->FreeWidget(*Buttons.at(word));
      Buttons.erase(word);
    }
    if (verb == "hidelist") List->Visible = false;
  }

  game::TMenuFocus Focus{Gui};
  std::map<std::string, vexel::TVexelButton*> Buttons;
};

TEST_P(MenuFocusSequence, FocusesTheExpectedButtons) {
  std::istringstream steps(GetParam().Steps);
  std::string shown;
  for (std::string step; steps >> step;) {
    if (step == "hide" || step == "show" || step == "disable" || step == "free") {
      std::string word;
      steps >> word;
      step += " " + word;
    }
    Run(step);
    const std::string label = Focus.Focused(List) ? FocusLabel() : "-";
    shown += (shown.empty() ? "" : " ") + label;
  }
  EXPECT_EQ(shown, GetParam().Focus);
}

INSTANTIATE_TEST_SUITE_P(Steps, MenuFocusSequence, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.Name); });

class MenuFocus : public widgettest::WidgetFixture {
 protected:
  game::TMenuFocus Focus{Gui};
};

TEST_F(MenuFocus, TheFocusIsTheGuiHighlightAndItsIndexCountsFocusableButtonsOnly) {
  auto& a = Button("A", 100, 100);
  Button("B", 200, 100).Visible = false;
  auto& c = Button("C", 300, 100);
  EXPECT_EQ(Focus.Index(List), -1);
  Focus.FocusAt(List, 1);
  EXPECT_EQ(Gui.HighlightID, c.ID());
  EXPECT_EQ(Focus.Index(List), 1);
  Focus.FocusAt(List, 2);
  EXPECT_EQ(Gui.HighlightID, 0) << "out of range hides the focus";
  Focus.FocusAt(List, 0);
  EXPECT_EQ(Gui.HighlightID, a.ID());
  Focus.Hide();
  EXPECT_EQ(Focus.Index(List), -1);
}

TEST_F(MenuFocus, PressClicksTheFocusedButtonOnlyAndNothingWithoutAFocus) {
  Button("A", 100, 100);
  Button("B", 200, 100);
  EXPECT_FALSE(Focus.Press(List));
  Focus.Move(List, 1);
  Focus.Move(List, 1);
  EXPECT_TRUE(Focus.Press(List));
  EXPECT_EQ(LogText(), "click B");
  Move(110, 110);
  EXPECT_FALSE(Focus.Press(List)) << "the mouse hid the focus";
  EXPECT_EQ(LogText(), "click B, enter A");
}

TEST_F(MenuFocus, APressThatLeavesTheScreenIsSafeAndTheNewScreenStartsUnfocused) {
  auto& a = Button("A", 100, 100);
  a.OnClick = [this](vexel::TVexelGUIComponent&) {
    List->Free();
    List = &Gui.AddList("GUI2");
    Button("next", 100, 100);
    Log.push_back("left");
  };
  Focus.Move(List, 1);
  EXPECT_TRUE(Focus.Press(List));
  EXPECT_EQ(LogText(), "left");
  ASSERT_EQ(Gui.Lists().size(), 1u);
  EXPECT_EQ(Focus.Focused(List), nullptr);
  EXPECT_TRUE(Focus.Move(List, -1));
  EXPECT_EQ(Focus.Focused(List)->Name, "next");
}

TEST_F(MenuFocus, NoButtonsNoFocus) {
  Edit("E", 100, 100);
  EXPECT_FALSE(Focus.Move(List, 1));
  EXPECT_EQ(Gui.HighlightID, 0);
  EXPECT_FALSE(Focus.Move(nullptr, 1)) << "a screen without a widget list";
  EXPECT_EQ(Focus.Focused(nullptr), nullptr);
}

}  // namespace
