#include "Unit_pr.h"

#include <chrono>
#include <cstdio>
#include <string_view>

#include "GameAudio.h"
#include "SettingsFile.h"
#include "engine/RecordingDevice.h"
#include "online/ScoreServerAddress.h"
#include "online/ScoreSubmission.h"
#include "platform/GlDevice.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/VirtualKeys.h"
#include "race/RaceReplay.h"
#include "screens/ClosingScreen.h"
#include "screens/HelpOptionsExit.h"
#include "screens/HighScoreScreens.h"
#include "screens/MainMenuScreens.h"
#include "screens/ProfileScreens.h"
#include "screens/RaceHud.h"
#include "screens/RaceOverScreen.h"
#include "screens/RaceScreens.h"
#include "screens/RecordsScreen.h"
#include "screens/TrackCarScreens.h"
#include "screens/TrialOverScreen.h"

namespace game {
namespace {

constexpr const char* kCaption = "Comet Lane Derby";
constexpr uint8_t kClosingState = 24;
/// The race, beneath its pause, quit and results panels.
constexpr uint8_t kRaceState = 12;
// Milliseconds between two frames of a game paced at 90 frames a second, rounded up; scripted
// runs give the widgets this clock so that their mouse throttle does not depend on speed.
constexpr uint32_t kScriptFrameMilliseconds = 12;
// How the settings files begin the reason of a failed save; the ticker gives only the reason.
constexpr std::string_view kNotSavedPrefix = "settings not saved: ";

std::unique_ptr<vexel::TDisplaySystem> MakeDisplaySystem(platform::TPlatformWindow* window,
                                                         bool recordedFramesKept) {
  if (window) return std::make_unique<platform::TGlSystem>(*window);
  auto recording = std::make_unique<vexel::TRecordingSystem>();
  recording->KeepsAllFrames = recordedFramesKept;
  return recording;
}

uint32_t ClockSeed() {
  return static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace

TForm1::TForm1(platform::TApplication& application, const TGameOptions& options)
    : Application(application),
      Options(options),
      Paths(options.DataDir, options.ConfigDir),
      FontSystem(Paths.DataFile("fonts\\fonts.conf")),
      RaceTimer(application, 10) {
  if (!options.RecordingDisplay) {
    Window = std::make_unique<platform::TPlatformWindow>(kCaption, 800, 600);
  }
  VexelScreen1 = std::make_unique<vexel::TVexelScreen>(
      MakeDisplaySystem(Window.get(), options.RecordedFramesKept));
  VexelScreen1->CenterX = 400;
  VexelScreen1->CenterY = 300;
  VexelScreen1->SetBpp(32);
  VexelScreen1->ShowMouseCursor = false;
  for (auto* list : {&VexelImageList1, &GameImageList, &ShareList}) {
    list->SetVexelScreen(VexelScreen1.get());
    list->OnTerminateRequest = [this] { Application.Terminate(); };
  }
  for (auto* font : {&VexelFont1, &VexelFont2, &VexelFont3, &VexelFont4}) {
    font->SetVexelScreen(VexelScreen1.get());
  }
  VexelBitmapFont1.LineSpace = 10;
  VexelBitmapFont1.PositionMode = vexel::TBitmapFontPositionMode::pmTopLeft;
  VexelBitmapFont1.SetImageList(&VexelImageList1);
  VexelBitmapFont1.SetVexelScreen(VexelScreen1.get());
  VexelGUI1.SetVexelScreen(VexelScreen1.get());
  VexelGUI1.VexelBitmapFont = &VexelBitmapFont1;
  VexelTimer1 = std::make_unique<vexel::TVexelTimer>(application, Clock);
  VexelTimer1->SetTargetFPS(options.Unpaced ? 0 : 90);
  VexelTimer1->SetMinFPS(10);
  VexelTimer1->SetMaxFPS(options.Unpaced ? 0 : 120);
  VexelTimer1->SetFPSWarningFrames(10);
  VexelTimer1->SetLossyMode(false);
  VexelTimer1->OnTimer = [this](vexel::TVexelTimer&) { VexelTimer1Timer(); };
  RaceTimer.OnTimer = [this] { RaceTimerTimer(); };
  Sound3D = std::make_unique<vexel::TVexelSound3D>();
  SetUpGameAudio(*Sound3D, Paths);
  Application.Title = kCaption;

  ScoreClient = std::make_unique<online::TScoreClient>(
      online::ResolveScoreServer(options.ScoreServer, Paths.ConfigDir()));

  Hud_ = std::make_unique<TRaceHud>(*this);
  auto race = std::make_unique<TRaceScreens>(*this, *Hud_);
  RaceScreens_ = race.get();
  Groups_.push_back(std::make_unique<TMainMenuScreens>(*this));
  Groups_.push_back(std::make_unique<THelpOptionsExit>(*this));
  Groups_.push_back(std::make_unique<TProfileScreens>(*this));
  Groups_.push_back(std::make_unique<TTrackCarScreens>(*this));
  Groups_.push_back(std::make_unique<THighScoreScreens>(*this));
  Groups_.push_back(std::make_unique<TRecordsScreen>(*this));
  Groups_.push_back(std::make_unique<TRaceOverScreen>(*this, *Hud_, *race));
  Groups_.push_back(std::make_unique<TTrialOverScreen>(*this, *race));
  Groups_.push_back(std::make_unique<TClosingScreen>(*this));
  Groups_.push_back(std::move(race));
}

TForm1::~TForm1() {
  RaceTimer.SetEnabled(false);
  VexelGUI1.Finalize();
  VexelGUI1.SetVexelScreen(nullptr);
  VexelBitmapFont1.SetVexelScreen(nullptr);
  for (auto* font : {&VexelFont1, &VexelFont2, &VexelFont3, &VexelFont4}) {
    font->SetVexelScreen(nullptr);
  }
  for (auto* list : {&VexelImageList1, &GameImageList, &ShareList}) list->SetVexelScreen(nullptr);
  if (Trace_) std::fclose(Trace_);
}

int TForm1::Run() {
  if (!Options.InputFile.empty()) {
    std::string error;
    if (!InputScript.Load(Options.InputFile, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 2;
    }
    if (InputScript.HasPadEvents()) {
      ScriptPad = std::make_unique<platform::TVirtualPad>(platform::kScriptPadName);
    }
  }
  if (!Options.TraceFile.empty()) {
    Trace_ = std::fopen(Options.TraceFile.c_str(), "w");
    if (!Trace_) {
      std::fprintf(stderr, "Cannot write the trace file '%s'\n", Options.TraceFile.c_str());
      return 2;
    }
  }
  if (!Options.ReplayFile.empty() && !LoadPlayback()) return 2;
  FormCreate();
  FormShow();
  if (Window) Window->Show();
  Application.Run([this] { PumpEvents(); });
  FormDestroy();
  return 0;
}

void TForm1::FormCreate() {
  Random.seed(Options.HasSeed ? Options.Seed : ClockSeed());
  FullScreen = AppliedFullScreen = false;
  MusicOn = SoundOn = true;
  ButtonCount = 0;
  OptionsText.clear();
  PlayerName.clear();
  HighScores.ResetHighScores();
  Score = 0;
  if (Window) Window->SetCaption(kCaption);
  GameImagesPending = true;
  KeyReleased.fill(false);
  VexelImageList1.ImageList.LoadFromFile(Paths.DataFile("Data\\data1.oil"));
  VexelGUI1.Initialize();
  TControlBindings bindings;
  bindings.LoadOrCreate(Paths.ConfigFile("controls.ini"));
  ControlKeys = TControlKeys(bindings);
  GameOptions.Load(Paths.ConfigFile(TOptionsIni::kFileName));
  VexelInput1.Joystick().SetEnabled(true);
  VexelScreen1->OnInit = [this](vexel::TVexelScreen&) { VexelInput1.Initialize(); };
  VexelScreen1->Width = 800;
  VexelScreen1->Height = 600;
  VexelScreen1->Initialize();
  VexelImageList1.Prepare();
  // Preparing made every texture, so a damaged picture is reported at start. Pictures of later
  // screens give theirs back and are made again when first drawn: the loading picture (shown
  // once, before the first race), the panels and the pictures of the track and car choices.
  VexelImageList1.ReleaseTextures([](const std::string& name) {
    return name == "loading" || name.starts_with("scr_") || name.starts_with("tr_") ||
           name.starts_with("c_");
  });
  EditFocused = false;
  Catalogue.InitTrackCatalogue();
  Catalogue.InitCarCatalogue();
  Score = 0;
  Catalogue.TargetScore = 300;
  Catalogue.UnlockStage = 0;
  VexelScreen1->SetFiltering(true);
  // The ticker measures its text in the info line's font when the logo ends, before any menu
  // has set that font.
  VexelFont2.SetFont("Arial Black", 8, {});
  Cursor = VexelSprite1.Create<TCursor>(VexelImageList1, [this](int32_t& x, int32_t& y) {
    x = MouseX;
    y = MouseY;
  });
  Catalogue.TracksAvailable = 3;
  Catalogue.CarsAvailable = 2;
  Profiles.ResetAll();
  ReadSettings();
  TakeUpProfile(Profiles.CurrentProfile);
  ScreenTick = 0;
  Sound3D->CreateAudioPaths();
  GameImagesPending = true;
  PlayerName = Profiles.Current().Name;
  Links = std::make_unique<online::TGoToLink>(Paths.DataDir(), platform::OpenWithDesktop);
  ShareScreen = std::make_unique<online::TShareScreen>(ShareList, VexelFont4, *Links);
  ShareScreen->OnCloseRequest = [this] { Close(); };
  ShareScreen->Load(Paths.DataDir());
}

void TForm1::ReadSettings() {
  std::string warning;
  const std::string config = Paths.ConfigFile("Config.cfg");
  const bool read = TSettingsFile::ReadConfig(config, Settings, warning);
  if (!warning.empty()) std::fprintf(stderr, "%s\n", warning.c_str());
  if (read && FullScreen) {
    AppliedFullScreen = true;
    ApplyDisplayMode(true);
  }
  std::array<TRaceTime, TrackSlotCount> best{};
  for (size_t i = 0; i < best.size(); ++i) best[i] = Catalogue.TrackInfo[i].BestTime;
  warning.clear();
  if (TSettingsFile::ReadBestTimes(Paths.ConfigFile("Configdat.cfg"), best, warning)) {
    for (size_t i = 0; i < best.size(); ++i) Catalogue.TrackInfo[i].BestTime = best[i];
  }
  if (!warning.empty()) std::fprintf(stderr, "%s\n", warning.c_str());
}

void TForm1::FormShow() {
  VexelTimer1->SetEnabled(true);
  StartMusic("menumusic");
  if (!MusicOn) StopMusic("menumusic");
  if (Playback) {
    RaceScreens_->StartRace();
  } else {
    ChangeState(3, TStateChange::Over);
  }
}

bool TForm1::LoadPlayback() {
  try {
    Playback = std::make_unique<TRaceReplay>(TRaceReplay::Load(Options.ReplayFile));
    TGameCatalogue catalogue;
    catalogue.InitTrackCatalogue();
    Playback->CheckTrack(catalogue, Paths.DataDir());
    return true;
  } catch (const TReplayError& error) {
    std::fprintf(stderr, "The replay cannot be played: %s\n", error.what());
    return false;
  }
}

void TForm1::VexelTimer1Timer() {
  for (const auto& event : InputScript.EventsAt(FrameCount)) DispatchEvent(event);
  PollControllers();
  if (MusicOn) VexelMusic1.Update();
  RunStateFrame(GameState);
  FinishFrame();
}

void TForm1::FinishFrame() {
  ++FrameCount;
  if (Options.Frames < 0 || FrameCount < Options.Frames) return;
  if (!Options.ScreenshotFile.empty() && !VexelScreen1->SavePng(Options.ScreenshotFile)) {
    std::fprintf(stderr, "Cannot save the screenshot '%s'\n", Options.ScreenshotFile.c_str());
  }
  Application.Terminate();
}

void TForm1::TraceState() {
  if (!Trace_ || TracedState_ == GameState) return;
  TracedState_ = GameState;
  std::fprintf(Trace_, "%ld %d\n", FrameCount, GameState);
  std::fflush(Trace_);
}

void TForm1::RaceTimerTimer() {
  if (Race) Race->RaceClockStep();
}

void TForm1::FormKeyDown(int32_t key) {
  if (key >= 0 && key < 256) KeyDown[static_cast<size_t>(key)] = true;
}

void TForm1::FormKeyUp(int32_t key) {
  if (key < 0 || key >= 256) return;
  KeyReleased[static_cast<size_t>(key)] = true;
  KeyDown[static_cast<size_t>(key)] = false;
}

bool TForm1::TakeReleased(int32_t key) {
  if (key < 0 || key >= 256 || !KeyReleased[static_cast<size_t>(key)]) return false;
  KeyReleased[static_cast<size_t>(key)] = false;
  return true;
}

void TForm1::FormMouseDown(platform::TPlatformEvent::TButton button, int32_t x, int32_t y) {
  if (GameState != kClosingState || button != platform::TPlatformEvent::TButton::Left) return;
  if (ShareScreen) ShareScreen->MouseDown(x, y);
}

bool TForm1::FormCloseQuery() {
  return GameState == kClosingState && (!ShareScreen || ShareScreen->CloseAllowed());
}

void TForm1::Close() {
  if (FormCloseQuery()) Application.Terminate();
}

void TForm1::Quit() {
  if (Application.Terminated()) return;
  // The closing screen comes after the exit confirmation, which has saved everything.
  if (GameState != kClosingState) {
    if (TScreenGroup* group = GroupOf(GameState)) group->Abandon(GameState);
    SaveConfig();
    SaveBestTimes();
  }
  Application.Terminate();
}

void TForm1::FormDestroy() {
  RaceTimer.SetEnabled(false);
  if (Sound3D) {
    for (const char* name : {"losemusic", "gamemusic", "menumusic"}) {
      if (auto* music = Sound3D->ModList.Find(name)) music->Unload();
    }
    Sound3D->SetDestroying();
    Sound3D.reset();
  }
  if (Links && FormCloseQuery()) Links->OpenPlayLink();
}

void TForm1::PumpEvents() {
  if (QuitSignals_.Requested()) Quit();
  if (!Window) return;
  platform::TPlatformEvent event;
  while (Window->PollEvent(event)) DispatchEvent(event);
}

uint32_t TForm1::GuiMilliseconds() const {
  if (!Options.InputFile.empty())
    return static_cast<uint32_t>(FrameCount) * kScriptFrameMilliseconds;
  return static_cast<uint32_t>(platform::Milliseconds());
}

void TForm1::DispatchEvent(const platform::TPlatformEvent& event) {
  using T = platform::TPlatformEvent::TType;
  if (event.Type == T::MouseMove || event.Type == T::MouseDown || event.Type == T::MouseUp) {
    MouseX = event.X;
    MouseY = event.Y;
  }
  VexelGUI1.HandleEvent(event, GuiMilliseconds());
  switch (event.Type) {
    case T::KeyDown:
      SyncControlMode();
      ApplyKeys(ControlKeys.KeyDown(event.Key));
      break;
    case T::KeyUp:
      InputReleased = true;
      SyncControlMode();
      ApplyKeys(ControlKeys.KeyUp(event.Key));
      break;
    case T::MouseDown:
      FormMouseDown(event.Button, event.X, event.Y);
      break;
    case T::Close:
      Quit();
      break;
    case T::MouseUp:
      InputReleased = true;
      break;
    case T::MouseMove:
    case T::Char:
    case T::None:
      break;
  }
}

void TForm1::ApplyKeys(const std::vector<TKeyTransition>& changes) {
  for (const TKeyTransition& change : changes) {
    if (change.Key < 0 || change.Key >= 256) continue;
    switch (change.Kind) {
      case TKeyTransition::TKind::Down:
        FormKeyDown(change.Key);
        break;
      case TKeyTransition::TKind::Up:
        FormKeyUp(change.Key);
        break;
      case TKeyTransition::TKind::Cancel:
        KeyDown[static_cast<size_t>(change.Key)] = false;
        break;
    }
  }
}

void TForm1::SyncControlMode() {
  const bool race = GameState == 12 || GameState == 23;
  ApplyKeys(ControlKeys.SetMode(race ? TControlMode::Race : TControlMode::Menu));
}

void TForm1::PollControllers() {
  if (ScriptPad) {
    for (const auto& event : InputScript.PadEventsAt(FrameCount)) ScriptPad->Apply(event);
  }
  SyncControlMode();
  VexelInput1.Update();
  bool held = false;
  for (const platform::TPadState& pad : VexelInput1.States()) {
    for (bool button : pad.Buttons) held = held || button;
  }
  if (PadButtonHeld_ && !held) InputReleased = true;
  PadButtonHeld_ = held;
  ApplyKeys(ControlKeys.PadFrame(VexelInput1.States()));
}

TScreenGroup* TForm1::GroupOf(uint8_t state) const {
  for (const auto& group : Groups_) {
    if (group->Owns(state)) return group.get();
  }
  return nullptr;
}

void TForm1::ChangeState(uint8_t to, TStateChange how, const std::function<void()>& afterLeaving) {
  if (how != TStateChange::Over) LeaveState(GameState);
  if (how == TStateChange::ReplaceWithRace) LeaveState(kRaceState);
  if (afterLeaving) afterLeaving();
  GameState = to;
  TraceState();
  if (how != TStateChange::Back) EnterState(to);
}

void TForm1::EnterState(uint8_t state) {
  if (TScreenGroup* group = GroupOf(state)) group->Enter(state);
}

void TForm1::LeaveState(uint8_t state) {
  if (TScreenGroup* group = GroupOf(state)) group->Leave(state);
}

void TForm1::RunStateFrame(uint8_t state) {
  if (TScreenGroup* group = GroupOf(state)) group->Frame(state);
}

void TForm1::PlaySound(const std::string& name, bool always) {
  if (!Sound3D || (!SoundOn && !always)) return;
  if (auto* sound = Sound3D->SoundList.Find(name)) sound->Play();
}

void TForm1::StartMusic(const std::string& name) {
  if (!Sound3D) return;
  if (auto* music = Sound3D->ModList.Find(name)) music->Play();
}

void TForm1::StopMusic(const std::string& name) {
  if (!Sound3D) return;
  if (auto* music = Sound3D->ModList.Find(name)) music->Stop();
}

void TForm1::SwitchMusic(const std::string& from, const std::string& to) {
  if (!MusicOn) return;
  StopMusic(from);
  StartMusic(to);
}

void TForm1::ApplyDisplayMode(bool fullScreen) {
  if (Window) Window->SetFullScreen(fullScreen);
  AppliedFullScreen = fullScreen;
}

void TForm1::SaveConfig() {
  std::string error;
  NoteSave(TSettingsFile::SaveConfig(Paths.ConfigFile("Config.cfg"), Settings, error), error);
  std::string optionsError;
  if (!GameOptions.SaveIfMissing(Paths.ConfigFile(TOptionsIni::kFileName), optionsError)) {
    std::fprintf(stderr, "%s\n", optionsError.c_str());
  }
}

void TForm1::NoteSave(bool saved, const std::string& error) {
  std::string problem;
  if (!saved) {
    std::fprintf(stderr, "%s\n", error.c_str());
    problem = error.starts_with(kNotSavedPrefix) ? error.substr(kNotSavedPrefix.size()) : error;
  }
  if (problem == SaveProblem) return;
  SaveProblem = problem;
  RebuildInfoText();
}

void TForm1::SaveBestTimes() {
  std::array<TRaceTime, TrackSlotCount> best{};
  for (size_t i = 0; i < best.size(); ++i) best[i] = Catalogue.TrackInfo[i].BestTime;
  std::string error;
  NoteSave(TSettingsFile::SaveBestTimes(Paths.ConfigFile("Configdat.cfg"), best, error), error);
}

void TForm1::TakeUpProfile(int32_t index) {
  Profiles.CurrentProfile = index;
  const TPlayerProfile& profile = Profiles.Current();
  PlayerName = profile.Name;
  Catalogue.TracksAvailable = profile.TracksAvailable;
  Catalogue.CarsAvailable = profile.CarsAvailable;
  Catalogue.TargetScore = profile.TargetScore;
  Score = profile.Score;
  Catalogue.UnlockStage = profile.UnlockStage;
  Catalogue.ApplyAvailability();
}

void TForm1::StoreProfileProgress() {
  Profiles.StoreProgress(Catalogue.CarsAvailable, Catalogue.TracksAvailable, Score,
                         Catalogue.TargetScore, Catalogue.UnlockStage);
}

TTickerValues TForm1::TickerValues() const {
  return {PlayerName,
          Score,
          Catalogue.TargetScore,
          Catalogue.UnlockStage,
          Catalogue.CarsAvailable,
          Catalogue.TracksAvailable,
          SaveProblem};
}

void TForm1::RebuildInfoText() {
  if (Scenery.Ticker) Scenery.Ticker->Rebuild(TickerValues());
}

void TForm1::CreateMenuScenery() {
  Scenery = game::CreateMenuScenery(
      VexelSprite1, VexelImageList1, Random, TickerValues(),
      [this](const std::string& text) { return VexelFont2.TextWidth(text); });
}

void TForm1::RemoveMenuScenery() {
  game::RemoveMenuScenery(VexelSprite1, Scenery);
}

void TForm1::StartRace() {
  RaceScreens_->StartRace();
}

void TForm1::SubmitScore() {
  switch (ScoreClient->SubmitScore(PlayerName, Score, OptionsText)) {
    case online::TSubmitResult::kSent:
      return;
    case online::TSubmitResult::kNoConnection:
      platform::ShowMessageBox("Error", std::string(online::kCantConnectMessage), {"OK"});
      return;
    case online::TSubmitResult::kNotAccepted:
      platform::ShowMessageBox("Error", std::string(online::kNotAcceptedMessage), {"OK"});
      return;
  }
}

void TForm1::OpenScorePage() {
  platform::OpenWithDesktop(ScoreClient->ScorePageAddress());
}

}  // namespace game
