#include "HelpOptionsExit.h"

#include "game/SettingsFile.h"
#include "game/Unit_pr.h"
#include "platform/VirtualKeys.h"

namespace game {
namespace {

// Button slots of the options screen, in creation order.
constexpr size_t kApply = 0;
constexpr size_t kCancel = 1;
constexpr size_t kFullScreenSwitch = 2;
constexpr size_t kMusicSwitch = 3;
constexpr size_t kSoundSwitch = 4;

// Sliding panels and buttons stop after this many frames of a screen.
constexpr int32_t kSlideFrames = 25;

const char* SwitchKey(bool on) {
  return on ? "b_on" : "b_off";
}

}  // namespace

void THelpOptionsExit::Enter(uint8_t state) {
  if (state == 6) EnterHelp();
  if (state == 7) EnterOptions();
  if (state == 10) EnterExit();
}

void THelpOptionsExit::Leave(uint8_t state) {
  if (state == 7) {
    if (Form.ScreenEdit) Form.OptionsText = Form.ScreenEdit->Text;
    Form.SaveConfig();
  }
  FreeWidgets();
  KillPanel();
  Form.VexelSprite1.ClearDead();
}

void THelpOptionsExit::Frame(uint8_t state) {
  if (state == 6) HelpFrame();
  if (state == 7) OptionsFrame();
  if (state == 10) ExitFrame();
}

void THelpOptionsExit::Abandon(uint8_t state) {
  if (state == 7) RestoreOptions();
}

void THelpOptionsExit::BackToMenu(const char* sound) {
  Form.ChangeState(4, TStateChange::Replace, [this, sound] { Form.PlaySound(sound); });
}

void THelpOptionsExit::DrawMenu(bool drawBeforeWidgets) {
  BeginFrame();
  DrawBackground();
  DrawStars(Form.Stars, *Form.VexelScreen1, Form.Random);
  Form.VexelSprite1.Draw();
  if (drawBeforeWidgets) Form.VexelSprite1.Move(0);
  Form.VexelGUI1.Draw();
  if (!drawBeforeWidgets) Form.VexelSprite1.Move(0);
  DrawLightsAgain();
  DrawInfoLine();
  DrawCursor();
  EndFrame();
}

void THelpOptionsExit::EnterHelp() {
  Form.ClearReleased();
  HelpPage = 1;
  NewWidgetList();
  AddButton("b_back", 420, 905, [this] { BackToMenu("check1"); });
  AddButton("b_next", 645, 905, [this] { NextPage(); });
  AddButton("b_prev", 535, 905, [this] { PreviousPage(); });
  Form.ButtonCount = 3;
  MakePanel("scr_Help", "scr_help", 370, 680, 500);
  Form.VexelSprite1.Move(0);
  Form.ScreenTick = 0;
  Form.PlaySound("up", true);
}

void THelpOptionsExit::ShowHelpPage(int32_t page) {
  static const char* const kPages[] = {"scr_help", "scr_help2", "scr_help3"};
  HelpPage = page;
  if (Form.MenuScreen) Form.MenuScreen->ShowImage(kPages[page - 1]);
}

void THelpOptionsExit::NextPage() {
  Form.PlaySound("check1");
  if (HelpPage < 3) ShowHelpPage(HelpPage + 1);
}

void THelpOptionsExit::PreviousPage() {
  if (HelpPage > 1) ShowHelpPage(HelpPage - 1);
  Form.PlaySound("check1");
}

void THelpOptionsExit::HelpFrame() {
  if (Form.TakeReleased(platform::VK_ESCAPE)) {
    BackToMenu("check2");
    return;
  }
  MoveFocusByKeys();
  if (PressFocusByEnter()) return;
  if (Form.ScreenTick >= 0 && Form.ScreenTick <= kSlideFrames) {
    for (int32_t i = 0; i < 3; ++i) {
      if (auto* button = Form.ScreenButtons[static_cast<size_t>(i)]) {
        button->Top = SlideTowards(button->Top, 505, 15);
      }
    }
    if (Form.MenuScreen) {
      Form.MenuScreen->SetY(
          static_cast<float>(SlideTowards(static_cast<int32_t>(Form.MenuScreen->Y()), 280, 15)));
    }
  }
  DrawMenu(false);
}

void THelpOptionsExit::EnterOptions() {
  Form.ClearReleased();
  NewWidgetList();
  AddButton("b_apply", 860, 475, [this] { ApplyOptions(); });
  AddButton("b_cancel", 1000, 475, [this] { CancelOptions(); });
  ShowSwitch(*AddButton("b_on", 1036, 331,
                        [this] { ToggleSwitch(kFullScreenSwitch, Form.FullScreen, false); }),
             SwitchKey(Form.FullScreen));
  ShowSwitch(
      *AddButton("b_on", 1036, 363, [this] { ToggleSwitch(kMusicSwitch, Form.MusicOn, false); }),
      SwitchKey(Form.MusicOn));
  ShowSwitch(
      *AddButton("b_on", 1036, 395, [this] { ToggleSwitch(kSoundSwitch, Form.SoundOn, true); }),
      SwitchKey(Form.SoundOn));
  vexel::TVexelEdit& edit = AddNameBox("Edit", 984, 429, 15, 220);
  edit.Text = TSettingsFile::StripPadding(Form.OptionsText);
  edit.OnClick = [this](vexel::TVexelGUIComponent&) { Form.EditFocused = true; };
  Form.ButtonCount = 6;
  MakePanel("scrOptions", "scr_opt", 770, 250, 500);
  Form.ScreenTick = 0;
  SavedSoundOn = Form.SoundOn;
  SavedMusicOn = Form.MusicOn;
  SavedFullScreen = Form.FullScreen;
  SavedOptionsText = Form.OptionsText;
  Form.EditFocused = false;
  Form.PlaySound("up", true);
}

void THelpOptionsExit::ToggleSwitch(size_t button, bool& setting, bool isSound) {
  setting = !setting;
  if (button == kMusicSwitch) {
    if (setting) {
      Form.StartMusic("menumusic");
    } else {
      Form.StopMusic("menumusic");
    }
  }
  if (!isSound || setting) Form.PlaySound("check1");
  if (auto* widget = Form.ScreenButtons[button]) ShowSwitch(*widget, SwitchKey(setting));
}

void THelpOptionsExit::ApplyOptions() {
  Form.ChangeState(4, TStateChange::Replace, [this] {
    if (Form.FullScreen != Form.AppliedFullScreen) Form.ApplyDisplayMode(Form.FullScreen);
    Form.PlaySound("check1");
  });
}

void THelpOptionsExit::RestoreOptions() {
  if (Form.MusicOn != SavedMusicOn) {
    if (SavedMusicOn) {
      Form.StartMusic("menumusic");
    } else {
      Form.StopMusic("menumusic");
    }
  }
  Form.SoundOn = SavedSoundOn;
  Form.MusicOn = SavedMusicOn;
  Form.FullScreen = SavedFullScreen;
  Form.OptionsText = SavedOptionsText;
}

void THelpOptionsExit::CancelOptions() {
  Form.ChangeState(4, TStateChange::Replace, [this] { Form.PlaySound("check1"); });
  RestoreOptions();
}

void THelpOptionsExit::OptionsFrame() {
  if (Form.EditFocused && Form.ScreenEdit) {
    Form.ScreenEdit->CaretPos = static_cast<int32_t>(Form.ScreenEdit->Text.size()) + 1;
    BlinkCaret(*Form.ScreenEdit);
  }
  if (Form.TakeReleased(platform::VK_BACK) && Form.ScreenEdit && !Form.ScreenEdit->Text.empty()) {
    Form.ScreenEdit->Text.pop_back();
  }
  if (Form.TakeReleased(platform::VK_ESCAPE)) {
    Form.PlaySound("check2");
    Form.ChangeState(4, TStateChange::Replace, [this] { RestoreOptions(); });
    return;
  }
  MoveFocusByKeys();
  if (PressFocusByEnter()) return;
  if (Form.ScreenTick >= 0 && Form.ScreenTick <= kSlideFrames) {
    static constexpr int32_t kFinalLeft[] = {460, 600, 636, 636, 636};
    for (size_t i = 0; i < 5; ++i) {
      if (auto* button = Form.ScreenButtons[i]) {
        button->Left = SlideTowards(button->Left, kFinalLeft[i], 15);
      }
    }
    if (Form.ScreenEdit) Form.ScreenEdit->Left = SlideTowards(Form.ScreenEdit->Left, 584, 15);
    if (Form.MenuScreen) {
      Form.MenuScreen->SetX(
          static_cast<float>(SlideTowards(static_cast<int32_t>(Form.MenuScreen->X()), 370, 15)));
    }
  }
  DrawMenu(false);
}

void THelpOptionsExit::EnterExit() {
  Form.ClearReleased();
  NewWidgetList();
  AddButton("b_yes", 868, 450, [this] { ConfirmExit(); });
  AddButton("b_no", 988, 450, [this] { BackToMenu("check1"); });
  MakePanel("exitthegame", "scr_ExitTheGame", 758, 265, 500);
  Form.ScreenTick = 0;
  Form.PlaySound("up", true);
}

void THelpOptionsExit::ConfirmExit() {
  Form.SaveConfig();
  Form.SaveBestTimes();
  Form.ChangeState(24);
}

void THelpOptionsExit::ExitFrame() {
  if (Form.TakeReleased(platform::VK_ESCAPE)) {
    BackToMenu("check2");
    return;
  }
  MoveFocusByKeys();
  if (Form.TakeReleased(platform::VK_RETURN)) {
    if (!PressFocused()) ConfirmExit();
    return;
  }
  if (Form.ScreenTick >= 0 && Form.ScreenTick <= kSlideFrames) {
    static constexpr int32_t kFinalLeft[] = {468, 588};
    for (size_t i = 0; i < 2; ++i) {
      if (auto* button = Form.ScreenButtons[i]) {
        button->Left = SlideTowards(button->Left, kFinalLeft[i], 15);
      }
    }
    if (Form.MenuScreen) {
      Form.MenuScreen->SetX(
          static_cast<float>(SlideTowards(static_cast<int32_t>(Form.MenuScreen->X()), 358, 15)));
    }
    ++Form.ScreenTick;
  }
  BeginFrame();
  DrawBackground();
  DrawStars(Form.Stars, *Form.VexelScreen1, Form.Random);
  Form.VexelSprite1.Draw();
  if (Form.MenuScreen) Form.MenuScreen->DoDraw();
  Form.VexelGUI1.Draw();
  Form.VexelSprite1.Move(0);
  DrawLightsAgain();
  DrawInfoLine();
  DrawCursor();
  EndFrame();
  for (size_t i = 0; i < 2; ++i) {
    if (auto* button = Form.ScreenButtons[i]) button->Top = 450;
  }
}

}  // namespace game
