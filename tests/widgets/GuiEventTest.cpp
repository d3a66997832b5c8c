// Mouse and key events through TVexelGUI::HandleEvent: hover by the last accepted move, clicks
// only on a left release over the pressed widget, the 10 ms move throttle, what is consumed,
// and lists freed by their own event handlers.

#include <algorithm>
#include <map>
#include <memory>
#include <sstream>

#include "WidgetFixture.h"

namespace widgettest {
namespace {

using TButton = platform::TPlatformEvent::TButton;
using TType = platform::TPlatformEvent::TType;

struct SequenceCase {
  const char* Name;
  /// Steps, one per line: "move X Y", "quickmove X Y" (3 ms after the last event),
  /// "moveafter MS X Y", "down [right|middle]", "up [right|middle]", "hide W", "disable W",
  /// "show W", "hidelist", "disablelist", "create W X Y", "finalize".
  const char* Steps;
  /// The log the steps leave, events joined by ", ".
  const char* Log;
};

// Buttons A at (100, 100) and B at (200, 100), 40 x 20; C at (120, 100) overlaps A's right
// half and starts hidden.
const SequenceCase kSequences[] = {
    {"PressAndReleaseOnOneButtonClicksIt", "move 110 110\ndown\nup",
     "enter A, down A left, click A"},
    {"PressOnAReleaseOnBClicksNobody", "move 110 110\ndown\nmove 210 110\nup",
     "enter A, down A left, leave A, enter B, up B left"},
    {"ReleaseOverNothingDoesNothing", "move 110 110\ndown\nmove 500 500\nup",
     "enter A, down A left, leave A"},
    {"PressOverNothingReleaseOnAIsOnlyAMouseUp", "move 500 500\ndown\nmove 110 110\nup",
     "enter A, up A left"},
    {"AMoveWithin10msIsIgnored", "move 110 110\nquickmove 210 110\ndown\nup",
     "enter A, down A left, click A"},
    {"AMove10msLaterIsTaken", "move 110 110\nmoveafter 10 210 110", "enter A, leave A, enter B"},
    {"TheBoxEdgesBelongToTheWidget", "move 140 120\nmove 141 120\nmove 100 100",
     "enter A, leave A, enter A"},
    {"WithoutAMoveNothingIsHovered", "down\nup", ""},
    {"AWidgetHiddenAfterHoverTakesNoClick", "move 110 110\nhide A\ndown\nup", "enter A"},
    {"AWidgetDisabledAfterHoverTakesNoClick", "move 110 110\ndisable A\ndown\nup", "enter A"},
    {"ADisabledWidgetIsNeverHovered", "disable A\nmove 110 110\ndown\nup", ""},
    {"AHiddenListIsNeverHovered", "hidelist\nmove 110 110\ndown\nup", ""},
    {"ADisabledListIsNeverHovered", "disablelist\nmove 110 110\ndown\nup", ""},
    {"RightButtonGivesDownAndUpButNoClick", "move 110 110\ndown right\nup right",
     "enter A, down A right, up A right"},
    {"MiddleButtonGivesDownAndUpButNoClick", "move 110 110\ndown middle\nup middle",
     "enter A, down A middle, up A middle"},
    {"OverlappingWidgetsAreAllEnteredTheLastIsClicked", "show C\nmove 130 110\ndown\nup",
     "enter A, enter C, down C left, click C"},
    {"AWidgetMadeUnderTheRestingMouseWaitsForAMove",
     "move 310 110\ncreate D 300 100\ndown\nup\nmove 311 110\ndown\nup",
     "enter D, down D left, click D"},
    {"AfterFinalizeEventsAreIgnored", "finalize\nmove 110 110\ndown\nup", ""},
};

class GuiSequence : public WidgetFixture, public ::testing::WithParamInterface<SequenceCase> {
 protected:
  GuiSequence() {
    Widgets["A"] = &Button("A", 100, 100);
    Widgets["B"] = &Button("B", 200, 100);
    Widgets["C"] = &Button("C", 120, 100);
    Widgets["C"]->Visible = false;
  }

  static TButton ButtonOf(const std::string& word) {
    if (word == "right") return TButton::Right;
    return word == "middle" ? TButton::Middle : TButton::Left;
  }

  void Run(const std::string& line) {
    std::istringstream in(line);
    std::string verb;
    std::string word;
    int32_t x = 0;
    int32_t y = 0;
    in >> verb;
    if (verb == "move") {
      in >> x >> y;
      Move(x, y);
    } else if (verb == "quickmove") {
      in >> x >> y;
      Move(x, y, 3);
    } else if (verb == "moveafter") {
      uint32_t after = 0;
      in >> after >> x >> y;
      Move(x, y, after);
    } else if (verb == "down") {
      in >> word;
      Down(ButtonOf(word));
    } else if (verb == "up") {
      in >> word;
      Up(ButtonOf(word));
    } else if (verb == "hide" || verb == "show" || verb == "disable") {
      in >> word;
      if (verb == "disable") Widgets.at(word)->Enabled = false;
      if (verb != "disable") Widgets.at(word)->Visible = verb == "show";
    } else if (verb == "hidelist") {
      List->Visible = false;
    } else if (verb == "disablelist") {
      List->Enabled = false;
    } else if (verb == "create") {
      in >> word >> x >> y;
      Widgets[word] = &Button(word, x, y);
    } else if (verb == "finalize") {
      Gui.Finalize();
    } else {
      FAIL() << "unknown step " << line;
    }
  }

  std::map<std::string, vexel::TVexelGUIComponent*> Widgets;
};

TEST_P(GuiSequence, LeavesTheExpectedEvents) {
  std::istringstream steps(GetParam().Steps);
  for (std::string line; std::getline(steps, line);) Run(line);
  EXPECT_EQ(LogText(), GetParam().Log);
}

INSTANTIATE_TEST_SUITE_P(Mouse, GuiSequence, ::testing::ValuesIn(kSequences),
                         [](const auto& param) { return std::string(param.param.Name); });

class GuiEvents : public WidgetFixture {};

TEST_F(GuiEvents, ConsumesMouseButtonsTakenMovesAndCharactersButLeavesKeysToTheForm) {
  Button("A", 100, 100);
  EXPECT_TRUE(Move(110, 110));
  EXPECT_FALSE(Move(120, 110, 9)) << "a move 9 ms later is the form's";
  EXPECT_TRUE(Move(130, 110, 1)) << "10 ms after the last taken move";
  EXPECT_TRUE(Down());
  EXPECT_TRUE(Up());
  EXPECT_TRUE(Move(500, 500));
  EXPECT_TRUE(Down()) << "a press over nothing is still the GUI's";
  EXPECT_TRUE(Up());
  EXPECT_TRUE(Char('a'));
  EXPECT_FALSE(Key(13));
  platform::TPlatformEvent up;
  up.Type = TType::KeyUp;
  up.Key = 13;
  EXPECT_FALSE(Gui.HandleEvent(up, ++Now));
  Gui.Finalize();
  EXPECT_FALSE(Gui.Hooked());
  EXPECT_FALSE(Move(110, 110));
  EXPECT_FALSE(Down());
  EXPECT_FALSE(Char('a'));
  Gui.Initialize();
  EXPECT_TRUE(Move(110, 110));
}

TEST_F(GuiEvents, MousePositionAndStateFollowTheEvents) {
  EXPECT_EQ(Gui.HoverID, -1);
  EXPECT_EQ(Gui.FocusID, 0);
  auto& a = Button("A", 100, 100);
  Move(110, 111);
  EXPECT_EQ(Gui.MouseX, 110);
  EXPECT_EQ(Gui.MouseY, 111);
  EXPECT_EQ(Gui.HoverID, a.ID());
  EXPECT_FLOAT_EQ(Gui.MouseScaleX(), 1.0f);
  EXPECT_FLOAT_EQ(Gui.MouseScaleY(), 1.0f);
  Down();
  EXPECT_TRUE(Gui.LeftDown);
  EXPECT_EQ(Gui.PressedID, a.ID());
  Up();
  EXPECT_FALSE(Gui.LeftDown);
  EXPECT_EQ(Gui.PressedID, -1);
  EXPECT_EQ(Gui.Previous.HoverID, a.ID());
  EXPECT_TRUE(Gui.Previous.LeftDown);
  Move(500, 500);
  EXPECT_EQ(Gui.HoverID, 0);
}

TEST_F(GuiEvents, WithoutADisplayDeviceInitializeLeavesTheFeedOff) {
  vexel::TVexelGUI gui;
  gui.Initialize();
  EXPECT_FALSE(gui.Hooked());
  platform::TPlatformEvent move;
  move.Type = TType::MouseMove;
  EXPECT_FALSE(gui.HandleEvent(move, 100));
}

TEST_F(GuiEvents, IDsAreNeverReusedAndFreedSlotsStayEmpty) {
  auto& a = Button("A", 100, 100);
  auto& b = Button("B", 200, 100);
  EXPECT_EQ(a.ID(), 1);
  EXPECT_EQ(b.ID(), 2);
  EXPECT_EQ(Gui.WidgetByID(1), &a);
  List->FreeWidget(a);
  EXPECT_EQ(Gui.WidgetByID(1), nullptr);
  EXPECT_EQ(List->Widgets().size(), 1u);
  auto& c = Button("C", 300, 100);
  EXPECT_EQ(c.ID(), 3);
  EXPECT_EQ(Gui.IDTableSize(), 4);
  EXPECT_EQ(Gui.WidgetByID(0), nullptr) << "slot 0 stands for the GUI";
}

TEST_F(GuiEvents, BringToFrontReordersListsAndWidgets) {
  auto& a = Button("A", 100, 100);
  auto& b = Button("B", 100, 100);
  Move(110, 110);
  EXPECT_EQ(Gui.HoverID, b.ID()) << "the last widget tested keeps the hover";
  a.BringToFront();
  EXPECT_EQ(List->Widgets().back().get(), &a);
  Move(111, 110);
  EXPECT_EQ(Gui.HoverID, a.ID());
  auto& other = Gui.AddList("other");
  EXPECT_EQ(Gui.Lists().back().get(), &other);
  List->BringToFront();
  EXPECT_EQ(Gui.Lists().back().get(), List);
  EXPECT_EQ(Gui.FindList("other"), &other);
}

TEST_F(GuiEvents, AFocusedButtonIsClickedByEnterAndSpaceKeysOnly) {
  auto& a = Button("A", 100, 100);
  Gui.FocusID = a.ID();
  Key(13);
  Key(32);
  Char(13);
  Key(65);
  EXPECT_EQ(LogText(), "key A 13, click A, key A 32, click A, key A 13, key A 65");
}

TEST_F(GuiEvents, KeysReachNoWidgetWithoutFocusOrInADisabledList) {
  auto& a = Button("A", 100, 100);
  Key(13);
  Gui.FocusID = a.ID();
  List->Enabled = false;
  Key(13);
  EXPECT_EQ(LogText(), "");
}

/// A button that writes "freed <Name>" to a log when it is destroyed.
class TLoggedButton : public vexel::TVexelButton {
 public:
  using TVexelButton::TVexelButton;
  ~TLoggedButton() override {
    if (Sink) Sink->push_back("freed " + Name);
  }
  std::vector<std::string>* Sink = nullptr;
};

// A menu screen's button leaves the screen from its own click handler: the shell frees the
// screen's list and builds the next screen's list before the handler returns.
class FreedFromAHandler : public WidgetFixture {
 protected:
  /// A button as Button makes it that logs its destruction.
  TLoggedButton& LoggedButton(const std::string& label, int32_t left, int32_t top) {
    auto& button = List->Add<TLoggedButton>();
    Dress(button, label, left, top);
    button.Sink = &Log;
    return button;
  }

  /// Frees the screen's list and makes the next screen's list with one button "next" at
  /// the same place; then uses its own captured state, as the shell's handlers do.
  std::function<void()> LeaveScreen(std::shared_ptr<int> token) {
    return [this, token, text = std::string("left the main menu")] {
      List->Free();
      List = &Gui.AddList("GUI2");
      Button("next", 100, 100);
      ++*token;
      Log.push_back(text);
    };
  }
};

TEST_F(FreedFromAHandler, AClickThatLeavesTheScreenIsSafeAndTheNextScreenWorks) {
  auto& start = LoggedButton("b_stgame", 100, 100);
  auto token = std::make_shared<int>(0);
  start.OnClick = [leave = LeaveScreen(token)](vexel::TVexelGUIComponent&) { leave(); };
  ClickAt(110, 110);
  EXPECT_EQ(*token, 1);
  EXPECT_EQ(token.use_count(), 1) << "the old button and its handler are freed after the event";
  ASSERT_EQ(Gui.Lists().size(), 1u);
  EXPECT_EQ(Gui.Lists().front().get(), List);
  // The mouse rests over the new button: it waits for a move, and the old button's ID takes
  // nothing any more.
  Down();
  Up();
  EXPECT_EQ(LogText(), "enter b_stgame, down b_stgame left, left the main menu, freed b_stgame")
      << "freed once the handler and the event are done";
  ClickAt(111, 110);
  EXPECT_EQ(LogText(),
            "enter b_stgame, down b_stgame left, left the main menu, freed b_stgame, "
            "enter next, down next left, click next");
  EXPECT_EQ(DrawnQuads().size(), 1u);
}

struct HandlerCase {
  const char* Name;
  /// Which handler of button A leaves the screen.
  const char* Handler;
};

class FreedFromEachHandler : public FreedFromAHandler,
                             public ::testing::WithParamInterface<HandlerCase> {
 protected:
  /// Makes one handler of the widget run the action.
  void Arm(vexel::TVexelGUIComponent& widget, const std::string& handler,
           const std::function<void()>& action) {
    const auto notify = [action](vexel::TVexelGUIComponent&) { action(); };
    const auto mouse = [action](vexel::TVexelGUI&, vexel::TMouseButton, vexel::TShiftState, int32_t,
                                int32_t) { action(); };
    if (handler == "click") widget.OnClick = notify;
    if (handler == "enter") widget.OnMouseEnter = notify;
    if (handler == "leave") widget.OnMouseLeave = notify;
    if (handler == "down") widget.OnMouseDown = mouse;
    if (handler == "up") widget.OnMouseUp = mouse;
    if (handler == "key") {
      widget.OnKey = [action](vexel::TVexelGUIComponent&, int32_t&, vexel::TShiftState) {
        action();
      };
      Gui.FocusID = widget.ID();
    }
  }
};

TEST_P(FreedFromEachHandler, TheEventEndsSafelyAndTheOldWidgetsAreFreed) {
  auto& a = LoggedButton("A", 100, 100);
  const int32_t idOfA = a.ID();  // A itself is freed on the way
  Button("B", 200, 100);
  auto token = std::make_shared<int>(0);
  Arm(a, GetParam().Handler, LeaveScreen(token));
  ASSERT_EQ(token.use_count(), 2) << "held by the test and by A's handler";
  // Every way in: press elsewhere, enter, release on A, press and click, leave, key.
  Move(300, 300);
  Down();
  Move(110, 110);
  Up();
  Down();
  Up();
  Move(500, 500);
  Key(13);
  EXPECT_EQ(*token, 1) << "the handler ran once, then its widget was gone";
  const auto left = std::find(Log.begin(), Log.end(), "left the main menu");
  const auto freed = std::find(Log.begin(), Log.end(), "freed A");
  ASSERT_NE(freed, Log.end());
  EXPECT_LT(left, freed) << "A outlives the handler that freed its list";
  EXPECT_EQ(token.use_count(), 1);
  ASSERT_EQ(Gui.Lists().size(), 1u);
  EXPECT_EQ(Gui.Lists().front()->Widgets().size(), 1u);
  EXPECT_EQ(Gui.WidgetByID(idOfA), nullptr);
}

const HandlerCase kHandlers[] = {{"OnClick", "click"},      {"OnMouseEnter", "enter"},
                                 {"OnMouseLeave", "leave"}, {"OnMouseDown", "down"},
                                 {"OnMouseUp", "up"},       {"OnKey", "key"}};

INSTANTIATE_TEST_SUITE_P(Handlers, FreedFromEachHandler, ::testing::ValuesIn(kHandlers),
                         [](const auto& param) { return std::string(param.param.Name); });

TEST_F(FreedFromAHandler, AFocusedKeyAfterItsListWasFreedReachesNobody) {
  auto& edit = Edit("name", 100, 100);
  ClickAt(110, 110);
  EXPECT_EQ(Gui.FocusID, edit.ID());
  const int32_t id = edit.ID();
  List->Free();
  List = &Gui.AddList("GUI2");
  Type("abc");
  Key(37);
  EXPECT_EQ(Gui.FocusID, id) << "the focus number stays; it leads nowhere";
  EXPECT_EQ(Gui.WidgetByID(id), nullptr);
}

TEST_F(FreedFromAHandler, FreeingAWidgetFromItsOwnClickKeepsItUntilTheEventEnds) {
  auto& a = Button("A", 100, 100);
  const int32_t id = a.ID();
  a.OnClick = [this](vexel::TVexelGUIComponent& sender) {
    List->FreeWidget(sender);
    Log.push_back(sender.Name + " freed");
    EXPECT_EQ(List->Widgets().size(), 1u) << "still held during the event";
  };
  ClickAt(110, 110);
  EXPECT_EQ(LogText(), "enter A, down A left, A freed");
  EXPECT_TRUE(List->Widgets().empty());
  EXPECT_EQ(Gui.WidgetByID(id), nullptr);
  EXPECT_TRUE(DrawnQuads().empty());
}

TEST_F(FreedFromAHandler, AClickFromCodeThatLeavesTheScreenFreesTheOldButtonAfterwards) {
  auto& start = LoggedButton("b_stgame", 100, 100);
  auto token = std::make_shared<int>(0);
  start.OnClick = [leave = LeaveScreen(token)](vexel::TVexelGUIComponent&) { leave(); };
  const int32_t id = start.ID();
  EXPECT_TRUE(Gui.ClickWidget(id));
  EXPECT_EQ(LogText(), "left the main menu, freed b_stgame");
  EXPECT_EQ(token.use_count(), 1) << "the old button and its handler are gone";
  EXPECT_FALSE(Gui.Dispatching());
  EXPECT_FALSE(Gui.ClickWidget(id)) << "a freed widget takes no clicks";
  ASSERT_EQ(Gui.Lists().size(), 1u);
  EXPECT_EQ(Gui.Lists().front().get(), List);
}

struct CodeClickCase {
  const char* Name;
  /// What is done to button A (at (100, 100)) before it is clicked from code.
  const char* Change;
  bool Clicks;
};

const CodeClickCase kCodeClicks[] = {
    {"ALiveButton", "", true},
    {"AHiddenButton", "hide", false},
    {"ADisabledButton", "disable", false},
    {"AButtonOfAHiddenList", "hidelist", false},
    {"AButtonOfADisabledList", "disablelist", false},
    {"AFreedButton", "free", false},
};

class CodeClick : public WidgetFixture, public ::testing::WithParamInterface<CodeClickCase> {};

TEST_P(CodeClick, ClicksOnlyWhatTheMouseCouldClick) {
  auto& a = Button("A", 100, 100);
  const int32_t id = a.ID();
  const std::string change = GetParam().Change;
  if (change == "hide") a.Visible = false;
  if (change == "disable") a.Enabled = false;
  if (change == "hidelist") List->Visible = false;
  if (change == "disablelist") List->Enabled = false;
  if (change == "free") List->FreeWidget(a);
  EXPECT_EQ(Gui.ClickWidget(id), GetParam().Clicks);
  EXPECT_EQ(LogText(), GetParam().Clicks ? "click A" : "");
}

INSTANTIATE_TEST_SUITE_P(Widgets, CodeClick, ::testing::ValuesIn(kCodeClicks),
                         [](const auto& param) { return std::string(param.param.Name); });

TEST_F(GuiEvents, ClickWidgetIgnoresIDsThatNameNoWidget) {
  Button("A", 100, 100);
  for (const int32_t id : {-1, 0, 2, 99}) EXPECT_FALSE(Gui.ClickWidget(id)) << id;
  EXPECT_EQ(LogText(), "");
}

struct HighlightCase {
  const char* Name;
  /// Steps before the press and release: "move X Y" or "highlight W".
  const char* Steps;
  /// The highlight left after the steps (a label or "-") and the log of a press and release
  /// at the last point.
  const char* Highlight;
  const char* Log;
};

// Buttons A at (100, 100) and B at (200, 100), 40 x 20.
const HighlightCase kHighlights[] = {
    {"AHighlightTakesNoClickThePointerStillDoes", "move 210 110\nhighlight A", "A",
     "down B left, click B"},
    {"APressOverNothingIsNoClickOfTheHighlight", "move 500 500\nhighlight A", "A", ""},
    {"AMoveHidesTheHighlight", "highlight A\nmove 500 500", "-", ""},
    {"AMoveWithin10msHidesItToo", "move 500 500\nhighlight A\nquickmove 501 500", "-", ""},
    {"WithoutAnyMouseEventItStays", "highlight B", "B", ""},
};

class GuiHighlight : public WidgetFixture, public ::testing::WithParamInterface<HighlightCase> {
 protected:
  GuiHighlight() {
    Widgets["A"] = &Button("A", 100, 100);
    Widgets["B"] = &Button("B", 200, 100);
  }
  std::string HighlightLabel() const {
    for (const auto& [label, widget] : Widgets) {
      if (widget->ID() == Gui.HighlightID) return label;
    }
    return Gui.HighlightID < 1 ? "-" : "?";
  }
  std::map<std::string, vexel::TVexelGUIComponent*> Widgets;
};

TEST_P(GuiHighlight, LeavesTheMouseToThePointer) {
  std::istringstream steps(GetParam().Steps);
  for (std::string line; std::getline(steps, line);) {
    std::istringstream in(line);
    std::string verb;
    std::string word;
    int32_t x = 0;
    int32_t y = 0;
    in >> verb;
    if (verb == "highlight") {
      in >> word;
      Gui.HighlightID = Widgets.at(word)->ID();
    } else {
      in >> x >> y;
      Move(x, y, verb == "quickmove" ? 3 : 20);
    }
  }
  EXPECT_EQ(HighlightLabel(), GetParam().Highlight);
  Log.clear();
  Down();
  EXPECT_EQ(HighlightLabel(), "-") << "a press hides the highlight";
  Up();
  EXPECT_EQ(LogText(), GetParam().Log);
}

INSTANTIATE_TEST_SUITE_P(Mouse, GuiHighlight, ::testing::ValuesIn(kHighlights),
                         [](const auto& param) { return std::string(param.param.Name); });

TEST_F(GuiEvents, KeysAndCharactersLeaveTheHighlightAlone) {
  auto& a = Button("A", 100, 100);
  Gui.HighlightID = a.ID();
  Key(40);
  Char('a');
  EXPECT_EQ(Gui.HighlightID, a.ID());
  EXPECT_EQ(LogText(), "") << "the highlight is no keyboard focus";
}

}  // namespace
}  // namespace widgettest
