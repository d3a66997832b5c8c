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
  Form_.VexelSprite1.ClearDead();
  FreeWidgets();
}

void THighScoreScreens::Frame(uint8_t state) {
  if (state == 8) TableFrame();
  if (state == 9) ConfirmFrame();
}

void THighScoreScreens::EnterTable() {
  Form_.ClearReleased();
  NewWidgetList();
  AddButton("b_clrhiscr", 330, 495, [this] {
    KillPanel();
    Form_.VexelSprite1.ClearDead();
    Form_.ChangeState(9, TStateChange::Over);
  });
  AddButton("b_viewwhiscr", 290, 520, [this] { Form_.OpenScorePage(); });
  AddButton("b_back", 390, 545, [this] {
    Form_.ChangeState(4, TStateChange::Replace, [this] { Form_.PlaySound("check1"); });
  });
  AddButton("b_records", 540, 507, [this] {
    Form_.ChangeState(TRecordsScreen::kState, TStateChange::Replace,
                      [this] { Form_.PlaySound("check1"); });
  });
  // The table's panel and text and the buttons are drawn over the menu scenery's planets.
  MakePanel("scrHiscr", "scr_hiscr", 266, 190, kTableDepth);
  Form_.VexelSprite1.Move(0);
}

void THighScoreScreens::TableFrame() {
  TableScreenFrame(4, [this] { DrawHighScores(); });
}

void THighScoreScreens::DrawHighScores() {
  vexel::TVexelFont& font = Form_.VexelFont1;
  font.SetFont("Staccato222 BT", 16, {});
  font.SetColor(vexel::ARGBColor(10, 10, 10, 255));
  for (int32_t i = 1; i <= 10; ++i) {
    const THighScoreRow& row = Form_.HighScores.Rows[static_cast<size_t>(i - 1)];
    const int32_t y = 251 + 20 * i;
    font.TextOut(300 - font.TextWidth(row.Rank) / 2, y, row.Rank);
    font.TextOut(480 - font.TextWidth(row.Name) / 2, y, row.Name);
    font.TextOut(680 - font.TextWidth(row.Points) / 2, y, row.Points);
  }
}

void THighScoreScreens::EnterConfirm() {
  Form_.ClearReleased();
  FreeWidgets();
  NewWidgetList();
  AddButton("b_yes", 380, 394, [this] { KeepTable(); });
  AddButton("b_no", 510, 399, [this] { ResetTable(); });
  Form_.ButtonCount = 2;
  TableBehind_ = Form_.VexelSprite1.Create<TMenuScreen>(
      Form_.VexelImageList1, true, 255, "scrHiscr", "scr_hiscr", kTableDepth, 190.0f, 266.0f);
  MakePanel("clearhiscr", "scr_clearhiscr", 310, 284, kTableDepth + 1);
  Form_.PlaySound("up", true);
}

void THighScoreScreens::FollowFocus(bool movedSideways) {
  // One focus on this screen: the shown one (up and down) and the remembered one (left and
  // right) move together once it is shown.
  if (movedSideways && FocusShown()) Form_.MenuFocus.FocusAt(Form_.ScreenList, HighScoreFocus);
  MoveFocusByKeys();
  const int32_t shown = Form_.MenuFocus.Index(Form_.ScreenList);
  if (shown >= 0) HighScoreFocus = shown;
}

void THighScoreScreens::BackToTable() {
  Form_.ChangeState(8, TStateChange::Replace, [this] { Form_.PlaySound("check1"); });
}

void THighScoreScreens::KeepTable() {
  BackToTable();
}

void THighScoreScreens::ResetTable() {
  Form_.HighScores.ResetHighScores();
  BackToTable();
}

void THighScoreScreens::ConfirmFrame() {
  const bool right = Form_.TakeReleased(platform::VK_RIGHT);
  const bool left = Form_.TakeReleased(platform::VK_LEFT);
  if (right) {
    Form_.PlaySound("check2");
    ++HighScoreFocus;
  }
  if (left) {
    Form_.PlaySound("check2");
    --HighScoreFocus;
  }
  if (HighScoreFocus > Form_.ButtonCount - 1) HighScoreFocus = 0;
  if (HighScoreFocus < 0) HighScoreFocus = Form_.ButtonCount - 1;
  FollowFocus(right || left);
  if (Form_.TakeReleased(platform::VK_RETURN)) {
    Form_.PlaySound("check2");
    if (HighScoreFocus == 0) {
      KeepTable();
    } else {
      ResetTable();
    }
    return;
  }
  if (Form_.TakeReleased(platform::VK_ESCAPE)) {
    Form_.PlaySound("check2");
    Form_.ChangeState(8);
    return;
  }
  BeginFrame();
  DrawBackground(1);
  Form_.VexelSprite1.Draw();
  Form_.VexelGUI1.Draw();
  DrawCursor(false);
  if (Form_.Cursor) Form_.Cursor->DoMove(0);
  EndFrame();
}

}  // namespace game
