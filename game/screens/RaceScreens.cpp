#include "RaceScreens.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

#include "TrialOverScreen.h"
#include "game/RaceSetup.h"
#include "game/Unit_pr.h"
#include "game/race/Autopilot.h"
#include "game/race/BegArrows.h"
#include "game/race/GhostRun.h"
#include "game/race/Player.h"
#include "game/race/RaceReplayDriver.h"
#include "game/race/RaceSound.h"
#include "game/race/TimeTrialRun.h"
#include "game/race/TrackFileError.h"
#include "platform/MessageBox.h"
#include "platform/VirtualKeys.h"

namespace game {
namespace {

constexpr int32_t kArrowsGone = 300;
constexpr int32_t kFinishDelay = 150;
constexpr int32_t kQuitSlideFrames = 20;
/// The hint the start lights show, and its line on the screen (under the lights).
constexpr const char* kTrackReturnHint = "R: back to the track";
constexpr int32_t kTrackReturnHintY = 150;

}  // namespace

TRaceScreens::TRaceScreens(TForm1& form, TRaceHud& hud) : TScreenGroup(form), Hud(hud) {}

TRaceScreens::~TRaceScreens() = default;

void TRaceScreens::Enter(uint8_t state) {
  if (state == 12) EnterRace();
  if (state == 0 || state == 23) SilenceRace();
  if (state == 0) EnterQuit();
  if (state == 23) EnterPause();
}

void TRaceScreens::Leave(uint8_t state) {
  if (state == 12) {
    SetRaceClock(false);
    SilenceRace();
    RaceSound.reset();
    Autopilot.reset();
    ReplayDriver.reset();
    Trial_.reset();
    for (vexel::TSprite* sprite : Form.VexelSprite1.SpriteList()) {
      if (sprite->Name() != "cursor") sprite->Kill();
    }
    Form.VexelSprite1.ClearDead();
    StartArrows = nullptr;
    GamePanel = nullptr;
    Form.Scenery = TMenuScenery{};
    Form.Race.reset();
    return;
  }
  if (GamePanel) GamePanel->Kill();
  GamePanel = nullptr;
  Form.VexelSprite1.ClearDead();
  if (state == 0) FreeWidgets();
  if (state == 23 && Form.Cursor) Form.Cursor->Visible = false;
}

void TRaceScreens::Frame(uint8_t state) {
  if (state == 12) RaceFrame();
  if (state == 0) QuitFrame();
  if (state == 23) PauseFrame();
}

void TRaceScreens::SetRaceClock(bool running) {
  ClockRunning = running;
  if (!FrameClock()) Form.RaceTimer.SetEnabled(running);
}

bool TRaceScreens::RaceOnBehindResults() {
  const bool racing = Form.Race && !Form.Race->AllFinished();
  if (racing != ClockRunning) SetRaceClock(racing);
  if (!racing) return false;
  Form.VexelSprite1.Move(0);
  TrackPathPoints(*Form.Race);
  AdvanceUnpacedClock();
  return true;
}

void TRaceScreens::AdvanceUnpacedClock() {
  if (!ClockRunning || !FrameClock()) return;
  // 10 hundredths for every 9 frames: the clock of a game paced at 90 frames a second.
  ClockNinths += 10;
  while (ClockNinths >= 9) {
    ClockNinths -= 9;
    Form.RaceTimerTimer();
  }
}

void TRaceScreens::ShowLoadingFrame() {
  BeginFrame();
  if (auto* loading = Form.VexelImageList1.ImageList.Find("loading")) loading->Draw(0, 0, 0);
  EndFrame();
}

void TRaceScreens::LoadRacePictures() {
  ShowLoadingFrame();
  if (auto* loading = Form.VexelImageList1.ImageList.Find("loading")) loading->ReleaseTexture();
  Form.GameImageList.ImageList.LoadFromFile(Form.Paths.DataFile("Data\\data2.oil"));
  Form.GameImageList.Prepare();
  // Checked by preparing, the pause, quit and results panels are made again when first shown.
  Form.GameImageList.ReleaseTextures(
      [](const std::string& name) { return name.starts_with("scr_"); });
  Form.GameImagesPending = false;
}

void TRaceScreens::StartRace() {
  Form.SwitchMusic("menumusic", "gamemusic");
  Form.RemoveMenuScenery();
  Form.ChangeState(12, TStateChange::Replace, [this] {
    ReleaseMenuPictures();
    if (Form.GameImagesPending) LoadRacePictures();
  });
}

void TRaceScreens::ReleaseMenuPictures() {
  // A race draws the bitmap font and the cursor of the menu pictures and nothing else; the rest
  // is made again when a menu after the race draws it, so a race holds the race pictures.
  Form.VexelImageList1.ReleaseTextures(
      [](const std::string& name) { return name != "font" && name != "mousecursor"; });
}

bool TRaceScreens::EnterRace() {
  Form.ClearReleased();
  Form.VexelFont1.SetFont("Arial Black", 8, {});
  Form.VexelFont1.SetColor(vexel::ARGBColor(0, 0, 0, 255));
  Form.Race = std::make_unique<TRaceWorld>(Form.VexelSprite1, Form.GameImageList, Form.Catalogue,
                                           Form.Random, Form.KeyDown, Form.KeyReleased,
                                           Form.Paths.DataDir());
  Form.Race->TimeTrial = Form.TimeTrial;
  try {
    SetUpRace();
  } catch (const std::exception& error) {
    platform::ShowMessageBox("Error", error.what(), {"OK"});
    Form.ChangeState(14, TStateChange::Replace, [this] {
      Form.SwitchMusic("gamemusic", "menumusic");
      Form.CreateMenuScenery();
    });
    return false;
  }
  Form.Race->Camera.SetMode(Form.GameOptions.Camera);
  ClockNinths = 0;
  Form.ScreenTick = 0;
  StartArrows = Form.VexelSprite1.Create<TBegArrows>(*Form.Race, PlayerScreenX, PlayerScreenY);
  if (Form.Options.Autopilot) Autopilot = std::make_unique<TAutopilot>(*Form.Race);
  if (Form.Sound3D) RaceSound = std::make_unique<TRaceSound>(*Form.Sound3D);
  if (Form.Cursor) Form.Cursor->Visible = false;
  return true;
}

void TRaceScreens::SoundRace() {
  if (!RaceSound || !Form.Race) return;
  // Observed even with the sound off, so that a bump is never heard frames late.
  const TRaceSoundState state = TRaceSound::Observe(*Form.Race);
  if (Form.SoundOn) RaceSound->Update(state);
}

void TRaceScreens::SilenceRace() {
  if (RaceSound) RaceSound->Silence();
}

bool TRaceScreens::FrameClock() const {
  // A replay's clock counts its frames, so its times are the recorded frames' times; a time
  // trial's are its frames'.
  return Form.Options.Unpaced || Form.Playback || (Form.Race && Form.Race->TimeTrial);
}

void TRaceScreens::SetUpRace() {
  ReplayDriver = std::make_unique<TRaceReplayDriver>(Form.Playback.get());
  ReplayDriver->BeforeSetup(*Form.Race, Form.Random);
  SetupRace(*Form.Race);
  ReplayDriver->AfterSetup(*Form.Race);
  if (Form.Race->TimeTrial) StartTrial();
}

void TRaceScreens::StartTrial() {
  Trial_ = std::make_unique<TTimeTrialRun>(*Form.Race);
  // A replay shows no ghost: what it plays is the run, not the profile's record.
  if (!ReplayDriver->Playing()) LoadGhost();
}

std::string TRaceScreens::RecordFile() const {
  const TGameCatalogue& catalogue = Form.Catalogue;
  return TGhostRun::PathFor(Form.Paths.ConfigDir(), Form.Profiles.CurrentProfile,
                            catalogue.SelectedTrack, catalogue.SelectedCar);
}

void TRaceScreens::LoadGhost() {
  const std::string path = RecordFile();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return;
  try {
    TGhostRun record = TGhostRun::Load(path);
    if (record.TrackHash != ReplayDriver->Recording().TrackHash) {
      throw TReplayError(path + ": the record was driven on another track file");
    }
    if (record.TrackSlot != Form.Catalogue.SelectedTrack ||
        record.Car != Form.Catalogue.SelectedCar) {
      throw TReplayError(path + ": the record is of another track or car");
    }
    Trial_->SetGhost(std::move(record));
  } catch (const TReplayError& problem) {
    std::fprintf(stderr, "Time trial without a ghost: %s\n", problem.what());
  }
}

void TRaceScreens::FinishTrial() {
  if (ReplayDriver->Playing() || !Trial_->BeatsRecord()) return;
  const TRaceReplay& recording = ReplayDriver->Recording();
  try {
    Trial_->AsRecord(recording.TrackFile, recording.TrackHash, std::time(nullptr))
        .Save(RecordFile());
  } catch (const TReplayError& problem) {
    std::fprintf(stderr, "%s\n", problem.what());
  }
}

bool TRaceScreens::EndReplayedRace() {
  Form.LastReplay =
      ReplayDriver->Playing() ? nullptr : std::make_unique<TRaceReplay>(ReplayDriver->Recording());
  if (!Form.Options.SaveReplayFile.empty() && !ReplayDriver->Playing()) {
    try {
      ReplayDriver->Recording().Save(Form.Options.SaveReplayFile);
    } catch (const TReplayError& error) {
      std::fprintf(stderr, "%s\n", error.what());
    }
  }
  if (!ReplayDriver->Playing() && Form.Options.SaveReplayFile.empty()) return false;
  std::fputs(TRaceReplayDriver::ResultLines(*Form.Race).c_str(), stdout);
  std::fflush(stdout);
  if (!ReplayDriver->Playing()) return false;
  Form.Application.Terminate();
  return true;
}

void TRaceScreens::DrawStartLights() {
  const int32_t t = Form.ScreenTick;
  const auto light = [this](const char* key, int32_t x, int32_t y, int32_t alpha) {
    if (vexel::TImageListItem* item = Form.GameImageList.ImageList.Find(key)) {
      item->DrawAlpha(x, y, 0, 0, 0, 1, 1, false, 255, 255, 255, alpha, 1, 0);
    }
  };
  if (t > 0 && t < GreenLightTick) light("svetophor", 300, 50, 255);
  if (t > 50 && t < GreenLightTick) light("redlight", 280, 28, 255);
  if (t > 150 && t < GreenLightTick) light("yellowlight", 345, 28, 255);
  if (t >= GreenLightTick && t < kArrowsGone) {
    const int32_t alpha = 1505 - 5 * t;
    light("svetophor", 300, 50, alpha);
    light("redlight", 280, 28, alpha);
    light("yellowlight", 345, 28, alpha);
    light("greenlight", 410, 28, alpha);
  }
  if (t > 0 && t < GreenLightTick) {
    vexel::TVexelFont& font = Form.VexelFont1;
    font.TextOut(400 - font.TextWidth(kTrackReturnHint) / 2, kTrackReturnHintY, kTrackReturnHint,
                 255, 255, 255, 255);
  }
}

void TRaceScreens::DrawTrackReturnFade() {
  const int32_t alpha = Form.Race ? Form.Race->TrackReturn.FadeAlpha() : 0;
  if (alpha <= 0) return;
  // Any opaque picture tinted black makes the black quad; the grass tile is always there.
  vexel::TImageListItem* tile = Form.GameImageList.ImageList.Find("grass");
  if (!tile) return;
  const uint32_t black = vexel::ARGBColor(0, 0, 0, alpha);
  tile->DrawQuad(0, 0, 800, 0, 800, 600, 0, 600, 0, 0, 0, 1, 1, black, black, black, black, false,
                 false, -1, 0);
}

void TRaceScreens::StartLights() {
  int32_t& t = Form.ScreenTick;
  if (t == 50 || t == 150) Form.PlaySound("svet1");
  if (t == GreenLightTick) Form.PlaySound("svet2");
  DrawStartLights();
  if (t >= GreenLightTick && t < kArrowsGone && StartArrows) {
    StartArrows->SetAlpha(StartArrows->Alpha() - 5);
  }
  if (t < GreenLightTick) Form.Race->HoldOpponents();
  if (t == GreenLightTick) {
    Form.Race->ReleaseStart();
    SetRaceClock(true);
  }
  if (t == kArrowsGone && StartArrows) {
    StartArrows->Kill();
    StartArrows = nullptr;
    Form.VexelSprite1.ClearDead();
  }
  if (t >= 0 && t <= kArrowsGone) ++t;
}

void TRaceScreens::RaceFrame() {
  if (!Form.Race) return;
  TRaceWorld& race = *Form.Race;
  if (Autopilot) Autopilot->Drive();
  if (ReplayDriver) ReplayDriver->Frame(Form.KeyDown, Form.KeyReleased);
  Form.VexelScreen1->Clear(0, 0, 0, 0);
  Form.VexelSprite1.ClearDead();
  Form.VexelScreen1->BeginScene();
  Form.GameImageList.BeginBatch();
  Form.VexelSprite1.Draw();
  Form.VexelSprite1.Move(0);
  StartLights();
  if (Trial_ && !Trial_->Finished()) {
    Trial_->Observe();
    if (Trial_->Finished()) FinishTrial();
  }
  SoundRace();
  Hud.DrawRaceHud();
  DrawTrackReturnFade();
  TrackPathPoints(race);
  bool finished = false;
  if (race.PlayerFinished) {
    if (race.WaitTicks == kFinishDelay) {
      SetRaceClock(false);
      finished = true;
    } else {
      ++race.WaitTicks;
    }
  }
  if (race.AllFinished()) SetRaceClock(false);
  Form.GameImageList.EndBatch();
  Form.VexelScreen1->EndScene();
  if (finished) {
    if (!EndReplayedRace()) Form.ChangeState(Trial_ ? kTrialResultsState : 16, TStateChange::Over);
    return;
  }
  AdvanceUnpacedClock();
  if (Form.TakeReleased(platform::VK_ESCAPE)) {
    Form.PlaySound("check1", true);
    Form.ChangeState(0, TStateChange::Over);
    return;
  }
  const bool pause = Form.TakeReleased(platform::VK_F1) | Form.TakeReleased('P');
  if (pause) {
    Form.PlaySound("check1", true);
    Form.ChangeState(23, TStateChange::Over);
    return;
  }
  Form.TakeReleased(platform::VK_RETURN);
}

void TRaceScreens::DrawStandingRace() {
  Form.VexelScreen1->Clear(0, 0, 0, 0);
  Form.VexelScreen1->BeginScene();
  Form.GameImageList.BeginBatch();
  Form.VexelSprite1.Draw();
  Form.VexelGUI1.Draw();
  DrawCursor();
  Hud.DrawRaceHud();
  Form.GameImageList.EndBatch();
  Form.VexelScreen1->EndScene();
}

void TRaceScreens::EnterQuit() {
  Form.ClearReleased();
  SetRaceClock(false);
  NewWidgetList();
  AddButton(
      "b_no1", -382, 340, [this] { ResumeRace(); }, &Form.GameImageList);
  AddButton(
      "b_yes1", -493, 340, [this] { QuitRace(); }, &Form.GameImageList);
  Form.ButtonCount = 2;
  GamePanel = Form.VexelSprite1.Create<TGameMenuScreen>(
      Form.GameImageList, true, 255, "menuexitgame", "scr_exitgame", 2000, 153.0f, -613.0f);
  if (Form.Race) Form.Race->WaitTicks = 0;
  if (Form.Cursor) Form.Cursor->Visible = true;
}

void TRaceScreens::ReturnToOverlayParent(const char* sound) {
  Form.PlaySound(sound, true);
  Form.ChangeState(12, TStateChange::Back);
  if (Form.Race && Form.Race->Player && Form.Race->Player->ControlsEnabled) SetRaceClock(true);
  if (Form.Cursor) Form.Cursor->Visible = false;
}

void TRaceScreens::ResumeRace() {
  // Keys let go on the panel (P, F1, ...) belong to it, not to the race it returns to.
  Form.ClearReleased();
  Form.ChangeState(12, TStateChange::Back, [this] { Form.PlaySound("check1"); });
  if (Form.Race && Form.Race->Player && Form.Race->Player->ControlsEnabled) SetRaceClock(true);
  if (Form.Cursor) Form.Cursor->Visible = false;
}

void TRaceScreens::QuitRace() {
  if (Form.Playback) {
    // Leaving a replay ends the run: the menus would show the replay's catalogue, not the
    // profile's.
    Form.Application.Terminate();
    return;
  }
  Form.SwitchMusic("gamemusic", "menumusic");
  Form.ChangeState(4, TStateChange::ReplaceWithRace);
  Form.CreateMenuScenery();
}

void TRaceScreens::QuitFrame() {
  Form.TakeReleased(TTrackReturn::kKey);
  if (Form.TakeReleased(platform::VK_ESCAPE)) {
    Form.ClearReleased();
    Form.PlaySound("check2");
    if (Form.Race && Form.Race->Player && Form.Race->Player->ControlsEnabled) SetRaceClock(true);
    Form.ChangeState(12, TStateChange::Back);
    if (Form.Cursor) Form.Cursor->Visible = false;
    return;
  }
  MoveFocusByKeys();
  if (Form.TakeReleased(platform::VK_RETURN)) {
    if (!PressFocused()) QuitRace();
    return;
  }
  int32_t& slide = Form.Race->WaitTicks;
  if (slide >= 0 && slide < kQuitSlideFrames) {
    for (size_t i = 0; i < 2; ++i) {
      if (auto* button = Form.ScreenButtons[i]) button->Left = button->Left + 40;
    }
    if (GamePanel) GamePanel->SetX(GamePanel->X() + 40);
    ++slide;
  }
  DrawStandingRace();
}

void TRaceScreens::EnterPause() {
  Form.ClearReleased();
  SetRaceClock(false);
  GamePanel = Form.VexelSprite1.Create<TGameMenuScreen>(Form.GameImageList, true, 255, "pause",
                                                        "scr_pause", 2000, 153.0f, 187.0f);
  if (Form.Cursor) Form.Cursor->Visible = true;
}

void TRaceScreens::PauseFrame() {
  // Back to the track is a key of the running race, not of its panels.
  Form.TakeReleased(TTrackReturn::kKey);
  const bool escape = Form.TakeReleased(platform::VK_ESCAPE);
  const bool f1 = Form.TakeReleased(platform::VK_F1);
  const bool p = Form.TakeReleased('P');
  if (escape || f1 || p) {
    ReturnToOverlayParent("check2");
    return;
  }
  DrawStandingRace();
}

}  // namespace game
