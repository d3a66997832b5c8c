// The race's view and the way back to the track as the shell runs them, in-process on a form
// that draws through the recording back end: the look-ahead and classic views chosen by
// "options.ini", the hint under the start lights, and R or the controller's Y putting the car
// back on the road behind a fade.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../input/PadTestSupport.h"
#include "TestFolder.h"
#include "engine/RecordingDevice.h"
#include "game/Unit_pr.h"
#include "game/race/FinishLine.h"
#include "game/race/GroundPoint.h"
#include "game/race/Player.h"
#include "platform/VirtualKeys.h"
#include "platform/VirtualPad.h"

namespace {

using game::TPoint2;
using vexel::TVertex;
using TQuad = std::vector<TVertex>;

constexpr uint8_t kRace = 12;
constexpr const char* kHint = "R: back to the track";

// A form drawing into the recording device, its settings folder holding `optionsText` as
// "options.ini" (none when empty).
class RaceView : public ::testing::Test {
 protected:
  explicit RaceView(const std::string& optionsText = "", bool autopilot = false)
      : Form(Application, Options(optionsText, autopilot)) {
    Form.FormCreate();
  }

  static game::TGameOptions Options(const std::string& optionsText, bool autopilot) {
    game::TGameOptions options;
    options.RecordingDisplay = true;
    options.HasSeed = true;
    options.Seed = 3;
    options.Autopilot = autopilot;
    options.ConfigDir = gametest::FreshDir("view");
    if (!optionsText.empty()) {
      std::ofstream(options.ConfigDir + "/options.ini", std::ios::binary) << optionsText;
    }
    return options;
  }

  vexel::TRecordingDevice& Device() {
    return *static_cast<vexel::TRecordingSystem*>(Form.VexelScreen1->System())->LastDevice;
  }

  void StartRace() {
    Form.Profiles.ProfileCount = 1;
    Form.Profiles.Profiles[0] = {"Ann"};
    Form.TakeUpProfile(0);
    Form.Catalogue.SelectedTrack = 0;
    Form.Catalogue.SelectedCar = 0;
    Form.CreateMenuScenery();
    Form.ChangeState(15, game::TStateChange::Over);
    Form.StartRace();
    ASSERT_EQ(Form.GameState, kRace);
  }

  game::TRaceWorld& Race() { return *Form.Race; }
  game::TPlayer& Player() { return *Form.Race->Player; }

  void Frame() {
    Device().Calls.clear();
    Form.VexelTimer1Timer();
    LastFrame.clear();
    for (const auto& call : Device().CallsOf(vexel::TDeviceCall::TKind::Draw)) {
      LastFrame.push_back(call.Vertices);
    }
    if (Form.RaceTimer.Enabled()) Form.RaceTimer.OnTimer();
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) Frame();
  }
  void ToTheGreenLight() {
    while (!Player().ControlsEnabled) Frame();
  }

  void Send(platform::TPlatformEvent::TType type, int32_t key) {
    platform::TPlatformEvent event;
    event.Type = type;
    event.Key = key;
    Form.DispatchEvent(event);
  }
  void Hold(int32_t key) { Send(platform::TPlatformEvent::TType::KeyDown, key); }
  void LetGo(int32_t key) { Send(platform::TPlatformEvent::TType::KeyUp, key); }

  bool OnRoad() { return Player().FrontGroundPoint->OnRoad || Player().RearGroundPoint->OnRoad; }
  TPoint2 FromFinishLine() {
    const TPoint2 car = Player().Centre();
    const TPoint2 line = Race().FinishLine->Centre();
    return {car.X - line.X, car.Y - line.Y};
  }
  void DriveOffTheRoad() {
    Hold(platform::VK_UP);
    Hold(platform::VK_RIGHT);
    for (int frame = 0; frame < 600 && OnRoad(); ++frame) Frame();
    Frames(20);
    LetGo(platform::VK_UP);
    LetGo(platform::VK_RIGHT);
    ASSERT_FALSE(OnRoad());
  }

  // Whether the last frame drew what `draw` draws, as one unbroken run of quads.
  bool Drew(const std::function<void()>& draw) {
    Device().Calls.clear();
    Form.VexelScreen1->BeginScene();
    draw();
    Form.VexelScreen1->EndScene();
    std::vector<TQuad> wanted;
    for (const auto& call : Device().CallsOf(vexel::TDeviceCall::TKind::Draw)) {
      wanted.push_back(call.Vertices);
    }
    Device().Calls.clear();
    const auto same = [](const TQuad& a, const TQuad& b) {
      return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                        [](const TVertex& p, const TVertex& q) {
                          return p.X == q.X && p.Y == q.Y && p.Color == q.Color;
                        });
    };
    return !wanted.empty() && std::search(LastFrame.begin(), LastFrame.end(), wanted.begin(),
                                          wanted.end(), same) != LastFrame.end();
  }
  bool DrewHint() {
    vexel::TVexelFont& font = Form.VexelFont1;
    return Drew(
        [&] { font.TextOut(400 - font.TextWidth(kHint) / 2, 150, kHint, 255, 255, 255, 255); });
  }
  // The alpha of a black quad over the whole screen in the last frame, 0 without one.
  int32_t FadeDrawn() {
    for (const TQuad& quad : LastFrame) {
      if (quad.size() != 4 || (quad[0].Color & 0x00FFFFFFu) != 0) continue;
      const auto [left, right] = std::minmax({quad[0].X, quad[1].X, quad[2].X, quad[3].X});
      const auto [top, bottom] = std::minmax({quad[0].Y, quad[1].Y, quad[2].Y, quad[3].Y});
      if (left <= 0 && top <= 0 && right >= 799 && bottom >= 599) {
        return static_cast<int32_t>(quad[0].Color >> 24);
      }
    }
    return 0;
  }
  // Whether the last frame drew a car-sized quad centred within a pixel of `centre`.
  bool DrewCarAt(const TPoint2& centre) {
    return std::any_of(LastFrame.begin(), LastFrame.end(), [&](const TQuad& quad) {
      if (quad.size() != 4) return false;
      const double x = (quad[0].X + quad[1].X + quad[2].X + quad[3].X) / 4;
      const double y = (quad[0].Y + quad[1].Y + quad[2].Y + quad[3].Y) / 4;
      const double side = std::hypot(quad[1].X - quad[0].X, quad[1].Y - quad[0].Y);
      return std::fabs(x - centre.X) <= 1 && std::fabs(y - centre.Y) <= 1 &&
             std::fabs(side - 40) <= 1;
    });
  }

  platform::TApplication Application;
  game::TForm1 Form;
  std::vector<TQuad> LastFrame;
};

TEST_F(RaceView, TheStartLightsShowTheHintUntilTheGreenLight) {
  ASSERT_NO_FATAL_FAILURE(StartRace());
  Frames(100);
  EXPECT_TRUE(DrewHint());
  ToTheGreenLight();
  Frame();
  EXPECT_FALSE(DrewHint());
}

TEST_F(RaceView, RPutsTheCarBackBehindAFade) {
  ASSERT_NO_FATAL_FAILURE(StartRace());
  const TPoint2 grid = FromFinishLine();
  ToTheGreenLight();
  ASSERT_NO_FATAL_FAILURE(DriveOffTheRoad());
  const int32_t lap = Player().Lap;
  const int32_t next = Player().NextCheckpoint;
  Hold('R');
  LetGo('R');
  std::vector<int32_t> fade;
  for (int frame = 0; frame < 60; ++frame) {
    Frame();
    fade.push_back(FadeDrawn());
  }
  // Fully black at its darkest (the screen's colour modulation may take off a step).
  EXPECT_GE(*std::max_element(fade.begin(), fade.end()), 254);
  EXPECT_GT(std::count_if(fade.begin(), fade.end(), [](int32_t a) { return a > 0; }), 40);
  EXPECT_EQ(fade.back(), 0);
  EXPECT_NEAR(FromFinishLine().X, grid.X, 1.0);
  EXPECT_NEAR(FromFinishLine().Y, grid.Y, 1.0);
  EXPECT_TRUE(OnRoad());
  EXPECT_EQ(Player().Speed, 0);
  EXPECT_EQ(Player().Lap, lap);
  EXPECT_EQ(Player().NextCheckpoint, next);
  EXPECT_TRUE(DrewCarAt(Race().PlayerOnScreen()));
}

TEST_F(RaceView, TheControllersYDoesTheSame) {
  SKIP_WITH_REAL_CONTROLLERS();
  platform::TVirtualPad pad(platform::kScriptPadName);
  ASSERT_NO_FATAL_FAILURE(StartRace());
  const TPoint2 grid = FromFinishLine();
  ToTheGreenLight();
  ASSERT_NO_FATAL_FAILURE(DriveOffTheRoad());
  pad.SetButton(platform::TPadButton::Y, true);
  Frames(2);
  pad.SetButton(platform::TPadButton::Y, false);
  Frame();
  EXPECT_TRUE(Race().TrackReturn.Active());
  Frames(60);
  EXPECT_FALSE(Race().TrackReturn.Active());
  EXPECT_NEAR(FromFinishLine().X, grid.X, 1.0);
  EXPECT_NEAR(FromFinishLine().Y, grid.Y, 1.0);
  EXPECT_EQ(Player().Speed, 0);
}

TEST_F(RaceView, PausedTheKeyWaits) {
  ASSERT_NO_FATAL_FAILURE(StartRace());
  ToTheGreenLight();
  Hold('P');
  LetGo('P');
  Frame();
  ASSERT_EQ(Form.GameState, 23);
  Hold('R');
  LetGo('R');
  Frames(3);
  Hold('P');
  LetGo('P');
  Frames(3);
  ASSERT_EQ(Form.GameState, kRace);
  EXPECT_FALSE(Race().TrackReturn.Active()) << "a key of the pause is the pause's";
}

// An autopiloted race with the view of the given "options.ini".
class RaceViewAtSpeed : public RaceView {
 protected:
  explicit RaceViewAtSpeed(const std::string& optionsText = "") : RaceView(optionsText, true) {}
  // The farthest the car was drawn from its fixed point, and whether it stayed clear of the HUD.
  void RaceFor(int frames, double& farthest, bool& clearOfTheHud) {
    farthest = 0;
    clearOfTheHud = true;
    for (int frame = 0; frame < frames; ++frame) {
      Frame();
      const TPoint2 car = Race().PlayerOnScreen();
      farthest =
          std::max(farthest, std::hypot(car.X - game::PlayerScreenX, car.Y - game::PlayerScreenY));
      clearOfTheHud = clearOfTheHud && car.Y + 40 < 466;
    }
  }
};

TEST_F(RaceViewAtSpeed, WithoutOptionsTheViewLeadsTheCarWhichIsDrawnThere) {
  ASSERT_NO_FATAL_FAILURE(StartRace());
  double farthest = 0;
  bool clear = false;
  RaceFor(900, farthest, clear);
  EXPECT_GT(farthest, 150);
  EXPECT_TRUE(clear);
  Frame();
  EXPECT_TRUE(DrewCarAt(Race().PlayerOnScreen()));
  // The missing file is written, with the default, when the settings are next saved.
  const std::string path = Form.Paths.ConfigFile("options.ini");
  EXPECT_FALSE(std::filesystem::exists(path));
  Form.SaveConfig();
  std::ifstream file(path);
  const std::string text((std::istreambuf_iterator<char>(file)), {});
  EXPECT_NE(text.find("\ncamera = look-ahead\n"), std::string::npos) << text;
}

class ClassicViewAtSpeed : public RaceViewAtSpeed {
 protected:
  ClassicViewAtSpeed() : RaceViewAtSpeed("camera = classic\n") {}
};

TEST_F(ClassicViewAtSpeed, TheCarStaysAtItsFixedPoint) {
  ASSERT_NO_FATAL_FAILURE(StartRace());
  double farthest = 1;
  bool clear = false;
  RaceFor(900, farthest, clear);
  EXPECT_EQ(farthest, 0);
  EXPECT_EQ(Form.VexelSprite1.CameraX, 0);
  EXPECT_TRUE(DrewCarAt({game::PlayerScreenX, game::PlayerScreenY}));
}

}  // namespace
