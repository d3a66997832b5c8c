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

TRaceScreens::TRaceScreens(TForm1& form, TRaceHud& hud) : TScreenGroup(form), Hud_(hud) {}

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
    RaceSound_.reset();
    Autopilot_.reset();
    ReplayDriver_.reset();
    Trial_.reset();
    for (vexel::TSprite* sprite : Form_.VexelSprite1.SpriteList()) {
      if (sprite->Name() != "cursor") sprite->Kill();
    }
    Form_.VexelSprite1.ClearDead();
    StartArrows_ = nullptr;
    GamePanel_ = nullptr;
    Form_.Scenery = TMenuScenery{};
    Form_.Race.reset();
    return;
  }
  if (GamePanel_) GamePanel_->Kill();
  GamePanel_ = nullptr;
  Form_.VexelSprite1.ClearDead();
  if (state == 0) FreeWidgets();
  if (state == 23 && Form_.Cursor) Form_.Cursor->Visible = false;
}

void TRaceScreens::Frame(uint8_t state) {
  if (state == 12) RaceFrame();
  if (state == 0) QuitFrame();
  if (state == 23) PauseFrame();
}

void TRaceScreens::SetRaceClock(bool running) {
  ClockRunning_ = running;
  if (!FrameClock()) Form_.RaceTimer.SetEnabled(running);
}

bool TRaceScreens::RaceOnBehindResults() {
  const bool racing = Form_.Race && !Form_.Race->AllFinished();
  if (racing != ClockRunning_) SetRaceClock(racing);
  if (!racing) return false;
  Form_.VexelSprite1.Move(0);
  TrackPathPoints(*Form_.Race);
  AdvanceUnpacedClock();
  return true;
}

void TRaceScreens::AdvanceUnpacedClock() {
  if (!ClockRunning_ || !FrameClock()) return;
  // 10 hundredths for every 9 frames: the clock of a game paced at 90 frames a second.
  ClockNinths_ += 10;
  while (ClockNinths_ >= 9) {
    ClockNinths_ -= 9;
    Form_.RaceTimerTimer();
  }
}

void TRaceScreens::ShowLoadingFrame() {
  BeginFrame();
  if (auto* loading = Form_.VexelImageList1.ImageList.Find("loading")) loading->Draw(0, 0, 0);
  EndFrame();
}

void TRaceScreens::LoadRacePictures() {
  ShowLoadingFrame();
  if (auto* loading = Form_.VexelImageList1.ImageList.Find("loading")) loading->ReleaseTexture();
  Form_.GameImageList.ImageList.LoadFromFile(Form_.Paths.DataFile("Data\\data2.oil"));
  Form_.GameImageList.Prepare();
  // Checked by preparing, the pause, quit and results panels are made again when first shown.
  Form_.GameImageList.ReleaseTextures(
      [](const std::string& name) { return name.starts_with("scr_"); });
  Form_.GameImagesPending = false;
}

void TRaceScreens::StartRace() {
  Form_.SwitchMusic("menumusic", "gamemusic");
  Form_.RemoveMenuScenery();
  Form_.ChangeState(12, TStateChange::Replace, [this] {
    ReleaseMenuPictures();
    if (Form_.GameImagesPending) LoadRacePictures();
  });
}

void TRaceScreens::ReleaseMenuPictures() {
  // A race draws the bitmap font and the cursor of the menu pictures and nothing else; the rest
  // is made again when a menu after the race draws it, so a race holds the race pictures.
  Form_.VexelImageList1.ReleaseTextures(
      [](const std::string& name) { return name != "font" && name != "mousecursor"; });
}

bool TRaceScreens::EnterRace() {
  Form_.ClearReleased();
  Form_.VexelFont1.SetFont("Arial Black", 8, {});
  Form_.VexelFont1.SetColor(vexel::ARGBColor(0, 0, 0, 255));
  Form_.Race = std::make_unique<TRaceWorld>(Form_.VexelSprite1, Form_.GameImageList,
                                            Form_.Catalogue, Form_.Random, Form_.KeyDown,
                                            Form_.KeyReleased, Form_.Paths.DataDir());
  Form_.Race->TimeTrial = Form_.TimeTrial;
  try {
    SetUpRace();
  } catch (const std::exception& error) {
    platform::ShowMessageBox("Error", error.what(), {"OK"});
    Form_.ChangeState(14, TStateChange::Replace, [this] {
      Form_.SwitchMusic("gamemusic", "menumusic");
      Form_.CreateMenuScenery();
    });
    return false;
  }
  Form_.Race->Camera.SetMode(Form_.GameOptions.Camera);
  ClockNinths_ = 0;
  Form_.ScreenTick = 0;
  StartArrows_ = Form_.VexelSprite1.Create<TBegArrows>(*Form_.Race, PlayerScreenX, PlayerScreenY);
  if (Form_.Options.Autopilot) Autopilot_ = std::make_unique<TAutopilot>(*Form_.Race);
  if (Form_.Sound3D) RaceSound_ = std::make_unique<TRaceSound>(*Form_.Sound3D);
  if (Form_.Cursor) Form_.Cursor->Visible = false;
  return true;
}

void TRaceScreens::SoundRace() {
  if (!RaceSound_ || !Form_.Race) return;
  // Observed even with the sound off, so that a bump is never heard frames late.
  const TRaceSoundState state = TRaceSound::Observe(*Form_.Race);
  if (Form_.SoundOn) RaceSound_->Update(state);
}

void TRaceScreens::SilenceRace() {
  if (RaceSound_) RaceSound_->Silence();
}

bool TRaceScreens::FrameClock() const {
  // A replay's clock counts its frames, so its times are the recorded frames' times; a time
  // trial's are its frames'.
  return Form_.Options.Unpaced || Form_.Playback || (Form_.Race && Form_.Race->TimeTrial);
}

void TRaceScreens::SetUpRace() {
  ReplayDriver_ = std::make_unique<TRaceReplayDriver>(Form_.Playback.get());
  ReplayDriver_->BeforeSetup(*Form_.Race, Form_.Random);
  SetupRace(*Form_.Race);
  ReplayDriver_->AfterSetup(*Form_.Race);
  if (Form_.Race->TimeTrial) StartTrial();
}

void TRaceScreens::StartTrial() {
  Trial_ = std::make_unique<TTimeTrialRun>(*Form_.Race);
  // A replay shows no ghost: what it plays is the run, not the profile's record.
  if (!ReplayDriver_->Playing()) LoadGhost();
}

std::string TRaceScreens::RecordFile() const {
  const TGameCatalogue& catalogue = Form_.Catalogue;
  return TGhostRun::PathFor(Form_.Paths.ConfigDir(), Form_.Profiles.CurrentProfile,
                            catalogue.SelectedTrack, catalogue.SelectedCar);
}

void TRaceScreens::LoadGhost() {
  const std::string path = RecordFile();
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return;
  try {
    TGhostRun record = TGhostRun::Load(path);
    if (record.TrackHash != ReplayDriver_->Recording().TrackHash) {
      throw TReplayError(path + ": the record was driven on another track file");
    }
    if (record.TrackSlot != Form_.Catalogue.SelectedTrack ||
        record.Car != Form_.Catalogue.SelectedCar) {
      throw TReplayError(path + ": the record is of another track or car");
    }
    Trial_->SetGhost(std::move(record));
  } catch (const TReplayError& problem) {
    std::fprintf(stderr, "Time trial without a ghost: %s\n", problem.what());
  }
}

void TRaceScreens::FinishTrial() {
  if (ReplayDriver_->Playing() || !Trial_->BeatsRecord()) return;
  const TRaceReplay& recording = ReplayDriver_->Recording();
  try {
    Trial_->AsRecord(recording.TrackFile, recording.TrackHash, std::time(nullptr))
        .Save(RecordFile());
  } catch (const TReplayError& problem) {
    std::fprintf(stderr, "%s\n", problem.what());
  }
}

bool TRaceScreens::EndReplayedRace() {
  Form_.LastReplay = ReplayDriver_->Playing()
                         ? nullptr
                         : std::make_unique<TRaceReplay>(ReplayDriver_->Recording());
  if (!Form_.Options.SaveReplayFile.empty() && !ReplayDriver_->Playing()) {
    try {
      ReplayDriver_->Recording().Save(Form_.Options.SaveReplayFile);
    } catch (const TReplayError& error) {
      std::fprintf(stderr, "%s\n", error.what());
    }
  }
  if (!ReplayDriver_->Playing() && Form_.Options.SaveReplayFile.empty()) return false;
  std::fputs(TRaceReplayDriver::ResultLines(*Form_.Race).c_str(), stdout);
  std::fflush(stdout);
  if (!ReplayDriver_->Playing()) return false;
  Form_.Application.Terminate();
  return true;
}

void TRaceScreens::DrawStartLights() {
  const int32_t t = Form_.ScreenTick;
  const auto light = [this](const char* key, int32_t x, int32_t y, int32_t alpha) {
    if (vexel::TImageListItem* item = Form_.GameImageList.ImageList.Find(key)) {
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
    vexel::TVexelFont& font = Form_.VexelFont1;
    font.TextOut(400 - font.TextWidth(kTrackReturnHint) / 2, kTrackReturnHintY, kTrackReturnHint,
                 255, 255, 255, 255);
  }
}

void TRaceScreens::DrawTrackReturnFade() {
  const int32_t alpha = Form_.Race ? Form_.Race->TrackReturn.FadeAlpha() : 0;
  if (alpha <= 0) return;
  // Any opaque picture tinted black makes the black quad; the grass tile is always there.
  vexel::TImageListItem* tile = Form_.GameImageList.ImageList.Find("grass");
  if (!tile) return;
  const uint32_t black = vexel::ARGBColor(0, 0, 0, alpha);
  tile->DrawQuad(0, 0, 800, 0, 800, 600, 0, 600, 0, 0, 0, 1, 1, black, black, black, black, false,
                 false, -1, 0);
}

void TRaceScreens::StartLights() {
  int32_t& t = Form_.ScreenTick;
  if (t == 50 || t == 150) Form_.PlaySound("svet1");
  if (t == GreenLightTick) Form_.PlaySound("svet2");
  DrawStartLights();
  if (t >= GreenLightTick && t < kArrowsGone && StartArrows_) {
    StartArrows_->SetAlpha(StartArrows_->Alpha() - 5);
  }
  if (t < GreenLightTick) Form_.Race->HoldOpponents();
  if (t == GreenLightTick) {
    Form_.Race->ReleaseStart();
    SetRaceClock(true);
  }
  if (t == kArrowsGone && StartArrows_) {
    StartArrows_->Kill();
    StartArrows_ = nullptr;
    Form_.VexelSprite1.ClearDead();
  }
  if (t >= 0 && t <= kArrowsGone) ++t;
}

void TRaceScreens::RaceFrame() {
  if (!Form_.Race) return;
  TRaceWorld& race = *Form_.Race;
  if (Autopilot_) Autopilot_->Drive();
  if (ReplayDriver_) ReplayDriver_->Frame(Form_.KeyDown, Form_.KeyReleased);
  Form_.VexelScreen1->Clear(0, 0, 0, 0);
  Form_.VexelSprite1.ClearDead();
  Form_.VexelScreen1->BeginScene();
  Form_.GameImageList.BeginBatch();
  Form_.VexelSprite1.Draw();
  Form_.VexelSprite1.Move(0);
  StartLights();
  if (Trial_ && !Trial_->Finished()) {
    Trial_->Observe();
    if (Trial_->Finished()) FinishTrial();
  }
  SoundRace();
  Hud_.DrawRaceHud();
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
  Form_.GameImageList.EndBatch();
  Form_.VexelScreen1->EndScene();
  if (finished) {
    if (!EndReplayedRace()) Form_.ChangeState(Trial_ ? kTrialResultsState : 16, TStateChange::Over);
    return;
  }
  AdvanceUnpacedClock();
  if (Form_.TakeReleased(platform::VK_ESCAPE)) {
    Form_.PlaySound("check1", true);
    Form_.ChangeState(0, TStateChange::Over);
    return;
  }
  const bool pause = Form_.TakeReleased(platform::VK_F1) | Form_.TakeReleased('P');
  if (pause) {
    Form_.PlaySound("check1", true);
    Form_.ChangeState(23, TStateChange::Over);
    return;
  }
  Form_.TakeReleased(platform::VK_RETURN);
}

void TRaceScreens::DrawStandingRace() {
  Form_.VexelScreen1->Clear(0, 0, 0, 0);
  Form_.VexelScreen1->BeginScene();
  Form_.GameImageList.BeginBatch();
  Form_.VexelSprite1.Draw();
  Form_.VexelGUI1.Draw();
  DrawCursor();
  Hud_.DrawRaceHud();
  Form_.GameImageList.EndBatch();
  Form_.VexelScreen1->EndScene();
}

void TRaceScreens::EnterQuit() {
  Form_.ClearReleased();
  SetRaceClock(false);
  NewWidgetList();
  AddButton(
      "b_no1", -382, 340, [this] { ResumeRace(); }, &Form_.GameImageList);
  AddButton(
      "b_yes1", -493, 340, [this] { QuitRace(); }, &Form_.GameImageList);
  Form_.ButtonCount = 2;
  GamePanel_ = Form_.VexelSprite1.Create<TGameMenuScreen>(
      Form_.GameImageList, true, 255, "menuexitgame", "scr_exitgame", 2000, 153.0f, -613.0f);
  if (Form_.Race) Form_.Race->WaitTicks = 0;
  if (Form_.Cursor) Form_.Cursor->Visible = true;
}

void TRaceScreens::ReturnToOverlayParent(const char* sound) {
  Form_.PlaySound(sound, true);
  Form_.ChangeState(12, TStateChange::Back);
  if (Form_.Race && Form_.Race->Player && Form_.Race->Player->ControlsEnabled) SetRaceClock(true);
  if (Form_.Cursor) Form_.Cursor->Visible = false;
}

void TRaceScreens::ResumeRace() {
  // Keys let go on the panel (P, F1, ...) belong to it, not to the race it returns to.
  Form_.ClearReleased();
  Form_.ChangeState(12, TStateChange::Back, [this] { Form_.PlaySound("check1"); });
  if (Form_.Race && Form_.Race->Player && Form_.Race->Player->ControlsEnabled) SetRaceClock(true);
  if (Form_.Cursor) Form_.Cursor->Visible = false;
}

void TRaceScreens::QuitRace() {
  if (Form_.Playback) {
    // Leaving a replay ends the run: the menus would show the replay's catalogue, not the
    // profile's.
    Form_.Application.Terminate();
    return;
  }
  Form_.SwitchMusic("gamemusic", "menumusic");
  Form_.ChangeState(4, TStateChange::ReplaceWithRace);
  Form_.CreateMenuScenery();
}

void TRaceScreens::QuitFrame() {
  Form_.TakeReleased(TTrackReturn::kKey);
  if (Form_.TakeReleased(platform::VK_ESCAPE)) {
    Form_.ClearReleased();
    Form_.PlaySound("check2");
    if (Form_.Race && Form_.Race->Player && Form_.Race->Player->ControlsEnabled) SetRaceClock(true);
    Form_.ChangeState(12, TStateChange::Back);
    if (Form_.Cursor) Form_.Cursor->Visible = false;
    return;
  }
  MoveFocusByKeys();
  if (Form_.TakeReleased(platform::VK_RETURN)) {
    if (!PressFocused()) QuitRace();
    return;
  }
  int32_t& slide = Form_.Race->WaitTicks;
  if (slide >= 0 && slide < kQuitSlideFrames) {
    for (size_t i = 0; i < 2; ++i) {
      if (auto* button = Form_.ScreenButtons[i]) button->Left = button->Left + 40;
    }
    if (GamePanel_) GamePanel_->SetX(GamePanel_->X() + 40);
    ++slide;
  }
  DrawStandingRace();
}

void TRaceScreens::EnterPause() {
  Form_.ClearReleased();
  SetRaceClock(false);
  GamePanel_ = Form_.VexelSprite1.Create<TGameMenuScreen>(Form_.GameImageList, true, 255, "pause",
                                                          "scr_pause", 2000, 153.0f, 187.0f);
  if (Form_.Cursor) Form_.Cursor->Visible = true;
}

void TRaceScreens::PauseFrame() {
  // Back to the track is a key of the running race, not of its panels.
  Form_.TakeReleased(TTrackReturn::kKey);
  const bool escape = Form_.TakeReleased(platform::VK_ESCAPE);
  const bool f1 = Form_.TakeReleased(platform::VK_F1);
  const bool p = Form_.TakeReleased('P');
  if (escape || f1 || p) {
    ReturnToOverlayParent("check2");
    return;
  }
  DrawStandingRace();
}

}  // namespace game
