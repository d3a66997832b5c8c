#include "HighScoreScreens.h"

#include "RecordsScreen.h"
#include "game/Unit_pr.h"
#include "platform/VirtualKeys.h"

namespace game {
namespace {

// Depth of the table's panel: above the menu scenery (its planets are at 55).
constexpr int32_t kTableDepth = 500;

}  // namespace

void THighScoreScreens::Enter(uint8_t state) {
  if (state == 8) EnterTable();
  if (state == 9) EnterConfirm();
}

void THighScoreScreens::Leave(uint8_t) {
  KillPanel();
  if (TableBehind_) TableBehind_->Kill();
  TableBehind_ = nullptr;
  Form.VexelSprite1.ClearDead();
  FreeWidgets();
}

void THighScoreScreens::Frame(uint8_t state) {
  if (state == 8) TableFrame();
  if (state == 9) ConfirmFrame();
}

void THighScoreScreens::EnterTable() {
  Form.ClearReleased();
  NewWidgetList();
  AddButton("b_clrhiscr", 330, 495, [this] {
    KillPanel();
    Form.VexelSprite1.ClearDead();
    Form.ChangeState(9, TStateChange::Over);
  });
  AddButton("b_viewwhiscr", 290, 520, [this] { Form.OpenScorePage(); });
  AddButton("b_back", 390, 545, [this] {
    Form.ChangeState(4, TStateChange::Replace, [this] { Form.PlaySound("check1"); });
  });
  AddButton("b_records", 540, 507, [this] {
    Form.ChangeState(TRecordsScreen::kState, TStateChange::Replace,
                     [this] { Form.PlaySound("check1"); });
  });
  // The table's panel and text and the buttons are drawn over the menu scenery's planets.
  MakePanel("scrHiscr", "scr_hiscr", 266, 190, kTableDepth);
  Form.VexelSprite1.Move(0);
}

void THighScoreScreens::TableFrame() {
  if (Form.TakeReleased(platform::VK_ESCAPE)) {
    Form.PlaySound("check2");
    Form.ChangeState(4);
    return;
  }
  MoveFocusByKeys();
  if (PressFocusByEnter()) return;
  BeginFrame();
  DrawBackground(1);
  Form.VexelSprite1.Draw();
  if (Form.Cursor) Form.Cursor->DoMove(0);
  Form.VexelGUI1.Draw();
  DrawHighScores();
  DrawCursor(false);
  EndFrame();
}

void THighScoreScreens::DrawHighScores() {
  vexel::TVexelFont& font = Form.VexelFont1;
  font.SetFont("Staccato222 BT", 16, {});
  font.SetColor(vexel::ARGBColor(10, 10, 10, 255));
  for (int32_t i = 1; i <= 10; ++i) {
    const THighScoreRow& row = Form.HighScores.Rows[static_cast<size_t>(i - 1)];
    const int32_t y = 251 + 20 * i;
    font.TextOut(300 - font.TextWidth(row.Rank) / 2, y, row.Rank);
    font.TextOut(480 - font.TextWidth(row.Name) / 2, y, row.Name);
    font.TextOut(680 - font.TextWidth(row.Points) / 2, y, row.Points);
  }
}

void THighScoreScreens::EnterConfirm() {
  Form.ClearReleased();
  FreeWidgets();
  NewWidgetList();
  AddButton("b_yes", 380, 394, [this] { KeepTable(); });
  AddButton("b_no", 510, 399, [this] { ResetTable(); });
  Form.ButtonCount = 2;
  TableBehind_ = Form.VexelSprite1.Create<TMenuScreen>(Form.VexelImageList1, true, 255, "scrHiscr",
                                                       "scr_hiscr", kTableDepth, 190.0f, 266.0f);
  MakePanel("clearhiscr", "scr_clearhiscr", 310, 284, kTableDepth + 1);
  Form.PlaySound("up", true);
}

void THighScoreScreens::FollowFocus(bool movedSideways) {
  // One focus on this screen: the shown one (up and down) and the remembered one (left and
  // right) move together once it is shown.
  if (movedSideways && FocusShown()) Form.MenuFocus.FocusAt(Form.ScreenList, HighScoreFocus);
  MoveFocusByKeys();
  const int32_t shown = Form.MenuFocus.Index(Form.ScreenList);
  if (shown >= 0) HighScoreFocus = shown;
}

void THighScoreScreens::BackToTable() {
  Form.ChangeState(8, TStateChange::Replace, [this] { Form.PlaySound("check1"); });
}

void THighScoreScreens::KeepTable() {
  BackToTable();
}

void THighScoreScreens::ResetTable() {
  Form.HighScores.ResetHighScores();
  BackToTable();
}

void THighScoreScreens::ConfirmFrame() {
  const bool right = Form.TakeReleased(platform::VK_RIGHT);
  const bool left = Form.TakeReleased(platform::VK_LEFT);
  if (right) {
    Form.PlaySound("check2");
    ++HighScoreFocus;
  }
  if (left) {
    Form.PlaySound("check2");
    --HighScoreFocus;
  }
  if (HighScoreFocus > Form.ButtonCount - 1) HighScoreFocus = 0;
  if (HighScoreFocus < 0) HighScoreFocus = Form.ButtonCount - 1;
  FollowFocus(right || left);
  if (Form.TakeReleased(platform::VK_RETURN)) {
    Form.PlaySound("check2");
    if (HighScoreFocus == 0) {
      KeepTable();
    } else {
      ResetTable();
    }
    return;
  }
  if (Form.TakeReleased(platform::VK_ESCAPE)) {
    Form.PlaySound("check2");
    Form.ChangeState(8);
    return;
  }
  BeginFrame();
  DrawBackground(1);
  Form.VexelSprite1.Draw();
  Form.VexelGUI1.Draw();
  DrawCursor(false);
  if (Form.Cursor) Form.Cursor->DoMove(0);
  EndFrame();
}

}  // namespace game
