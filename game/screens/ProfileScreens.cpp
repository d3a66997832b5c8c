#include "ProfileScreens.h"

#include "game/SettingsFile.h"
#include "game/Unit_pr.h"
#include "game/race/ChooseLine.h"
#include "game/race/GhostRun.h"
#include "platform/VirtualKeys.h"

namespace game {
namespace {

// Buttons of the profile list, in creation order.
constexpr size_t kUp = 0;
constexpr size_t kDown = 1;
constexpr size_t kAdd = 2;
constexpr size_t kDelete = 3;
constexpr size_t kBack = 4;
constexpr size_t kSelect = 5;

// The profile screens slide in for this many frames.
constexpr int32_t kSlideFrames = 26;

}  // namespace

void TProfileScreens::Enter(uint8_t state) {
  if (state == 1 || state == 21) EnterNameScreen(state);
  if (state == 20) EnterList();
  if (state == 22) EnterDelete();
}

void TProfileScreens::Leave(uint8_t state) {
  if (state == 1) Form_.PlayerName = Form_.ScreenEdit ? Form_.ScreenEdit->Text : Form_.PlayerName;
  if (state != 22) Form_.SaveConfig();
  if (state == 1 || state == 21) Form_.VexelGUI1.FocusID = -1;
  FreeWidgets();
  KillPanel();
  if (state == 20 && ChooseLine_) {
    ChooseLine_->Kill();
    ChooseLine_ = nullptr;
  }
  Form_.VexelSprite1.ClearDead();
}

void TProfileScreens::Frame(uint8_t state) {
  if (state == 1 || state == 21) NameFrame(state);
  if (state == 20) ListFrame();
  if (state == 22) DeleteFrame();
}

void TProfileScreens::SlidePanelUp() {
  if (Form_.MenuScreen) {
    Form_.MenuScreen->SetY(
        static_cast<float>(SlideTowards(static_cast<int32_t>(Form_.MenuScreen->Y()), 280, 15)));
  }
}

bool TProfileScreens::NameTyped() const {
  return Form_.ScreenEdit && TPlayerProfiles::HasName(Form_.ScreenEdit->Text);
}

void TProfileScreens::EnterNameScreen(uint8_t state) {
  Form_.ClearReleased();
  if (state == 21) {
    Form_.VexelFont1.SetFont("BinnerD", 17, {});
    Form_.VexelFont1.SetColor(vexel::ARGBColor(250, 250, 250, 255));
  }
  NewWidgetList();
  AddButton("b_ok", 530, 880, [this, state] {
    if (state == 1) {
      CreateFirstProfile();
    } else {
      CreateProfile();
    }
  });
  vexel::TVexelEdit& edit = AddNameBox("e_name", 457, 811, 17, 255);
  if (state == 1) edit.Text = TSettingsFile::StripPadding(Form_.PlayerName);
  edit.Click();
  MakePanel(state == 1 ? "scr_NAMEenter" : "scr_entername", "scr_entername", 370, 680, 500);
  Form_.VexelSprite1.Move(0);
  Form_.ScreenTick = 0;
  Form_.PlaySound("up", true);
}

void TProfileScreens::NameFrame(uint8_t state) {
  vexel::TVexelEdit* edit = Form_.ScreenEdit;
  if (edit) {
    edit->CaretPos = static_cast<int32_t>(edit->Text.size()) + 1;
    BlinkCaret(*edit);
    if (Form_.TakeReleased(platform::VK_BACK) && !edit->Text.empty()) edit->Text.pop_back();
  }
  if (Form_.TakeReleased(platform::VK_RETURN)) {
    if (NameTyped()) {
      if (state == 1) {
        CreateFirstProfile();
      } else {
        CreateProfile();
      }
      return;
    }
  } else if (state == 21 && Form_.TakeReleased(platform::VK_ESCAPE)) {
    Form_.ChangeState(20);
    return;
  }
  if (Form_.ScreenTick >= 0 && Form_.ScreenTick <= kSlideFrames) {
    if (auto* ok = Form_.ScreenButtons[0]) ok->Top = SlideTowards(ok->Top, 480, 15);
    if (edit) edit->Top = SlideTowards(edit->Top, 411, 15);
    SlidePanelUp();
    ++Form_.ScreenTick;
  }
  BeginFrame();
  DrawBackground();
  DrawStars(Form_.Stars, *Form_.VexelScreen1, Form_.Random);
  Form_.VexelSprite1.Move(0);
  Form_.VexelSprite1.Draw();
  Form_.VexelGUI1.Draw();
  if (auto* ok = Form_.ScreenButtons[0]) {
    const bool typed = NameTyped();
    ok->Visible = ok->Enabled = typed;
    if (!typed && state == 1) DrawDisabled("b_ok", 530, 478);
    if (!typed && state == 21 && Form_.ScreenTick > kSlideFrames) DrawDisabled("b_add", 530, 475);
  }
  DrawCursor();
  EndFrame();
}

void TProfileScreens::CreateFirstProfile() {
  Form_.Profiles.CreateFirstProfile(Form_.ScreenEdit ? Form_.ScreenEdit->Text : std::string());
  Form_.TakeUpProfile(0);
  Form_.RebuildInfoText();
  Form_.ChangeState(4);
}

void TProfileScreens::CreateProfile() {
  if (Form_.Profiles.ProfileCount >= 10) return;
  Form_.Profiles.CreateProfile(Form_.ScreenEdit ? Form_.ScreenEdit->Text : std::string());
  Form_.TakeUpProfile(Form_.Profiles.CurrentProfile);
  Form_.PlaySound("check2", true);
  Form_.ChangeState(20);
  Form_.RebuildInfoText();
}

void TProfileScreens::EnterList() {
  Form_.ClearReleased();
  Form_.VexelFont1.SetFont("Arial", 10, {});
  Form_.VexelFont1.SetColor(vexel::ARGBColor(250, 250, 250, 255));
  NewWidgetList();
  AddButton("b_up", 730, 780, [this] { MoveCursor(-1); });
  AddButton("b_down", 730, 860, [this] { MoveCursor(1); });
  AddButton("b_add", 500, 910, [this] {
    if (Form_.Profiles.ProfileCount >= 10) return;
    Form_.ChangeState(21);
  });
  AddButton("b_delete", 580, 910, [this] {
    if (Form_.Profiles.ProfileCount < 1) return;
    Form_.ChangeState(22, TStateChange::Replace, [this] { Form_.PlaySound("check1", true); });
  });
  AddButton("b_back2", 420, 910, [this] {
    Form_.PlaySound("check1", true);
    Form_.RebuildInfoText();
    Form_.ChangeState(4);
  });
  AddButton("b_select", 660, 910, [this] { SelectProfile(); });
  Form_.ButtonCount = 6;
  Form_.Profiles.ProfileCursor = Form_.Profiles.CurrentProfile;
  ChooseLine_ = Form_.VexelSprite1.Create<TChooseLine>(Form_.VexelImageList1, Form_.Random, 430.0f,
                                                       352.0f, Form_.Profiles.ProfileCursor);
  MakePanel("scr_change", "scr_change", 370, 680, 500);
  Form_.VexelSprite1.Move(0);
  Form_.ScreenTick = 0;
  Form_.PlaySound("up", true);
}

void TProfileScreens::MoveCursor(int32_t step) {
  Form_.PlaySound("check1", true);
  int32_t& cursor = Form_.Profiles.ProfileCursor;
  if (step < 0 && cursor > 0) --cursor;
  if (step > 0 && cursor < Form_.Profiles.ProfileCount - 1) ++cursor;
}

void TProfileScreens::SelectProfile() {
  if (Form_.Profiles.ProfileCount < 1) return;
  Form_.TakeUpProfile(Form_.Profiles.ProfileCursor);
  Form_.PlaySound("check1", true);
  Form_.RebuildInfoText();
}

void TProfileScreens::ListFrame() {
  const TPlayerProfiles& profiles = Form_.Profiles;
  if (profiles.ProfileCount >= 1 && Form_.TakeReleased(platform::VK_ESCAPE)) {
    Form_.PlaySound("check1", true);
    Form_.PlayerName = profiles.Current().Name;
    Form_.ChangeState(4);
    return;
  }
  if (Form_.TakeReleased(platform::VK_RETURN)) {
    Form_.PlaySound("check2", true);
    SelectProfile();
    return;
  }
  if (Form_.TakeReleased(platform::VK_UP)) {
    if (profiles.ProfileCursor > 0) Form_.PlaySound("check2", true);
    MoveCursor(-1);
    return;
  }
  if (Form_.TakeReleased(platform::VK_DOWN)) {
    if (profiles.ProfileCursor < profiles.ProfileCount - 1) Form_.PlaySound("check2", true);
    MoveCursor(1);
    return;
  }
  if (Form_.ScreenTick >= 0 && Form_.ScreenTick <= kSlideFrames) {
    static constexpr int32_t kFinalTop[] = {380, 460, 510, 510, 510, 510};
    for (size_t i = 0; i < 6; ++i) {
      if (auto* button = Form_.ScreenButtons[i]) {
        button->Top = SlideTowards(button->Top, kFinalTop[i], 15);
      }
    }
    SlidePanelUp();
    ++Form_.ScreenTick;
  }
  BeginFrame();
  DrawBackground();
  DrawStars(Form_.Stars, *Form_.VexelScreen1, Form_.Random);
  Form_.VexelSprite1.ClearDead();
  Form_.VexelSprite1.Move(0);
  Form_.VexelSprite1.Draw();
  Form_.VexelGUI1.Draw();
  UpdateListButtons();
  if (Form_.ScreenTick >= kSlideFrames + 1) {
    for (int32_t i = 0; i < profiles.ProfileCount; ++i) {
      const std::string& name = profiles.Profiles[static_cast<size_t>(i)].Name;
      const uint32_t colour = i == profiles.CurrentProfile ? vexel::ARGBColor(255, 86, 86, 255)
                                                           : vexel::ARGBColor(250, 250, 250, 255);
      Form_.VexelFont1.SetColor(colour);
      Form_.VexelFont1.TextOut(575 - Form_.VexelFont1.TextWidth(name) / 2, 351 + 15 * i, name);
    }
  }
  DrawCursor();
  EndFrame();
}

void TProfileScreens::UpdateListButtons() {
  const int32_t count = Form_.Profiles.ProfileCount;
  const bool slidIn = Form_.ScreenTick > kSlideFrames;
  struct TRule {
    size_t Button;
    bool On;
    const char* Key;
    int32_t X;
    int32_t Y;
  };
  const TRule rules[] = {
      {kUp, count > 1, "b_up", 730, 380},          {kDown, count > 1, "b_down", 730, 460},
      {kDelete, count >= 1, "b_delete", 580, 505}, {kBack, count >= 1, "b_back2", 420, 505},
      {kSelect, count >= 1, "b_select", 660, 505}, {kAdd, count < 10, "b_add", 500, 505},
  };
  for (const TRule& rule : rules) {
    if (auto* button = Form_.ScreenButtons[rule.Button])
      button->Visible = button->Enabled = rule.On;
    if (!rule.On && slidIn) DrawDisabled(rule.Key, rule.X, rule.Y);
  }
}

void TProfileScreens::EnterDelete() {
  Form_.ClearReleased();
  Form_.VexelFont1.SetFont("MathSoftText", 20, {});
  Form_.VexelFont1.SetColor(vexel::ARGBColor(255, 252, 252, 255));
  NewWidgetList();
  AddButton("b_yes", 480, 875, [this] { DeleteProfile(); });
  AddButton("b_no", 600, 875, [this] {
    Form_.ChangeState(20, TStateChange::Replace, [this] { Form_.PlaySound("check1", true); });
  });
  MakePanel("scr_Delete", "scr_delete", 370, 680, 500);
  Form_.VexelSprite1.Move(0);
  Form_.ScreenTick = 0;
  Form_.PlaySound("up", true);
}

void TProfileScreens::DeleteProfile() {
  const int32_t slot = Form_.Profiles.ProfileCursor;
  const int32_t count = Form_.Profiles.ProfileCount;
  // The ghost folders are numbered by profile slot, so they follow the list.
  if (Form_.Profiles.DeleteProfile()) {
    TGhostRun::DeleteProfileGhosts(Form_.Paths.ConfigDir(), slot, count);
  }
  Form_.TakeUpProfile(Form_.Profiles.CurrentProfile);
  Form_.ChangeState(20, TStateChange::Replace, [this] { Form_.PlaySound("check1", true); });
  Form_.RebuildInfoText();
}

void TProfileScreens::DeleteFrame() {
  if (Form_.TakeReleased(platform::VK_ESCAPE)) {
    Form_.ChangeState(20);
    return;
  }
  if (Form_.ScreenTick >= 0 && Form_.ScreenTick <= kSlideFrames) {
    for (size_t i = 0; i < 2; ++i) {
      if (auto* button = Form_.ScreenButtons[i]) button->Top = SlideTowards(button->Top, 475, 15);
    }
    SlidePanelUp();
    ++Form_.ScreenTick;
  }
  BeginFrame();
  DrawBackground();
  DrawStars(Form_.Stars, *Form_.VexelScreen1, Form_.Random);
  Form_.VexelSprite1.ClearDead();
  Form_.VexelSprite1.Move(0);
  Form_.VexelSprite1.Draw();
  Form_.VexelGUI1.Draw();
  if (Form_.ScreenTick > kSlideFrames) {
    const auto cursor = static_cast<size_t>(Form_.Profiles.ProfileCursor);
    const std::string& name = Form_.Profiles.Profiles[cursor].Name;
    Form_.VexelFont1.TextOut(580 - Form_.VexelFont1.TextWidth(name) / 2, 352, name);
  }
  DrawCursor();
  EndFrame();
}

}  // namespace game
