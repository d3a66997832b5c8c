// What widgets draw, on the recording back end: the state cell for hover and press, the box
// the image is stretched to, hidden widgets and lists, the overlay, button captions, edit-box
// text and caret, and state animations.

#include "WidgetFixture.h"

namespace widgettest {
namespace {

using vexel::TDeviceCall;

class WidgetDraw : public WidgetFixture {
 protected:
  static std::pair<float, float> TopLeft(const TDeviceCall& quad) {
    return {quad.Vertices[0].X, quad.Vertices[0].Y};
  }
  static std::pair<float, float> BottomRight(const TDeviceCall& quad) {
    return {quad.Vertices[2].X, quad.Vertices[2].Y};
  }
  /// The strip cell a quad shows (-1: the whole picture), found from its U range.
  static int32_t CellOf(const TDeviceCall& quad) {
    if (quad.Vertices.size() != 4) return -2;
    for (int32_t k = 0; k < 4; ++k) {
      const auto [left, right] = StripCellU(k);
      if (quad.Vertices[0].U == left && quad.Vertices[1].U == right) return k;
    }
    return quad.Vertices[0].U == 0 && quad.Vertices[1].U == 1 ? -1 : -2;
  }
  std::vector<int32_t> CellsOfNextDraws(int count) {
    std::vector<int32_t> cells;
    for (int i = 0; i < count; ++i) cells.push_back(CellOf(DrawnQuads().at(0)));
    return cells;
  }
};

TEST_F(WidgetDraw, TheNormalCellIsStretchedToTheBox) {
  Button("A", 100, 100, 80, 40);
  const auto quads = DrawnQuads();
  ASSERT_EQ(quads.size(), 1u);
  EXPECT_EQ(CellOf(quads[0]), 0);
  EXPECT_EQ(TopLeft(quads[0]), std::make_pair(99.5f, 99.5f));
  EXPECT_EQ(BottomRight(quads[0]), std::make_pair(180.0f, 140.0f));
}

TEST_F(WidgetDraw, HoverShowsTheHoverCellAndPressFallsBackWithoutAPressedImage) {
  auto& a = Button("A", 100, 100);
  Move(110, 110);
  EXPECT_EQ(CellOf(DrawnQuads().at(0)), 1);
  Down();
  EXPECT_EQ(CellOf(DrawnQuads().at(0)), 0) << "no pressed image: the normal one";
  a.SetImage(vexel::gsPressed, Strip);
  a.SetPatternIndex(vexel::gsPressed, 2);
  EXPECT_EQ(CellOf(DrawnQuads().at(0)), 2);
  Up();
  Move(500, 500);
  EXPECT_EQ(CellOf(DrawnQuads().at(0)), 0);
}

TEST_F(WidgetDraw, TheHighlightShowsItsHoverCellInsteadOfTheHoveredWidget) {
  auto& a = Button("A", 100, 100);
  auto& b = Button("B", 200, 100);
  Move(210, 110);
  Gui.HighlightID = a.ID();
  auto quads = DrawnQuads();
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(CellOf(quads[0]), 1) << "highlighted";
  EXPECT_EQ(CellOf(quads[1]), 0) << "under the mouse, but one highlight at a time";
  Gui.HighlightID = b.ID();
  quads = DrawnQuads();
  EXPECT_EQ(CellOf(quads[0]), 0);
  EXPECT_EQ(CellOf(quads[1]), 1);
  Move(500, 500);
  quads = DrawnQuads();
  EXPECT_EQ(CellOf(quads[0]), 0) << "the move hid the highlight";
  EXPECT_EQ(CellOf(quads[1]), 0);
}

TEST_F(WidgetDraw, AHighlightedWidgetWithoutHoverImageIsLitByAnAddedSecondDraw) {
  auto& a = Button("A", 100, 100, 80, 40);
  a.SetImage(vexel::gsHover, nullptr);
  a.States[vexel::gsNormal].Color = 0xFF102030;
  Gui.HighlightID = a.ID();
  Device->Calls.clear();
  Screen.BeginScene();
  Gui.Draw();
  Screen.EndScene();
  std::vector<vexel::TDeviceCall> order;
  for (const auto& call : Device->Calls) {
    if (call.Kind == TDeviceCall::TKind::Draw || call.Kind == TDeviceCall::TKind::Blend) {
      order.push_back(call);
    }
  }
  ASSERT_GE(order.size(), 3u);
  const auto& glow = order.back();
  ASSERT_EQ(glow.Kind, TDeviceCall::TKind::Draw);
  const auto& blend = order[order.size() - 2];
  ASSERT_EQ(blend.Kind, TDeviceCall::TKind::Blend);
  EXPECT_EQ(blend.Source, vexel::TBlendFactor::SrcAlpha);
  EXPECT_EQ(blend.Destination, vexel::TBlendFactor::One) << "added over the normal draw";
  EXPECT_EQ(CellOf(glow), 0);
  EXPECT_EQ(TopLeft(glow), std::make_pair(99.5f, 99.5f));
  EXPECT_EQ(BottomRight(glow), std::make_pair(180.0f, 140.0f));
  EXPECT_EQ(glow.Vertices[0].Color, vexel::ModulateColor(0xC0FFFFFF, Screen.ScreenColor()));
  Gui.HighlightID = 0;
  EXPECT_EQ(DrawnQuads().size(), 1u) << "no highlight, no second draw";
  Move(110, 110);
  EXPECT_EQ(DrawnQuads().size(), 1u) << "the mouse over it lights nothing";
}

TEST_F(WidgetDraw, StateColourBlendAndMirrorReachTheQuad) {
  auto& a = Button("A", 100, 100);
  a.States[0].Color = 0x80FF0000;
  a.States[0].BlendMode = 1;
  a.MirrorX = true;
  const auto quads = DrawnQuads();
  ASSERT_EQ(quads.size(), 1u);
  for (const auto& vertex : quads[0].Vertices) {
    EXPECT_EQ(vertex.Color, vexel::ModulateColor(0x80FF0000, Screen.ScreenColor()));
  }
  EXPECT_EQ(Screen.CurrentBlendMode(), 1);
  EXPECT_GT(quads[0].Vertices[0].U, quads[0].Vertices[1].U) << "mirrored across";
}

TEST_F(WidgetDraw, HiddenWidgetsAndListsAreNotDrawnAndAStateWithoutImageDrawsNothing) {
  auto& a = Button("A", 100, 100);
  auto& b = Button("B", 200, 100);
  b.SetImage(vexel::gsNormal, nullptr);
  EXPECT_EQ(DrawnQuads().size(), 1u);
  a.Visible = false;
  EXPECT_TRUE(DrawnQuads().empty());
  a.Visible = true;
  List->Visible = false;
  EXPECT_TRUE(DrawnQuads().empty());
}

TEST_F(WidgetDraw, TheGuiImageComesFirstAtTheOrigin) {
  Button("A", 100, 100);
  Gui.Image = Strip;
  const auto quads = DrawnQuads();
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(CellOf(quads[0]), -1);
  EXPECT_EQ(TopLeft(quads[0]), std::make_pair(-0.5f, -0.5f));
}

TEST_F(WidgetDraw, ButtonCaptionIsCentredOrAQuarterIn) {
  auto& fresh = List->Add<vexel::TVexelButton>();
  EXPECT_EQ(fresh.Caption, std::to_string(fresh.ID())) << "a new button's caption is its ID";
  EXPECT_EQ(fresh.TextColor, 0xFFFFFFFFu);
  List->FreeWidget(fresh);
  auto& a = Button("A", 100, 100, 40, 20);
  a.Caption = "GO";
  auto quads = DrawnQuads();
  ASSERT_EQ(quads.size(), 3u);
  // Two 8 x 16 glyphs: x = 40 div 2 - 16 div 2 + 100, y = 20 div 2 - 16 div 2 + 100.
  EXPECT_EQ(TopLeft(quads[1]), std::make_pair(112.0f, 102.0f));
  EXPECT_EQ(TopLeft(quads[2]), std::make_pair(120.0f, 102.0f));
  for (const auto& vertex : quads[1].Vertices) {
    EXPECT_EQ(vertex.Color, vexel::ModulateColor(0xFFFFFFFF, Screen.ScreenColor()));
  }
  a.CenterText = false;
  a.TextOffsetX = 3;
  a.TextOffsetY = -2;
  quads = DrawnQuads();
  EXPECT_EQ(TopLeft(quads[1]), std::make_pair(113.0f, 100.0f)) << "100 + 3 + 40 div 4";
}

TEST_F(WidgetDraw, SelectedButtonDrawsTheOverlayInItsOwnSizeBeforeTheCaption) {
  auto& a = Button("A", 100, 100, 80, 40);
  a.Caption = "X";
  a.SetImage(vexel::gsOverlay, Strip);
  a.SetPatternIndex(vexel::gsOverlay, 3);
  EXPECT_EQ(DrawnQuads().size(), 2u) << "not selected: no overlay";
  a.Selected = true;
  const auto quads = DrawnQuads();
  ASSERT_EQ(quads.size(), 3u);
  EXPECT_EQ(CellOf(quads[1]), 3);
  EXPECT_EQ(TopLeft(quads[1]), std::make_pair(99.5f, 99.5f));
  EXPECT_EQ(BottomRight(quads[1]), std::make_pair(132.0f, 120.0f));
  EXPECT_EQ(TopLeft(quads[2]), std::make_pair(136.0f, 112.0f)) << "the caption comes last";
}

TEST_F(WidgetDraw, EditTextSitsAtTheMarginWithTheCaretAfterTheCaretPosition) {
  auto& edit = Edit("name", 100, 100, 200, 30);
  edit.Text = "ab";
  edit.TextColor = 0xFF102030;
  auto quads = DrawnQuads();
  ASSERT_EQ(quads.size(), 3u) << "box and two glyphs, no caret without focus";
  // x = 100 + margin 5; y = 30 div 2 + 100 - 16 div 2.
  EXPECT_EQ(TopLeft(quads[1]), std::make_pair(105.0f, 107.0f));
  EXPECT_EQ(TopLeft(quads[2]), std::make_pair(113.0f, 107.0f));
  EXPECT_EQ(quads[1].Vertices[0].Color, vexel::ModulateColor(0xFF102030, Screen.ScreenColor()));
  ClickAt(110, 110);
  edit.CaretPos = edit.TextLength() + 1;  // where the game keeps it
  quads = DrawnQuads();
  ASSERT_EQ(quads.size(), 4u);
  EXPECT_EQ(TopLeft(quads[3]), std::make_pair(121.0f, 107.0f)) << "after both glyphs";
  edit.CaretPos = 1;
  edit.TextMargin = 3;
  quads = DrawnQuads();
  EXPECT_EQ(TopLeft(quads[3]), std::make_pair(111.0f, 107.0f));
  edit.Caret.clear();
  EXPECT_EQ(DrawnQuads().size(), 3u) << "the blinking caret's empty half";
  edit.Caret = ".";
  edit.ShowCaret = false;
  EXPECT_EQ(DrawnQuads().size(), 3u);
}

TEST_F(WidgetDraw, AnEmptyFocusedEditDrawsTheCaretAtTheMargin) {
  Edit("name", 100, 100, 200, 30);
  ClickAt(110, 110);
  const auto quads = DrawnQuads();
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(TopLeft(quads[1]), std::make_pair(105.0f, 107.0f));
}

TEST_F(WidgetDraw, RotatedCharactersAreDrawnOneByOne) {
  auto& edit = Edit("name", 100, 100, 200, 30);
  edit.Text = "abc";
  edit.CharRotation = 90;
  const auto quads = DrawnQuads();
  ASSERT_EQ(quads.size(), 4u);
  // Character i is drawn at x + 8 i and turned a quarter clockwise about that point: its
  // bottom-right corner (8, 16) swings to about (-16, 8).
  for (size_t i = 1; i < 4; ++i) {
    const float x = 105.0f + 8.0f * static_cast<float>(i - 1);
    EXPECT_NEAR(quads[i].Vertices[0].X, x, 1e-3) << i;
    EXPECT_NEAR(quads[i].Vertices[0].Y, 107.0f, 1e-3) << i;
    EXPECT_NEAR(quads[i].Vertices[2].X, x - 16.0f, 0.5f) << i;
    EXPECT_NEAR(quads[i].Vertices[2].Y, 107.0f + 8.0f, 0.5f) << i;
  }
}

TEST_F(WidgetDraw, AFocusedEditShowsItsOverlay) {
  auto& edit = Edit("name", 100, 100, 200, 30);
  edit.SetImage(vexel::gsOverlay, Strip);
  edit.SetPatternIndex(vexel::gsOverlay, 3);
  edit.Caret.clear();
  EXPECT_EQ(DrawnQuads().size(), 1u);
  ClickAt(110, 110);
  const auto quads = DrawnQuads();
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(CellOf(quads[1]), 3);
}

struct AnimationCase {
  const char* Name;
  bool Loop;
  bool Reverse;
  int32_t Speed;
  std::vector<int32_t> Cells;
};

const AnimationCase kAnimations[] = {
    {"ForwardLoops", true, false, 0, {0, 1, 2, 0, 1, 2, 0}},
    {"ForwardStopsAtTheLastCell", false, false, 0, {0, 1, 2, 2, 2, 2, 2}},
    {"ReverseLoopsAboveTheFirstCell", true, true, 0, {2, 1, 2, 1, 2, 1, 2}},
    {"ReverseStopsAtTheFirstCell", false, true, 0, {2, 1, 0, 0, 0, 0, 0}},
    {"SpeedThirtyMovesEveryThirdDraw", true, false, 30, {0, 0, 0, 1, 1, 1, 2}},
};

class WidgetAnimation : public WidgetDraw, public ::testing::WithParamInterface<AnimationCase> {};

TEST_P(WidgetAnimation, StepsThroughTheCells) {
  const AnimationCase& c = GetParam();
  auto& a = Button("A", 100, 100);
  vexel::TVexelGUIState& state = a.States[vexel::gsNormal];
  state.Animate = true;
  state.PatternCount = 2;
  state.AnimLoop = c.Loop;
  state.AnimReverse = c.Reverse;
  state.AnimSpeed = c.Speed;
  a.SetPatternIndex(vexel::gsNormal, c.Reverse ? 2 : 0);
  state.FirstPattern = 0;
  EXPECT_EQ(CellsOfNextDraws(7), c.Cells);
  EXPECT_EQ(state.AnimDone, !c.Loop);
}

INSTANTIATE_TEST_SUITE_P(States, WidgetAnimation, ::testing::ValuesIn(kAnimations),
                         [](const auto& param) { return std::string(param.param.Name); });

TEST_F(WidgetDraw, EnteringAndLeavingRestartAnimations) {
  auto& a = Button("A", 100, 100);
  vexel::TVexelGUIState& state = a.States[vexel::gsNormal];
  state.Animate = true;
  state.PatternCount = 3;
  state.AnimLoop = false;
  a.SetPatternIndex(vexel::gsNormal, 0);
  CellsOfNextDraws(5);
  EXPECT_TRUE(state.AnimDone);
  Move(110, 110);
  Move(500, 500);
  EXPECT_FALSE(state.AnimDone);
  EXPECT_EQ(CellsOfNextDraws(2), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(a.GetPatternIndex(vexel::gsHover), 1) << "a still state keeps its cell";
}

}  // namespace
}  // namespace widgettest
