#pragma once
// The main game object.

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ControlKeys.h"
#include "Cursor.h"
#include "GameConstants.h"
#include "GamePaths.h"
#include "GameSettings.h"
#include "OptionsIni.h"
#include "RaceTime.h"
#include "engine/VexelBitmapFont.h"
#include "engine/VexelButton.h"
#include "engine/VexelEdit.h"
#include "engine/VexelFont.h"
#include "engine/VexelGUI.h"
#include "engine/VexelImageList.h"
#include "engine/VexelInput.h"
#include "engine/VexelMusic.h"
#include "engine/VexelRenderer.h"
#include "engine/VexelScreen.h"
#include "engine/VexelSound3D.h"
#include "engine/VexelSprite.h"
#include "engine/VexelTimer.h"
#include "online/GoToLink.h"
#include "online/ScoreClient.h"
#include "online/ShareScreen.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/FontSystem.h"
#include "platform/InputScript.h"
#include "platform/PlatformEvent.h"
#include "platform/PlatformWindow.h"
#include "platform/QuitSignals.h"
#include "platform/SystemTimer.h"
#include "platform/VirtualPad.h"
#include "race/MenuScenery.h"
#include "race/RaceWorld.h"
#include "screens/MenuFocus.h"

namespace game {

class TMenuScreen;
class TRaceHud;
class TRaceScreens;
class TRaceReplay;
class TScreenGroup;

/// Options of a run, from the command line; without any the game behaves as it always does.
struct TGameOptions {
  /// Stop after this many frames (negative: run until the player leaves).
  long Frames = -1;
  /// Save the last frame's back buffer as PNG here (empty: no).
  std::string ScreenshotFile;
  /// A script of input events stamped with frame numbers (empty: none).
  std::string InputFile;
  /// Write a line "FRAME STATE" here each time the screen state changes (empty: no).
  std::string TraceFile;
  /// Fire frames as fast as possible instead of pacing them; the race clock then follows the
  /// frames as if they were paced.
  bool Unpaced = false;
  /// The player's car is driven by the autopilot in every race.
  bool Autopilot = false;
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
  /// Play this replay file from the start lights to the end of its race, then stop (empty: no).
  std::string ReplayFile;
  /// Write the replay of each race played to this file when the race ends (empty: no).
  std::string SaveReplayFile;
  /// Whether that back end keeps the calls of every frame (tests read them); a headless run
  /// from the command line keeps only the last frame's.
  bool RecordedFramesKept = true;
};

/// How a change of screen state treats the states around it.
enum class TStateChange {
  /// Leave the current state, then enter the next one.
  Replace,
  /// Enter the next state over the current one, which stays beneath without being left (the
  /// race's panels, the clear-scores question) or, at the start, is not there yet.
  Over,
  /// Leave the current state and go back to the one beneath it, which carries on without being
  /// entered again.
  Back,
  /// Leave the current panel and the race beneath it, then enter the next state.
  ReplaceWithRace,
};

/// The one main game object: owns every engine component, the settings and the progress,
/// runs the frame loop and the race clock, routes keys and mouse to the screen states, and
/// decides when the program may close. The screens themselves live in game/screens, a group
/// of related states per file; the form dispatches to them by state number.
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
  /// Whether the closing screen may close now (its countdown has run out).
  bool FormCloseQuery();
  /// Shutdown: music unloaded, sound closed, and the exit shortcut opened when the player
  /// left through the closing screen.
  void FormDestroy();
  /// The closing screen's own request to end: closes only if FormCloseQuery allows it.
  void Close();
  /// Ends the game from any screen (the window's close box, Alt+F4, SIGINT, SIGTERM): the
  /// screen's unconfirmed changes are dropped, a race in progress is abandoned, and the
  /// settings and best times are saved as the exit confirmation saves them.
  void Quit();
  /// Hands one window or scripted event to its handler.
  void DispatchEvent(const platform::TPlatformEvent& event);

  /// The one way the screen changes: leaves the states `how` says, runs `afterLeaving` (if
  /// given), makes `to` the current state, writes its trace line and enters it (unless going
  /// back). A state number that names no screen is entered and left as nothing.
  void ChangeState(uint8_t to, TStateChange how = TStateChange::Replace,
                   const std::function<void()>& afterLeaving = {});
  /// Runs one frame of a screen state.
  void RunStateFrame(uint8_t state);

  /// Plays a sound effect by name when sound is on, or always when `always` is set.
  void PlaySound(const std::string& name, bool always = false);
  /// Starts a music module by name (loading it on first use).
  void StartMusic(const std::string& name);
  /// Stops a music module by name, keeping its position.
  void StopMusic(const std::string& name);
  /// Stops one module and starts another, only while music is on.
  void SwitchMusic(const std::string& from, const std::string& to);
  /// Switches the display between the window and desktop full screen.
  void ApplyDisplayMode(bool fullScreen);

  /// Writes "Config.cfg" from memory, and "options.ini" when it is missing; a failure is
  /// reported on standard error, and that of "Config.cfg" in the greeting ticker (SaveProblem).
  void SaveConfig();
  /// Writes "Configdat.cfg" from the track table's best times, reporting a failure the same way.
  void SaveBestTimes();
  /// Makes a profile current: its progress and the open tracks and cars.
  void TakeUpProfile(int32_t index);
  /// Copies the progress values into the current profile.
  void StoreProfileProgress();
  /// The values the greeting ticker shows, from the current player and progress.
  TTickerValues TickerValues() const;
  /// Rewrites the greeting ticker for the current player.
  void RebuildInfoText();
  /// Starts a race of the selected track and car from the car screen.
  void StartRace();
  /// Sends the current player's name and score to the score service.
  void SubmitScore();
  /// Opens the score service's page of world scores in the browser.
  void OpenScorePage();
  /// Makes the menu scenery (lights, planets, ticker).
  void CreateMenuScenery();
  /// Removes the menu lights and planets before a race.
  void RemoveMenuScenery();

  /// Clears every released-key flag.
  void ClearReleased() { KeyReleased.fill(false); }
  /// Whether a key was released; clears the flag when it was.
  bool TakeReleased(int32_t key);

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
  /// The widget manager of the menus, and the focus that up, down and enter work on the menus.
  vexel::TVexelGUI VexelGUI1;
  TMenuFocus MenuFocus{VexelGUI1};
  std::unique_ptr<vexel::TVexelTimer> VexelTimer1;
  platform::TSystemTimer RaceTimer;
  /// Sound effects and music modules, and the (empty) media song list.
  std::unique_ptr<vexel::TVexelSound3D> Sound3D;
  vexel::TVexelMusic VexelMusic1;
  platform::TInputScript InputScript;
  /// Game controllers, and the keys and controllers turned into the key flags of the screens.
  vexel::TVexelInput VexelInput1;
  TControlKeys ControlKeys;
  /// The virtual controller an input script with controller events plays through.
  std::unique_ptr<platform::TVirtualPad> ScriptPad;

  uint8_t GameState = 3;
  int32_t ScreenTick = 0;
  int32_t WaitTicks = 0;
  std::array<bool, 256> KeyDown{};
  std::array<bool, 256> KeyReleased{};

  /// The switches, texts, high scores and profiles kept in "Config.cfg".
  TGameSettings Settings;
  /// The options of "options.ini" (the race's camera).
  TOptionsIni GameOptions;
  bool& FullScreen = Settings.FullScreen;
  bool& MusicOn = Settings.MusicOn;
  bool& SoundOn = Settings.SoundOn;
  std::string& OptionsText = Settings.OptionsText;
  std::string& PlayerName = Settings.PlayerName;
  THighScoreTable& HighScores = Settings.HighScores;
  TPlayerProfiles& Profiles = Settings.Profiles;
  bool AppliedFullScreen = false;
  /// The player's points; the rest of the progress lives in the catalogue.
  int32_t Score = 0;
  bool GameImagesPending = true;

  /// The current menu screen's panel, buttons in creation order and edit box.
  TMenuScreen* MenuScreen = nullptr;
  vexel::TVexelGUIList* ScreenList = nullptr;
  std::array<vexel::TVexelButton*, 7> ScreenButtons{};
  int32_t ButtonCount = 0;
  vexel::TVexelEdit* ScreenEdit = nullptr;
  bool EditFocused = false;
  int32_t CaretTick = 0;
  /// The menu scenery and star field.
  TMenuScenery Scenery;
  TStars Stars{};

  /// The link files beside the game, and the promotion screen shown before it closes.
  std::unique_ptr<online::TGoToLink> Links;
  std::unique_ptr<online::TShareScreen> ShareScreen;
  /// The score service: handshake, submission and the world page.
  std::unique_ptr<online::TScoreClient> ScoreClient;
  /// Frames run since the form was shown.
  long FrameCount = 0;
  /// A key, mouse button or controller button came up since the logo sequence last looked.
  bool InputReleased = false;
  /// Why the last save of the settings failed ("" once a save succeeds); the ticker shows it.
  std::string SaveProblem;
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
  /// The replay being played back (--replay), or none.
  std::unique_ptr<TRaceReplay> Playback;
  /// The replay of the race that ended last (the results panel can save it), or none.
  std::unique_ptr<TRaceReplay> LastReplay;
  /// The next race from the car choice is a time trial (the track choice's TIME TRIAL).
  bool TimeTrial = false;

 private:
  void PumpEvents();
  bool LoadPlayback();
  void FinishFrame();
  void TraceState();
  void EnterState(uint8_t state);
  void LeaveState(uint8_t state);
  uint32_t GuiMilliseconds() const;
  TScreenGroup* GroupOf(uint8_t state) const;
  void ReadSettings();
  void ApplyKeys(const std::vector<TKeyTransition>& changes);
  void SyncControlMode();
  void PollControllers();
  void NoteSave(bool saved, const std::string& error);

  platform::TQuitSignals QuitSignals_;
  bool PadButtonHeld_ = false;
  std::unique_ptr<TRaceHud> Hud_;
  TRaceScreens* RaceScreens_ = nullptr;
  std::vector<std::unique_ptr<TScreenGroup>> Groups_;
  std::FILE* Trace_ = nullptr;
  int TracedState_ = -1;
};

}  // namespace game
