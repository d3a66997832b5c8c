// The rules of a race as the shell runs it, in-process on a form that draws through the
// recording back end: the start lights under the pause and the quit panel, the race clock, the
// results' count, the unlock ladder, the best time, and the texts and pictures the HUD and the
// results draw.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "SilentServer.h"
#include "TestFolder.h"
#include "engine/RecordingDevice.h"
#include "game/SettingsFile.h"
#include "game/Unit_pr.h"
#include "game/race/EnemyCar.h"
#include "game/race/Player.h"
#include "platform/VirtualKeys.h"

namespace {

using game::TPlayerProfile;
using game::TRaceTime;
using vexel::TVertex;

// Screen states of a race.
constexpr uint8_t kQuit = 0;
constexpr uint8_t kRace = 12;
constexpr uint8_t kResults = 16;
constexpr uint8_t kPause = 23;
// Points inside "bro_next", "b_yes1" (send the score) and "b_no1" (keep it) on the results, and
// inside the quit panel's "b_no1" once it has slid in.
constexpr int32_t kNextX = 370;
constexpr int32_t kNextY = 395;
constexpr int32_t kSendX = 344;
constexpr int32_t kSendY = 365;
constexpr int32_t kKeepX = 450;
constexpr int32_t kKeepY = 365;
constexpr int32_t kResumeX = 455;
constexpr int32_t kResumeY = 358;
// Results frames after which the points are counted and every unlock has been applied, for the
// largest reward of the catalogue.
constexpr int kResultsSettled = 1000;

const char* const kTracksOpened = "New tracks are available!";
const char* const kCarOpened = "New car is available!";
const char* const kNoConnection = "[Error] Can't connect to server!";

// One drawn quad: its corners with their colours and texture coordinates.
using TQuad = std::vector<TVertex>;

bool SameVertex(const TVertex& a, const TVertex& b) {
  return a.X == b.X && a.Y == b.Y && a.Color == b.Color && a.U == b.U && a.V == b.V;
}

bool SameQuad(const TQuad& a, const TQuad& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameVertex);
}

// A race form drawing into the recording device, with a settings folder of its own. Between two
// frames the race timer, while it is enabled, ticks once: a hundredth of race time a frame.
class RaceRules : public ::testing::Test {
 protected:
  RaceRules() : RaceRules("") {}
  // A form sending scores to the service at `scoreServer` (empty: the default address).
  explicit RaceRules(const std::string& scoreServer) : Form(Application, Options(scoreServer)) {
    Form.FormCreate();
  }

  static game::TGameOptions Options(const std::string& scoreServer) {
    game::TGameOptions options;
    options.ScoreServer = scoreServer;
    options.RecordingDisplay = true;
    options.HasSeed = true;
    options.Seed = 7;
    options.ConfigDir = gametest::FreshDir("rules");
    return options;
  }

  vexel::TRecordingDevice& Device() {
    return *static_cast<vexel::TRecordingSystem*>(Form.VexelScreen1->System())->LastDevice;
  }

  // Plays as a profile with this progress and starts a race of `track` from the car screen,
  // among the menu scenery.
  void StartRace(int32_t track, const TPlayerProfile& progress = {"Ann"}) {
    Form.Profiles.ProfileCount = 1;
    Form.Profiles.Profiles[0] = progress;
    Form.TakeUpProfile(0);
    Form.Catalogue.SelectedTrack = track;
    Form.Catalogue.SelectedCar = 0;
    Form.CreateMenuScenery();
    Form.ChangeState(15, game::TStateChange::Over);
    Form.StartRace();
    ASSERT_EQ(Form.GameState, kRace);
    ASSERT_TRUE(Form.Race && Form.Race->Player);
  }

  game::TPlayer& Player() { return *Form.Race->Player; }
  // The first opponent's race time: it runs whenever the race clock does, finish or not.
  const TRaceTime& Clock() { return Form.Race->Enemy(0).RaceTime; }

  // One frame, then the race timer's tick; LastFrame keeps the quads the frame drew.
  void Frame() {
    Device().Calls.clear();
    Form.VexelTimer1Timer();
    LastFrame = Quads();
    if (Form.RaceTimer.Enabled()) Form.RaceTimer.OnTimer();
  }

  void Frames(int count) {
    for (int i = 0; i < count; ++i) Frame();
  }

  void Send(platform::TPlatformEvent::TType type, int32_t key, int32_t x = 0, int32_t y = 0) {
    platform::TPlatformEvent event;
    event.Type = type;
    event.Key = key;
    event.X = x;
    event.Y = y;
    Form.DispatchEvent(event);
  }

  // A key pressed and let go before the next frame.
  void Release(int32_t key) {
    Send(platform::TPlatformEvent::TType::KeyDown, key);
    Send(platform::TPlatformEvent::TType::KeyUp, key);
  }

  void Click(int32_t x, int32_t y) {
    using T = platform::TPlatformEvent::TType;
    // The widgets take one mouse move per 10 ms of the real clock; frames here take far less.
    std::this_thread::sleep_for(std::chrono::milliseconds(12));
    Send(T::MouseMove, 0, x, y);
    Send(T::MouseDown, 0, x, y);
    Send(T::MouseUp, 0, x, y);
  }

  // The player crosses the line for the last time in `place`, the cars ahead already through.
  void FinishIn(int32_t place, const TRaceTime& time) {
    game::TRaceWorld& race = *Form.Race;
    for (int32_t ahead = 1; ahead < place; ++ahead) race.TakeFinishPlace(ahead - 1, time);
    Player().FinishPosition = race.TakeFinishPlace(game::PlayerWho, time);
    Player().ControlsEnabled = false;
    race.PlayerFinished = true;
    race.WaitTicks = 0;
  }

  // Finishes right after the start and runs the 150 frames after the line into the results.
  void FinishAndOpenResults(int32_t place, const TRaceTime& time) {
    Frame();
    FinishIn(place, time);
    for (int frame = 0; frame < 200 && Form.GameState == kRace; ++frame) Frame();
    ASSERT_EQ(Form.GameState, kResults);
  }

  bool NextShown() { return Form.ScreenButtons[0] && Form.ScreenButtons[0]->Visible; }

  std::vector<TQuad> Quads() {
    std::vector<TQuad> quads;
    for (const auto& call : Device().CallsOf(vexel::TDeviceCall::TKind::Draw)) {
      quads.push_back(call.Vertices);
    }
    return quads;
  }

  // Whether the last frame drew what `draw` draws, as one unbroken run of quads.
  bool Drew(const std::function<void()>& draw) {
    Device().Calls.clear();
    Form.VexelScreen1->BeginScene();
    draw();
    Form.VexelScreen1->EndScene();
    const std::vector<TQuad> wanted = Quads();
    Device().Calls.clear();
    EXPECT_FALSE(wanted.empty()) << "the reference drawing draws nothing";
    if (wanted.empty()) return false;
    return std::search(LastFrame.begin(), LastFrame.end(), wanted.begin(), wanted.end(),
                       SameQuad) != LastFrame.end();
  }

  bool DrewText(int32_t x, int32_t y, const std::string& text) {
    return Drew([&] { Form.VexelFont1.TextOut(x, y, text); });
  }

  // Text centred on x as the screens centre it: half its width, rounded towards zero.
  bool DrewCentred(int32_t x, int32_t y, const std::string& text) {
    return DrewText(x - Form.VexelFont1.TextWidth(text) / 2, y, text);
  }

  bool DrewPicture(const std::string& key, int32_t x, int32_t y, int32_t cell) {
    vexel::TImageListItem* item = Form.GameImageList.ImageList.Find(key);
    EXPECT_NE(item, nullptr) << key;
    return item && Drew([&] { item->Draw(x, y, cell); });
  }

  // Where every sprite stands.
  std::vector<std::pair<float, float>> SpritePlaces() const {
    std::vector<std::pair<float, float>> places;
    for (const vexel::TSprite* sprite : Form.VexelSprite1.SpriteList()) {
      places.emplace_back(sprite->X(), sprite->Y());
    }
    return places;
  }

  platform::TApplication Application;
  game::TForm1 Form;
  std::vector<TQuad> LastFrame;
};

// ---------------------------------------------------------------------------------------------
// The start lights, the overlays and the race clock.

TEST_F(RaceRules, PauseDuringTheStartLightsFreezesTheCountdownAndTheClock) {
  ASSERT_NO_FATAL_FAILURE(StartRace(0));
  Frames(100);
  Release('P');
  Frame();
  ASSERT_EQ(Form.GameState, kPause);
  const int32_t tick = Form.ScreenTick;
  ASSERT_LT(tick, game::GreenLightTick);
  const auto places = SpritePlaces();
  // Longer than the rest of the countdown: without the freeze the green light would come now.
  for (int frame = 0; frame < 300; ++frame) {
    Frame();
    ASSERT_EQ(Form.GameState, kPause) << frame;
    ASSERT_EQ(Form.ScreenTick, tick) << frame;
  }
  EXPECT_EQ(SpritePlaces(), places) << "nothing moves while paused";
  EXPECT_EQ(Clock(), (TRaceTime{})) << Clock().Text();
  EXPECT_FALSE(Player().ControlsEnabled);
  EXPECT_TRUE(DrewText(692, 553, "Time:      0:00:00")) << "the HUD stays on the pause";

  Release('P');
  Frame();
  ASSERT_EQ(Form.GameState, kRace);
  // The countdown goes on where it stopped: the green light after the ticks it still had.
  int framesToGreen = 0;
  while (!Player().ControlsEnabled && framesToGreen < 400) {
    EXPECT_EQ(Clock(), (TRaceTime{})) << "no clock before the green light";
    Frame();
    ++framesToGreen;
  }
  EXPECT_EQ(framesToGreen, game::GreenLightTick - tick + 1);
  Frames(99);
  EXPECT_EQ(Clock(), (TRaceTime{0, 1, 0})) << "the clock runs from the green light on";
}

// Whether the picture has a texture now.
bool Made(vexel::TVexelImageList& list, const std::string& key) {
  const vexel::TImageListItem* item = list.ImageList.Find(key);
  return item && item->Texture;
}

TEST_F(RaceRules, TexturesAreHeldOnlyWhileTheirScreensCanShowThem) {
  vexel::TVexelImageList& menu = Form.VexelImageList1;
  for (const char* later : {"loading", "scr_help", "scr_choose", "tr_track1", "c_car1"}) {
    EXPECT_FALSE(Made(menu, later)) << later << ": made when a later screen draws it";
  }
  EXPECT_TRUE(Made(menu, "mainback"));
  EXPECT_TRUE(Made(menu, "font"));

  ASSERT_NO_FATAL_FAILURE(StartRace(0));
  Frames(20);
  for (int32_t i = 0; i < menu.ImageList.Count(); ++i) {
    const vexel::TImageListItem* item = menu.ImageList.Items(i);
    const bool raceDrawsIt = item->Name == "font" || item->Name == "mousecursor";
    EXPECT_EQ(item->Texture != nullptr, raceDrawsIt) << item->Name;
  }
  EXPECT_TRUE(Made(Form.GameImageList, "speeder"));
  EXPECT_FALSE(Made(Form.GameImageList, "scr_pause"));
  Release('P');
  Frames(5);
  ASSERT_EQ(Form.GameState, kPause);
  EXPECT_TRUE(Made(Form.GameImageList, "scr_pause")) << "made when the pause shows it";
  Release('P');
  Frame();
  ASSERT_EQ(Form.GameState, kRace);

  // Back on the track choice the menu makes what it draws again.
  ASSERT_NO_FATAL_FAILURE(FinishAndOpenResults(1, {1, 5, 7}));
  for (int tick = 0; tick < 600 && !NextShown(); ++tick) Frame();
  Click(kNextX, kNextY);
  Frame();
  Click(kKeepX, kKeepY);
  Frames(60);
  ASSERT_EQ(Form.GameState, 14);
  for (const std::string& shown : {std::string("mainback"), std::string("scr_choose"),
                                   Form.Catalogue.TrackInfo[0].PreviewImage}) {
    EXPECT_TRUE(Made(menu, shown)) << shown;
  }
}

struct OverlayCase {
  const char* Name;
  // Race frames before the overlay is opened.
  int RaceFrames;
  // Whether the player has crossed the line for the last time by then.
  bool Finished;
  int32_t OpenKey;
  uint8_t Overlay;
  int32_t CloseKey;
  // Whether the race clock runs again once the race is back.
  bool ClockRuns;
};

const OverlayCase kOverlays[] = {
    {"QuitPanelBeforeTheGreenLight", 100, false, platform::VK_ESCAPE, kQuit, platform::VK_ESCAPE,
     false},
    {"QuitPanelAfterTheGreenLight", 300, false, platform::VK_ESCAPE, kQuit, platform::VK_ESCAPE,
     true},
    {"QuitPanelAfterTheFinish", 300, true, platform::VK_ESCAPE, kQuit, platform::VK_ESCAPE, false},
    {"PauseBeforeTheGreenLight", 100, false, 'P', kPause, 'P', false},
    {"PauseAfterTheGreenLight", 300, false, 'P', kPause, 'P', true},
    {"PauseByF1EndedByEscape", 300, false, platform::VK_F1, kPause, platform::VK_ESCAPE, true},
    {"PauseAfterTheFinish", 300, true, 'P', kPause, platform::VK_F1, false},
};

class OverlayClock : public RaceRules, public ::testing::WithParamInterface<OverlayCase> {};

TEST_P(OverlayClock, TheClockStopsOnTheOverlayAndRunsAgainOnlyWhileThePlayerDrives) {
  const OverlayCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartRace(0));
  Frames(c.RaceFrames);
  if (c.Finished) {
    FinishIn(1, Player().RaceTime);
    Frames(5);
  }
  Release(c.OpenKey);
  Frame();
  ASSERT_EQ(Form.GameState, c.Overlay);
  const TRaceTime stopped = Clock();
  const int32_t tick = Form.ScreenTick;
  Frames(60);
  EXPECT_EQ(Clock(), stopped) << "the clock stands on the overlay: " << Clock().Text();
  EXPECT_EQ(Form.ScreenTick, tick);
  EXPECT_EQ(Form.GameState, c.Overlay);

  Release(c.CloseKey);
  Frame();
  ASSERT_EQ(Form.GameState, kRace);
  Frames(99);
  ASSERT_EQ(Form.GameState, kRace);
  TRaceTime expected = stopped;
  if (c.ClockRuns) {
    for (int hundredth = 0; hundredth < 100; ++hundredth) expected.AddHundredth();
  }
  EXPECT_EQ(Clock(), expected) << Clock().Text() << " after " << stopped.Text();
}

INSTANTIATE_TEST_SUITE_P(Overlays, OverlayClock, ::testing::ValuesIn(kOverlays),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST_F(RaceRules, EscapeAndPLetGoInOneFrameOpenOnlyTheQuitPanel) {
  ASSERT_NO_FATAL_FAILURE(StartRace(0));
  Frames(100);
  Send(platform::TPlatformEvent::TType::KeyDown, platform::VK_ESCAPE);
  Send(platform::TPlatformEvent::TType::KeyDown, 'P');
  Send(platform::TPlatformEvent::TType::KeyUp, platform::VK_ESCAPE);
  Send(platform::TPlatformEvent::TType::KeyUp, 'P');
  Frame();
  ASSERT_EQ(Form.GameState, kQuit);
  for (int frame = 0; frame < 30; ++frame) {
    Frame();
    ASSERT_EQ(Form.GameState, kQuit) << frame;
  }
  Release(platform::VK_ESCAPE);
  for (int frame = 0; frame < 30; ++frame) {
    Frame();
    ASSERT_EQ(Form.GameState, kRace) << "the P went with the quit panel; frame " << frame;
  }
}

struct ResumeCase {
  const char* Name;
  bool ByButton;
};

class QuitPanelKeys : public RaceRules, public ::testing::WithParamInterface<ResumeCase> {};

TEST_P(QuitPanelKeys, KeysLetGoOnTheQuitPanelDoNotActInTheResumedRace) {
  ASSERT_NO_FATAL_FAILURE(StartRace(0));
  Frames(300);
  Release(platform::VK_ESCAPE);
  Frames(25);  // the panel slides in
  ASSERT_EQ(Form.GameState, kQuit);
  Release('P');
  Release(platform::VK_F1);
  Frame();
  ASSERT_EQ(Form.GameState, kQuit) << "the panel has no pause";
  if (GetParam().ByButton) {
    Click(kResumeX, kResumeY);
  } else {
    Release(platform::VK_ESCAPE);
  }
  for (int frame = 0; frame < 30; ++frame) {
    Frame();
    ASSERT_EQ(Form.GameState, kRace) << frame;
  }
}

INSTANTIATE_TEST_SUITE_P(WaysBack, QuitPanelKeys,
                         ::testing::Values(ResumeCase{"Escape", false},
                                           ResumeCase{"NoButton", true}),
                         [](const auto& test) { return std::string(test.param.Name); });

// ---------------------------------------------------------------------------------------------
// The HUD.

TEST_F(RaceRules, TheHudShowsLapPositionTimeAndBestLap) {
  struct Case {
    int32_t Lap;
    TRaceTime BestLap;
    TRaceTime RaceTime;
    const char* LapText;
    const char* BestLapText;
    const char* TimeText;
  };
  const Case cases[] = {
      {0, {1000, 0, 0}, {0, 0, 0}, "1/5", "Best Lap: -:--:--", "Time:      0:00:00"},
      {1, {0, 31, 5}, {1, 5, 7}, "1/5", "Best Lap: -:--:--", "Time:      1:05:07"},
      {2, {0, 31, 5}, {12, 0, 0}, "2/5", "Best Lap: 0:31:05", "Time:      12:00:00"},
      {5, {1, 5, 7}, {61, 1, 1}, "5/5", "Best Lap: 1:05:07", "Time:      61:01:01"},
  };
  ASSERT_NO_FATAL_FAILURE(StartRace(0));
  Frames(10);
  for (const Case& c : cases) {
    Player().Lap = c.Lap;
    Player().BestLap = c.BestLap;
    Player().RaceTime = c.RaceTime;
    Frame();
    const std::string position =
        std::to_string(Player().RacePosition) + "/" + std::to_string(Form.Race->EnemyCount + 1);
    EXPECT_TRUE(DrewText(700, 517, "Lap:            ")) << c.Lap;
    EXPECT_TRUE(DrewText(775, 517, c.LapText)) << c.Lap;
    EXPECT_TRUE(DrewText(695, 535, "Position:   ")) << c.Lap;
    EXPECT_TRUE(DrewText(775, 535, position)) << c.Lap;
    EXPECT_TRUE(DrewText(692, 553, c.TimeText)) << c.Lap;
    EXPECT_TRUE(DrewText(690, 571, c.BestLapText)) << c.Lap;
    if (c.Lap >= 2) {
      EXPECT_FALSE(DrewText(690, 571, "Best Lap: -:--:--")) << c.Lap;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The results: the count, the next button, the best time and what is saved.

struct CountCase {
  const char* Name;
  int32_t Place;
  int32_t Reward;
};

class ResultsCount : public RaceRules, public ::testing::WithParamInterface<CountCase> {};

TEST_P(ResultsCount, PointsAreCountedOneAFrameAndTheNextButtonFollowsAbout100FramesLater) {
  const CountCase& c = GetParam();
  // Score 1000 of a target of 1200: no reward of Track 1 reaches it.
  ASSERT_NO_FATAL_FAILURE(StartRace(0, {"Ann", 3, 5, 1000, 1200, 2}));
  ASSERT_NO_FATAL_FAILURE(FinishAndOpenResults(c.Place, {1, 5, 7}));
  int firstShown = -1;
  for (int tick = 0; tick < 700; ++tick) {
    Frame();
    const int32_t counted = std::clamp(tick - 350, 0, c.Reward);
    ASSERT_EQ(Form.Score, 1000 + counted) << "tick " << tick;
    if (NextShown() && firstShown < 0) firstShown = tick;
  }
  // The count ends at tick 350 + reward; 101 frames later the button shows.
  EXPECT_NEAR(firstShown, 350 + c.Reward + 102, 2);
  EXPECT_TRUE(DrewCentred(487, 239, std::to_string(c.Place)));
  EXPECT_TRUE(DrewCentred(487, 304, "0")) << "nothing left to count";
  EXPECT_TRUE(DrewCentred(487, 334, std::to_string(1000 + c.Reward)));
  EXPECT_EQ(Form.Catalogue.UnlockStage, 2);
}

INSTANTIATE_TEST_SUITE_P(Places, ResultsCount,
                         ::testing::Values(CountCase{"First", 1, 100}, CountCase{"Third", 3, 50},
                                           CountCase{"FourthGivesNothing", 4, 0},
                                           CountCase{"FifthGivesNothing", 5, 0}),
                         [](const auto& test) { return std::string(test.param.Name); });

struct RecordCase {
  const char* Name;
  TRaceTime Best;
  TRaceTime Time;
  const char* TimeText;
  bool NewRecord;
};

const RecordCase kRecords[] = {
    {"FirstTimeOnTheTrack", {1000, 0, 0}, {1, 5, 7}, "1:05:07", true},
    {"FasterByAHundredth", {1, 5, 8}, {1, 5, 7}, "1:05:07", true},
    {"EqualToTheBestTime", {1, 5, 7}, {1, 5, 7}, "1:05:07", false},
    {"SlowerByAHundredth", {1, 5, 6}, {1, 5, 7}, "1:05:07", false},
    {"FewerMinutesMoreSeconds", {2, 0, 0}, {1, 59, 99}, "1:59:99", true},
    {"TwelveMinutes", {1000, 0, 0}, {12, 0, 0}, "12:00:00", true},
};

class BestTime : public RaceRules, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(BestTime, OnlyAStrictlyBetterTimeIsANewRecordAndReplacesTheBest) {
  const RecordCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartRace(0));
  Form.Catalogue.TrackInfo[0].BestTime = c.Best;
  ASSERT_NO_FATAL_FAILURE(FinishAndOpenResults(1, c.Time));
  Frames(139);
  EXPECT_FALSE(DrewCentred(487, 272, c.TimeText)) << "the time is the second line, at tick 140";
  for (int tick = 140; tick < 600; ++tick) {
    Frame();
    if (tick % 100 != 0) continue;
    EXPECT_TRUE(DrewCentred(487, 272, c.TimeText)) << tick;
    EXPECT_EQ(DrewPicture("newrecord", 337, 275, 1), c.NewRecord) << tick;
  }
  ASSERT_TRUE(NextShown());
  Click(kNextX, kNextY);
  Frame();
  EXPECT_FALSE(NextShown()) << "the next button goes once the result is saved";
  ASSERT_TRUE(Form.ScreenButtons[1] && Form.ScreenButtons[2]);
  EXPECT_TRUE(Form.ScreenButtons[1]->Visible && Form.ScreenButtons[2]->Visible)
      << "the send question's buttons";
  EXPECT_EQ(Form.Catalogue.TrackInfo[0].BestTime, c.NewRecord ? c.Time : c.Best);
  EXPECT_FALSE(DrewCentred(487, 272, c.TimeText)) << "the saved results are gone";
  EXPECT_FALSE(std::filesystem::exists(Form.Paths.ConfigFile("Configdat.cfg")))
      << "best times reach the disk only when the game is left";
}

INSTANTIATE_TEST_SUITE_P(Times, BestTime, ::testing::ValuesIn(kRecords),
                         [](const auto& test) { return std::string(test.param.Name); });

// ---------------------------------------------------------------------------------------------
// The unlock ladder.

struct UnlockCase {
  const char* Name;
  int32_t Track;
  int32_t Place;
  // Profile progress before the race and after its results (cars, tracks, score, target,
  // stage).
  TPlayerProfile Before;
  TPlayerProfile After;
  // The announcement shown, or none.
  const char* Announced;
  // Stages opened, one a frame.
  int StagesOpened;
};

const UnlockCase kUnlocks[] = {
    // 250 + 70 passes 300: stage 0 opens slots 3 and 4, and the target grows by 400.
    {"PassingTheFirstTarget",
     0,
     2,
     {"Ann", 2, 3, 250, 300, 0},
     {"Ann", 2, 5, 320, 700, 1},
     kTracksOpened,
     1},
    // 230 + 70 lands on 300: the target must be passed, not reached.
    {"LandingOnTheTarget",
     0,
     2,
     {"Ann", 2, 3, 230, 300, 0},
     {"Ann", 2, 3, 300, 300, 0},
     nullptr,
     0},
    // A score left on the target opens the stage with the next race that gains points.
    {"LeftOnTheTargetThenGaining",
     0,
     3,
     {"Ann", 2, 3, 300, 300, 0},
     {"Ann", 2, 5, 350, 700, 1},
     kTracksOpened,
     1},
    {"LeftOnTheTargetWithoutPoints",
     0,
     4,
     {"Ann", 2, 3, 300, 300, 0},
     {"Ann", 2, 3, 300, 300, 0},
     nullptr,
     0},
    {"PassingACarTarget",
     0,
     1,
     {"Ann", 2, 5, 650, 700, 1},
     {"Ann", 3, 5, 750, 1200, 2},
     kCarOpened,
     1},
    // 250 + 500 passes 300 and 700: tracks, then a car, on the next frame; tracks are announced.
    {"PassingTwoTargets",
     11,
     1,
     {"Ann", 2, 3, 250, 300, 0},
     {"Ann", 3, 5, 750, 1200, 2},
     kTracksOpened,
     2},
    {"TheLastStage",
     11,
     1,
     {"Ann", 5, 11, 13000, 13200, 8},
     {"Ann", 5, 12, 13500, 17700, 9},
     kTracksOpened,
     1},
    {"AfterTheLastStage",
     11,
     1,
     {"Ann", 5, 12, 17600, 17700, 9},
     {"Ann", 5, 12, 18100, 17700, 9},
     nullptr,
     0},
};

class UnlockLadder : public RaceRules, public ::testing::WithParamInterface<UnlockCase> {};

TEST_P(UnlockLadder, TheRaceGainOpensTheStagesItPassesAndTheProfileKeepsThem) {
  const UnlockCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(StartRace(c.Track, c.Before));
  ASSERT_NO_FATAL_FAILURE(FinishAndOpenResults(c.Place, {2, 30, 0}));
  int firstShown = -1;
  std::vector<int> stageFrames;
  for (int tick = 0; tick < kResultsSettled; ++tick) {
    const int32_t stage = Form.Catalogue.UnlockStage;
    Frame();
    if (NextShown() && firstShown < 0) firstShown = tick;
    if (Form.Catalogue.UnlockStage != stage) stageFrames.push_back(tick);
  }
  const game::TGameCatalogue& catalogue = Form.Catalogue;
  const TPlayerProfile reached{"Ann",      catalogue.CarsAvailable, catalogue.TracksAvailable,
                               Form.Score, catalogue.TargetScore,   catalogue.UnlockStage};
  EXPECT_EQ(reached, c.After);
  ASSERT_EQ(static_cast<int>(stageFrames.size()), c.StagesOpened);
  for (size_t i = 0; i < stageFrames.size(); ++i) {
    EXPECT_EQ(stageFrames[i], firstShown + static_cast<int>(i)) << "one stage a frame";
  }
  for (int32_t slot = 0; slot < game::TrackCount; ++slot) {
    EXPECT_EQ(catalogue.TrackInfo[slot].Available, slot < c.After.TracksAvailable) << slot;
  }
  for (int32_t type = 0; type < game::CarCount; ++type) {
    EXPECT_EQ(catalogue.CarInfo[type].Available, type < c.After.CarsAvailable) << type;
  }
  const bool tracks = c.Announced == kTracksOpened;
  const bool car = c.Announced == kCarOpened;
  EXPECT_EQ(DrewCentred(400, 451, kTracksOpened), tracks);
  EXPECT_EQ(DrewCentred(400, 451, kCarOpened), car);
  if (tracks) {
    EXPECT_TRUE(DrewPicture("scr_av", 196, 446, 0));
  }
  if (car) {
    EXPECT_TRUE(DrewPicture("scr_av", 196, 448, 0));
  }

  // "bro_next" stores the progress in the profile file, and the local table takes the player's
  // new score where it beats a row.
  Click(kNextX, kNextY);
  Frame();
  game::TGameSettings saved;
  std::string warning;
  ASSERT_TRUE(game::TSettingsFile::ReadConfig(Form.Paths.ConfigFile("Config.cfg"), saved, warning));
  EXPECT_EQ(warning, "");
  EXPECT_EQ(saved.Profiles.Profiles[0], c.After);
  game::THighScoreTable expected;
  expected.Enter(Form.PlayerName, c.After.Score);
  EXPECT_EQ(saved.HighScores.Rows, expected.Rows);
}

INSTANTIATE_TEST_SUITE_P(Ladder, UnlockLadder, ::testing::ValuesIn(kUnlocks),
                         [](const auto& test) { return std::string(test.param.Name); });

// ---------------------------------------------------------------------------------------------
// Sending the score to a service that does not answer.

struct ServiceCase {
  const char* Name;
  // Nothing listens (the connection is refused), or a port takes the connection and never
  // answers.
  bool Refuses;
};

// The silent port, made before the form that is pointed at it.
struct SilentPort {
  onlinetest::TSilentServer Silent;
};

class UnansweredService : public SilentPort,
                          public RaceRules,
                          public ::testing::WithParamInterface<ServiceCase> {
 protected:
  UnansweredService()
      : RaceRules(GetParam().Refuses ? onlinetest::ClosedPortAddress() : Silent.Address()) {}
};

TEST_P(UnansweredService, SendingSaysCantConnectAndReturnsToTheTrackChoice) {
  ASSERT_NO_FATAL_FAILURE(StartRace(0));
  ASSERT_NO_FATAL_FAILURE(FinishAndOpenResults(1, {1, 5, 7}));
  for (int tick = 0; tick < 600 && !NextShown(); ++tick) Frame();
  Click(kNextX, kNextY);
  Frame();
  ::testing::internal::CaptureStderr();
  Click(kSendX, kSendY);
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find(kNoConnection), std::string::npos) << errors;
  if (!GetParam().Refuses) {
    EXPECT_TRUE(Silent.WasContacted());
  }
  EXPECT_EQ(Form.GameState, 14);
  Frames(10);
  EXPECT_EQ(Form.GameState, 14) << "the game goes on";
  EXPECT_EQ(Form.Profiles.Current().Score, 100) << "the saved score stays";
}

INSTANTIATE_TEST_SUITE_P(Services, UnansweredService,
                         ::testing::Values(ServiceCase{"Refusing", true},
                                           ServiceCase{"Silent", false}),
                         [](const auto& test) { return std::string(test.param.Name); });

}  // namespace
