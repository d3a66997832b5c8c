#include "Unit_pr.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "GameAudio.h"
#include "engine/RecordingDevice.h"
#include "platform/GlDevice.h"
#include "platform/MessageBox.h"
#include "platform/VirtualKeys.h"

namespace game {
namespace {

constexpr const char* kCaption = "Comet Lane Derby";
constexpr uint8_t kClosingState = 24;

std::unique_ptr<vexel::TDisplaySystem> MakeDisplaySystem(platform::TPlatformWindow* window) {
  if (!window) return std::make_unique<vexel::TRecordingSystem>();
  return std::make_unique<platform::TGlSystem>(*window);
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
  VexelScreen1 = std::make_unique<vexel::TVexelScreen>(MakeDisplaySystem(Window.get()));
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
}

TForm1::~TForm1() {
  RaceTimer.SetEnabled(false);
  VexelBitmapFont1.SetVexelScreen(nullptr);
  for (auto* font : {&VexelFont1, &VexelFont2, &VexelFont3, &VexelFont4}) {
    font->SetVexelScreen(nullptr);
  }
  for (auto* list : {&VexelImageList1, &GameImageList, &ShareList}) list->SetVexelScreen(nullptr);
}

int TForm1::Run() {
  if (!Options.InputFile.empty()) {
    std::string error;
    if (!InputScript.Load(Options.InputFile, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 2;
    }
  }
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
  if (Window) Window->SetCaption(kCaption);
  GameImagesPending = true;
  KeyReleased.fill(false);
  VexelImageList1.ImageList.LoadFromFile(Paths.DataFile("Data\\data1.oil"));
  VexelScreen1->Width = 800;
  VexelScreen1->Height = 600;
  VexelScreen1->Initialize();
  VexelImageList1.Prepare();
  VexelScreen1->SetFiltering(true);
  SceneRenderer_.Bind(VexelScreen1.get());
  VexelFont2.SetFont("Arial Black", 8, {});
  Cursor = VexelSprite1.Create<TCursor>(VexelImageList1, [this](int32_t& x, int32_t& y) {
    x = MouseX;
    y = MouseY;
  });
  ScreenTick = 0;
  Sound3D->CreateAudioPaths();
}

void TForm1::FormShow() {
  VexelTimer1->SetEnabled(true);
  if (auto* music = Sound3D->ModList.Find("menumusic")) {
    music->Play();
    if (!MusicOn) music->Stop();
  }
  EnterState(3);
}

void TForm1::VexelTimer1Timer() {
  for (const auto& event : InputScript.EventsAt(FrameCount)) DispatchEvent(event);
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

void TForm1::RaceTimerTimer() {
  if (Race) Race->RaceClockStep();
}

void TForm1::FormKeyDown(int32_t key) {
  if (key >= 0 && key < 256) KeyDown[key] = true;
}

void TForm1::FormKeyUp(int32_t key) {
  if (key < 0 || key >= 256) return;
  KeyReleased[key] = true;
  KeyDown[key] = false;
}

void TForm1::FormMouseDown(platform::TPlatformEvent::TButton, int32_t, int32_t) {}

bool TForm1::FormCloseQuery() {
  return GameState == kClosingState && ShareCountdown == 0;
}

void TForm1::Close() {
  if (FormCloseQuery()) Application.Terminate();
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
}

void TForm1::PlaySound(const std::string& name, bool always) {
  if (!Sound3D || (!SoundOn && !always)) return;
  if (auto* sound = Sound3D->SoundList.Find(name)) sound->Play();
}

void TForm1::PumpEvents() {
  if (!Window) return;
  platform::TPlatformEvent event;
  while (Window->PollEvent(event)) DispatchEvent(event);
}

void TForm1::DispatchEvent(const platform::TPlatformEvent& event) {
  using T = platform::TPlatformEvent::TType;
  if (event.Type == T::MouseMove || event.Type == T::MouseDown || event.Type == T::MouseUp) {
    MouseX = event.X;
    MouseY = event.Y;
  }
  switch (event.Type) {
    case T::KeyDown:
      FormKeyDown(event.Key);
      break;
    case T::KeyUp:
      FormKeyUp(event.Key);
      break;
    case T::MouseDown:
      FormMouseDown(event.Button, event.X, event.Y);
      break;
    case T::Close:
      Close();
      break;
    case T::MouseMove:
    case T::MouseUp:
    case T::Char:
    case T::None:
      break;
  }
}

void TForm1::EnterState(uint8_t state) {
  GameState = state;
  ScreenTick = 0;
  KeyReleased.fill(false);
  if (state == kClosingState) {
    VexelScreen1->ShowMouseCursor = true;
    if (VexelScreen1->System()) VexelScreen1->System()->ShowCursor(true);
    ShareCountdown = 0;
    Close();
  }
}

void TForm1::LeaveState(uint8_t) {}

void TForm1::RunStateFrame(uint8_t state) {
  if (state == kClosingState) return;
  TestSceneFrame();
}

void TForm1::DrawTestQuad(float x, float y, float w, float h, float angle, uint32_t color,
                          int blend) {
  VexelScreen1->SetBlendMode(blend);
  SceneRenderer_.SetColors(color, color, color, color);
  SceneRenderer_.SetTexCoords(0, 0, 1, 0, 1, 1, 0, 1);
  SceneRenderer_.SetTexture(nullptr);
  SceneRenderer_.SetPositions(x - 0.5f, y - 0.5f, x + w - 0.5f, y - 0.5f, x + w - 0.5f,
                              y + h - 0.5f, x - 0.5f, y + h - 0.5f);
  SceneRenderer_.RotateScale(x + w / 2, y + h / 2, angle, 1, 1);
  SceneRenderer_.Render();
}

// Until the screens exist, every state shows a test card of the display device over the menu
// background: colour bars, turning quads in several blending modes, a twinkling star field and
// the game's mouse pointer, over the menu music; any other key release clicks. Escape leaves.
void TForm1::TestSceneFrame() {
  if (KeyReleased[platform::VK_ESCAPE]) {
    KeyReleased[platform::VK_ESCAPE] = false;
    EnterState(kClosingState);
    return;
  }
  for (bool& released : KeyReleased) {
    if (released) PlaySound("check1");
    released = false;
  }
  ++ScreenTick;
  VexelScreen1->Clear(0, 0, 0, 0);
  VexelScreen1->BeginScene();
  VexelImageList1.BeginBatch();
  if (auto* back = VexelImageList1.ImageList.Find("mainback")) back->Draw(0, 0, 0);
  static constexpr uint32_t kBars[] = {0xFF101848, 0xFF2A1460, 0xFF00C8FF,
                                       0xFFFF8A1E, 0xFFE8E8FF, 0xFF7A2CFF};
  for (int i = 0; i < 6; ++i) {
    DrawTestQuad(40.0f + 120.0f * static_cast<float>(i), 40, 110, 80, 0, kBars[i], 0);
  }
  const float turn = static_cast<float>(ScreenTick);
  DrawTestQuad(150, 250, 140, 140, turn, 0xC000C8FF, 0);
  DrawTestQuad(330, 250, 140, 140, -turn, 0xFFFF8A1E, 1);
  DrawTestQuad(510, 250, 140, 140, turn * 0.5f, 0x807A2CFF, 2);
  std::uniform_int_distribution<int> xs(0, 799);
  std::uniform_int_distribution<int> ys(440, 599);
  for (int i = 0; i < 41; ++i) {
    VexelScreen1->PutPixel(xs(Random), ys(Random), 255, 200, 100, 100);
  }
  VexelBitmapFont1.TextOut(40, 140, 0, 1, 1, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF,
                           "0123456789 \xC2\xC5\xCA\xD1\xC5\xCB\xDC", 0);
  VexelFont2.TextOut(70, 8, "Comet Lane Derby: engine test card. Escape leaves.", 255, 255, 255,
                     255);
  VexelSprite1.ClearDead();
  VexelSprite1.Move(0);
  VexelSprite1.Draw();
  VexelImageList1.EndBatch();
  VexelScreen1->EndScene();
}

}  // namespace game
