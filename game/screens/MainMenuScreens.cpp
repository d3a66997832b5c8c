#include "MainMenuScreens.h"

#include "game/Unit_pr.h"
#include "platform/VirtualKeys.h"

namespace game {
namespace {

// The main menu's column: picture, start position and the top it slides up to. The first
// seven slide in; the logo button stays where it starts.
struct TMenuButton {
  const char* Key;
  int32_t Left;
  int32_t Top;
  int32_t FinalTop;
};

constexpr TMenuButton kColumn[] = {
    {"b_stgame", 600, 610, 200}, {"b_opt", 657, 660, 240},  {"b_presshere", 655, 710, 280},
    {"b_hiscr", 590, 735, 320},  {"b_help", 695, 760, 360}, {"b_visit", 595, 810, 400},
    {"b_exit", 612, 860, 440},
};
constexpr int32_t kSlidingButtons = 7;

}  // namespace

void TMainMenuScreens::Enter(uint8_t state) {
  if (state == 3) EnterLogo();
  if (state == 4) EnterMainMenu();
}

void TMainMenuScreens::Leave(uint8_t state) {
  if (state == 3) {
    KillPanel();
    Form_.CreateMenuScenery();
  }
  if (state == 4) FreeWidgets();
}

void TMainMenuScreens::Frame(uint8_t state) {
  if (state == 3) LogoFrame();
  if (state == 4) MainMenuFrame();
}

void TMainMenuScreens::EnterLogo() {
  Form_.InputReleased = false;
  Form_.PlaySound("begin");
  auto* logo = Form_.VexelImageList1.ImageList.Find("logo_kvt");
  const float x = logo ? static_cast<float>(400 - logo->ImageWidth / 2) : 0;
  const float y = logo ? static_cast<float>(300 - logo->ImageHeight / 2) : 0;
  MakePanel("logo_kvt", "logo_kvt", x, y, 20, 0);
  Form_.VexelSprite1.Move(0);
}

void TMainMenuScreens::LogoFrame() {
  int32_t& t = Form_.ScreenTick;
  // Any key, click or controller button, once let go, skips to the logos' end.
  if (Form_.InputReleased && t < LogoFrames - 1) {
    t = LogoFrames - 1;
    Form_.ClearReleased();
  }
  TMenuScreen* panel = Form_.MenuScreen;
  if (panel && t > 30 && t < 115) panel->SetAlpha(panel->Alpha() + 3);
  if (panel && t > 190 && t < 240) panel->SetAlpha(panel->Alpha() - 5);
  if (t == 241) {
    KillPanel();
    auto* logo = Form_.VexelImageList1.ImageList.Find("logo");
    const float x = logo ? static_cast<float>(400 - logo->ImageWidth / 2) : 0;
    const float y = logo ? static_cast<float>(300 - logo->ImageHeight / 2) : 0;
    panel = MakePanel("logo", "logo", x, y, 20, 0);
  }
  if (panel && t > 262 && t < 347) panel->SetAlpha(panel->Alpha() + 3);
  if (panel && t > 422 && t < 472) panel->SetAlpha(panel->Alpha() - 5);
  BeginFrame();
  Form_.VexelSprite1.Move(0);
  Form_.VexelSprite1.Draw();
  DrawCursor(false);
  EndFrame();
  if (t++ != LogoFrames - 1) return;
  // The big logo is shown once a run; the small one stays for the main menu's corner.
  if (auto* logo = Form_.VexelImageList1.ImageList.Find("logo")) logo->ReleaseTexture();
  Form_.VexelScreen1->SetRed(255);
  Form_.VexelScreen1->SetGreen(255);
  Form_.VexelScreen1->SetBlue(255);
  Form_.ChangeState(Form_.Profiles.ProfileCount > 0 ? 4 : 1);
}

void TMainMenuScreens::EnterMainMenu() {
  Form_.ClearReleased();
  NewWidgetList();
  AddButton("b_stgame", kColumn[0].Left, kColumn[0].Top, [this] { GoTo(14, true); });
  AddButton("b_opt", kColumn[1].Left, kColumn[1].Top, [this] { GoTo(7, false); });
  AddButton("b_presshere", kColumn[2].Left, kColumn[2].Top, [this] {
    Form_.PlaySound("check1", true);
    Form_.ChangeState(20);
  });
  AddButton("b_hiscr", kColumn[3].Left, kColumn[3].Top, [this] { GoTo(8, false); });
  AddButton("b_help", kColumn[4].Left, kColumn[4].Top, [this] { GoTo(6, false); });
  AddButton("b_visit", kColumn[5].Left, kColumn[5].Top, [this] {
    Form_.PlaySound("check1");
    OpenLink("moregames.url");
  });
  AddButton("b_exit", kColumn[6].Left, kColumn[6].Top, [this] { GoTo(10, false); });
  AddButton("b_logo", 4, 510, [this] {
    Form_.PlaySound("check1");
    OpenLink("website.url");
  });
  Form_.VexelFont1.SetFont("Arial Black", 10, {});
  Form_.VexelFont1.SetColor(0xFFFFFFFF);
  Form_.VexelFont2.SetFont("Arial Black", 8, {});
  Form_.VexelFont2.SetColor(0xFFFFFFFF);
  Form_.VexelFont3.SetFont("Arial Black", 23, {});
  Form_.VexelFont3.SetColor(vexel::ARGBColor(167, 9, 24, 255));
  Form_.Stars = MakeStars(Form_.Random);
  Form_.ScreenTick = 0;
  Form_.ButtonCount = kSlidingButtons;
}

void TMainMenuScreens::GoTo(uint8_t state, bool clearKeys) {
  if (clearKeys) Form_.ClearReleased();
  Form_.ChangeState(state, TStateChange::Replace, [this] { Form_.PlaySound("check1"); });
}

void TMainMenuScreens::OpenLink(const std::string& file) {
  if (Form_.Links) Form_.Links->OpenLinkFile(file);
}

void TMainMenuScreens::SlideButtons() {
  for (int32_t i = 0; i < kSlidingButtons; ++i) {
    vexel::TVexelButton* button = Form_.ScreenButtons[static_cast<size_t>(i)];
    if (!button) continue;
    const int32_t final = kColumn[i].FinalTop;
    button->Top = button->Top > final ? button->Top - 20 : final;
  }
}

void TMainMenuScreens::MainMenuFrame() {
  if (Form_.TakeReleased(platform::VK_ESCAPE)) {
    Form_.PlaySound("check2");
    GoTo(10, false);
    return;
  }
  MoveFocusByKeys();
  if (PressFocusByEnter()) return;
  SlideButtons();
  BeginFrame();
  DrawBackground();
  DrawStars(Form_.Stars, *Form_.VexelScreen1, Form_.Random);
  Form_.VexelSprite1.Move(0);
  Form_.VexelSprite1.Draw();
  if (auto* logo = Form_.VexelImageList1.ImageList.Find("logo_kvt")) {
    logo->DrawAlpha(638, 500, 0, 0, 0, 0.55f, 0.55f, false, 255, 255, 255, 255, 0, 0);
  }
  Form_.VexelGUI1.Draw();
  DrawLightsAgain();
  DrawInfoLine();
  DrawCursor();
  EndFrame();
}

}  // namespace game
