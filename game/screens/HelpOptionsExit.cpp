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
    if (Form_.ScreenEdit) Form_.OptionsText = Form_.ScreenEdit->Text;
    Form_.SaveConfig();
  }
  FreeWidgets();
  KillPanel();
  Form_.VexelSprite1.ClearDead();
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
  Form_.ChangeState(4, TStateChange::Replace, [this, sound] { Form_.PlaySound(sound); });
}

void THelpOptionsExit::DrawMenu(bool drawBeforeWidgets) {
  BeginFrame();
  DrawBackground();
  DrawStars(Form_.Stars, *Form_.VexelScreen1, Form_.Random);
  Form_.VexelSprite1.Draw();
  if (drawBeforeWidgets) Form_.VexelSprite1.Move(0);
  Form_.VexelGUI1.Draw();
  if (!drawBeforeWidgets) Form_.VexelSprite1.Move(0);
  DrawLightsAgain();
  DrawInfoLine();
  DrawCursor();
  EndFrame();
}

void THelpOptionsExit::EnterHelp() {
  Form_.ClearReleased();
  HelpPage_ = 1;
  NewWidgetList();
  AddButton("b_back", 420, 905, [this] { BackToMenu("check1"); });
  AddButton("b_next", 645, 905, [this] { NextPage(); });
  AddButton("b_prev", 535, 905, [this] { PreviousPage(); });
  Form_.ButtonCount = 3;
  MakePanel("scr_Help", "scr_help", 370, 680, 500);
  Form_.VexelSprite1.Move(0);
  Form_.ScreenTick = 0;
  Form_.PlaySound("up", true);
}

void THelpOptionsExit::ShowHelpPage(int32_t page) {
  static const char* const kPages[] = {"scr_help", "scr_help2", "scr_help3"};
  HelpPage_ = page;
  if (Form_.MenuScreen) Form_.MenuScreen->ShowImage(kPages[page - 1]);
}

void THelpOptionsExit::NextPage() {
  Form_.PlaySound("check1");
  if (HelpPage_ < 3) ShowHelpPage(HelpPage_ + 1);
}

void THelpOptionsExit::PreviousPage() {
  if (HelpPage_ > 1) ShowHelpPage(HelpPage_ - 1);
  Form_.PlaySound("check1");
}

void THelpOptionsExit::HelpFrame() {
  if (Form_.TakeReleased(platform::VK_ESCAPE)) {
    BackToMenu("check2");
    return;
  }
  MoveFocusByKeys();
  if (PressFocusByEnter()) return;
  if (Form_.ScreenTick >= 0 && Form_.ScreenTick <= kSlideFrames) {
    for (int32_t i = 0; i < 3; ++i) {
      if (auto* button = Form_.ScreenButtons[static_cast<size_t>(i)]) {
        button->Top = SlideTowards(button->Top, 505, 15);
      }
    }
    if (Form_.MenuScreen) {
      Form_.MenuScreen->SetY(
          static_cast<float>(SlideTowards(static_cast<int32_t>(Form_.MenuScreen->Y()), 280, 15)));
    }
  }
  DrawMenu(false);
}

void THelpOptionsExit::EnterOptions() {
  Form_.ClearReleased();
  NewWidgetList();
  AddButton("b_apply", 860, 475, [this] { ApplyOptions(); });
  AddButton("b_cancel", 1000, 475, [this] { CancelOptions(); });
  ShowSwitch(*AddButton("b_on", 1036, 331,
                        [this] { ToggleSwitch(kFullScreenSwitch, Form_.FullScreen, false); }),
             SwitchKey(Form_.FullScreen));
  ShowSwitch(
      *AddButton("b_on", 1036, 363, [this] { ToggleSwitch(kMusicSwitch, Form_.MusicOn, false); }),
      SwitchKey(Form_.MusicOn));
  ShowSwitch(
      *AddButton("b_on", 1036, 395, [this] { ToggleSwitch(kSoundSwitch, Form_.SoundOn, true); }),
      SwitchKey(Form_.SoundOn));
  vexel::TVexelEdit& edit = AddNameBox("Edit", 984, 429, 15, 220);
  edit.Text = TSettingsFile::StripPadding(Form_.OptionsText);
  edit.OnClick = [this](vexel::TVexelGUIComponent&) { Form_.EditFocused = true; };
  Form_.ButtonCount = 6;
  MakePanel("scrOptions", "scr_opt", 770, 250, 500);
  Form_.ScreenTick = 0;
  SavedSoundOn_ = Form_.SoundOn;
  SavedMusicOn_ = Form_.MusicOn;
  SavedFullScreen_ = Form_.FullScreen;
  SavedOptionsText_ = Form_.OptionsText;
  Form_.EditFocused = false;
  Form_.PlaySound("up", true);
}

void THelpOptionsExit::ToggleSwitch(size_t button, bool& setting, bool isSound) {
  setting = !setting;
  if (button == kMusicSwitch) {
    if (setting) {
      Form_.StartMusic("menumusic");
    } else {
      Form_.StopMusic("menumusic");
    }
  }
  if (!isSound || setting) Form_.PlaySound("check1");
  if (auto* widget = Form_.ScreenButtons[button]) ShowSwitch(*widget, SwitchKey(setting));
}

void THelpOptionsExit::ApplyOptions() {
  Form_.ChangeState(4, TStateChange::Replace, [this] {
    if (Form_.FullScreen != Form_.AppliedFullScreen) Form_.ApplyDisplayMode(Form_.FullScreen);
    Form_.PlaySound("check1");
  });
}

void THelpOptionsExit::RestoreOptions() {
  if (Form_.MusicOn != SavedMusicOn_) {
    if (SavedMusicOn_) {
      Form_.StartMusic("menumusic");
    } else {
      Form_.StopMusic("menumusic");
    }
  }
  Form_.SoundOn = SavedSoundOn_;
  Form_.MusicOn = SavedMusicOn_;
  Form_.FullScreen = SavedFullScreen_;
  Form_.OptionsText = SavedOptionsText_;
}

void THelpOptionsExit::CancelOptions() {
  Form_.ChangeState(4, TStateChange::Replace, [this] { Form_.PlaySound("check1"); });
  RestoreOptions();
}

void THelpOptionsExit::OptionsFrame() {
  if (Form_.EditFocused && Form_.ScreenEdit) {
    Form_.ScreenEdit->CaretPos = static_cast<int32_t>(Form_.ScreenEdit->Text.size()) + 1;
    BlinkCaret(*Form_.ScreenEdit);
  }
  if (Form_.TakeReleased(platform::VK_BACK) && Form_.ScreenEdit &&
      !Form_.ScreenEdit->Text.empty()) {
    Form_.ScreenEdit->Text.pop_back();
  }
  if (Form_.TakeReleased(platform::VK_ESCAPE)) {
    Form_.PlaySound("check2");
    Form_.ChangeState(4, TStateChange::Replace, [this] { RestoreOptions(); });
    return;
  }
  MoveFocusByKeys();
  if (PressFocusByEnter()) return;
  if (Form_.ScreenTick >= 0 && Form_.ScreenTick <= kSlideFrames) {
    static constexpr int32_t kFinalLeft[] = {460, 600, 636, 636, 636};
    for (size_t i = 0; i < 5; ++i) {
      if (auto* button = Form_.ScreenButtons[i]) {
        button->Left = SlideTowards(button->Left, kFinalLeft[i], 15);
      }
    }
    if (Form_.ScreenEdit) Form_.ScreenEdit->Left = SlideTowards(Form_.ScreenEdit->Left, 584, 15);
    if (Form_.MenuScreen) {
      Form_.MenuScreen->SetX(
          static_cast<float>(SlideTowards(static_cast<int32_t>(Form_.MenuScreen->X()), 370, 15)));
    }
  }
  DrawMenu(false);
}

void THelpOptionsExit::EnterExit() {
  Form_.ClearReleased();
  NewWidgetList();
  AddButton("b_yes", 868, 450, [this] { ConfirmExit(); });
  AddButton("b_no", 988, 450, [this] { BackToMenu("check1"); });
  MakePanel("exitthegame", "scr_ExitTheGame", 758, 265, 500);
  Form_.ScreenTick = 0;
  Form_.PlaySound("up", true);
}

void THelpOptionsExit::ConfirmExit() {
  Form_.SaveConfig();
  Form_.SaveBestTimes();
  Form_.ChangeState(24);
}

void THelpOptionsExit::ExitFrame() {
  if (Form_.TakeReleased(platform::VK_ESCAPE)) {
    BackToMenu("check2");
    return;
  }
  MoveFocusByKeys();
  if (Form_.TakeReleased(platform::VK_RETURN)) {
    if (!PressFocused()) ConfirmExit();
    return;
  }
  if (Form_.ScreenTick >= 0 && Form_.ScreenTick <= kSlideFrames) {
    static constexpr int32_t kFinalLeft[] = {468, 588};
    for (size_t i = 0; i < 2; ++i) {
      if (auto* button = Form_.ScreenButtons[i]) {
        button->Left = SlideTowards(button->Left, kFinalLeft[i], 15);
      }
    }
    if (Form_.MenuScreen) {
      Form_.MenuScreen->SetX(
          static_cast<float>(SlideTowards(static_cast<int32_t>(Form_.MenuScreen->X()), 358, 15)));
    }
    ++Form_.ScreenTick;
  }
  BeginFrame();
  DrawBackground();
  DrawStars(Form_.Stars, *Form_.VexelScreen1, Form_.Random);
  Form_.VexelSprite1.Draw();
  if (Form_.MenuScreen) Form_.MenuScreen->DoDraw();
  Form_.VexelGUI1.Draw();
  Form_.VexelSprite1.Move(0);
  DrawLightsAgain();
  DrawInfoLine();
  DrawCursor();
  EndFrame();
  for (size_t i = 0; i < 2; ++i) {
    if (auto* button = Form_.ScreenButtons[i]) button->Top = 450;
  }
}

}  // namespace game
