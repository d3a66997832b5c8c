#pragma once
// The main game object.

#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "Cursor.h"
#include "GameConstants.h"
#include "GamePaths.h"
#include "RaceTime.h"
#include "engine/VexelBitmapFont.h"
#include "engine/VexelFont.h"
#include "engine/VexelImageList.h"
#include "engine/VexelRenderer.h"
#include "engine/VexelScreen.h"
#include "engine/VexelSprite.h"
#include "engine/VexelTimer.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/FontSystem.h"
#include "platform/InputScript.h"
#include "platform/PlatformEvent.h"
#include "platform/PlatformWindow.h"
#include "platform/SystemTimer.h"
#include "race/RaceWorld.h"

namespace game {

/// Options of a run, from the command line; without any the game behaves as it always does.
struct TGameOptions {
  /// Stop after this many frames (negative: run until the player leaves).
  long Frames = -1;
  /// Save the last frame's back buffer as PNG here (empty: no).
  std::string ScreenshotFile;
  /// A script of input events stamped with frame numbers (empty: none).
  std::string InputFile;
  /// Fire frames as fast as possible instead of pacing them.
  bool Unpaced = false;
  /// Seed of the random generator (otherwise taken from the clock).
  bool HasSeed = false;
  uint32_t Seed = 0;
  /// Data folder and settings folder (empty: the defaults).
  std::string DataDir;
  std::string ConfigDir;
  /// Address of the score service (empty: the "score-server" settings file or the default).
  std::string ScoreServer;
  /// Draw through the recording back end without a window (for tests of the shell).
  bool RecordingDisplay = false;
};

/// The one main game object: owns every engine component, runs the frame loop and the race
/// clock, routes keys and mouse, and decides when the program may close.
class TForm1 {
 public:
  /// Creates the components; FormCreate runs from Run (or from tests).
  TForm1(platform::TApplication& application, const TGameOptions& options);
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  /// Creates, shows and runs the form until it closes; returns the exit code.
  int Run();

  /// Start-up: components, catalogues, settings, audio.
  void FormCreate();
  /// Enables the frame timer and enters the logo state.
  void FormShow();
  /// One frame of the current screen state.
  void VexelTimer1Timer();
  /// Every 10 ms during a race: advances the race clocks.
  void RaceTimerTimer();
  /// A key went down.
  void FormKeyDown(int32_t key);
  /// A key went up: it counts as released until a screen consumes it.
  void FormKeyUp(int32_t key);
  /// A mouse button went down (used by the closing screen only).
  void FormMouseDown(platform::TPlatformEvent::TButton button, int32_t x, int32_t y);
  /// Whether the window may close now.
  bool FormCloseQuery();
  /// Shutdown: music unloaded, sound closed, the exit shortcut opened.
  void FormDestroy();
  /// A close request from the window: closes only if FormCloseQuery allows it.
  void Close();
  /// Hands one window or scripted event to its handler.
  void DispatchEvent(const platform::TPlatformEvent& event);

  /// Enters a screen state.
  void EnterState(uint8_t state);
  /// Leaves a screen state.
  void LeaveState(uint8_t state);
  /// Runs one frame of a screen state.
  void RunStateFrame(uint8_t state);

  platform::TApplication& Application;
  TGameOptions Options;
  TGamePaths Paths;
  platform::TSystemClock Clock;
  std::unique_ptr<platform::TPlatformWindow> Window;
  std::unique_ptr<vexel::TVexelScreen> VexelScreen1;
  /// Menu pictures, race pictures, and the pictures of the closing screen.
  vexel::TVexelImageList VexelImageList1;
  vexel::TVexelImageList GameImageList;
  vexel::TVexelImageList ShareList;
  vexel::TVexelSprite VexelSprite1;
  /// The system fonts with the game's face aliases, and the fonts drawn with them.
  platform::TFontSystem FontSystem;
  vexel::TVexelFont VexelFont1{FontSystem};
  vexel::TVexelFont VexelFont2{FontSystem};
  vexel::TVexelFont VexelFont3{FontSystem};
  vexel::TVexelFont VexelFont4{FontSystem};
  vexel::TVexelBitmapFont VexelBitmapFont1{FontSystem};
  std::unique_ptr<vexel::TVexelTimer> VexelTimer1;
  platform::TSystemTimer RaceTimer;
  platform::TInputScript InputScript;

  uint8_t GameState = 3;
  int32_t ScreenTick = 0;
  std::array<bool, 256> KeyDown{};
  std::array<bool, 256> KeyReleased{};
  bool FullScreen = false;
  bool AppliedFullScreen = false;
  bool MusicOn = true;
  bool SoundOn = true;
  bool GameImagesPending = true;
  /// Frames left before the closing screen lets the program end.
  int32_t ShareCountdown = 0;
  /// Frames run since the form was shown.
  long FrameCount = 0;
  /// The game's own mouse pointer (owned by the sprite engine).
  TCursor* Cursor = nullptr;
  /// The pointer position in back-buffer pixels, from the last mouse event.
  int32_t MouseX = 0;
  int32_t MouseY = 0;

  /// The track and car catalogue.
  TGameCatalogue Catalogue;
  /// The race being run, if any; its sprites belong to VexelSprite1.
  std::unique_ptr<TRaceWorld> Race;

  /// The game's one random generator.
  std::mt19937 Random;

 private:
  void PumpEvents();
  void FinishFrame();
  void TestSceneFrame();
  void DrawTestQuad(float x, float y, float w, float h, float angle, uint32_t color, int blend);

  vexel::TVexelRenderer SceneRenderer_;
};

}  // namespace game
