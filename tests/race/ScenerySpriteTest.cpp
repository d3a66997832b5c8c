// Scenery and HUD sprites: background, smoke, panels, needle, start marker and menu scenery.

#include <gtest/gtest.h>

#include "RaceFixture.h"
#include "game/race/Background.h"
#include "game/race/BegArrows.h"
#include "game/race/ChooseLine.h"
#include "game/race/Dim.h"
#include "game/race/MenuScenery.h"
#include "game/race/Panel.h"
#include "game/race/SpeedArrow.h"

namespace racetest {
namespace {

class Scenery : public RaceFixture {
 protected:
  Scenery() {
    SetPath({{0, 0, 1, 0}, {0, 1000, 2, 0}});
    MakePlayer(396, 321, 0, 270);
  }
  game::TPlayer& Player() { return *World.Player; }
};

struct TNeedleCase {
  double Speed;
  float Rotation;
};

class Needle : public Scenery, public ::testing::WithParamInterface<TNeedleCase> {};

TEST_P(Needle, TurnsWithTheSpeed) {
  auto* needle = Engine.Create<game::TSpeedArrow>(World, 0.0f, 480.0f, Player().MaxSpeed,
                                                  Player().ReverseLimit);
  EXPECT_EQ(needle->Rotation, -315);
  Player().Speed = GetParam().Speed;
  needle->DoMove(0);
  EXPECT_FLOAT_EQ(needle->Rotation, GetParam().Rotation);
}

INSTANTIATE_TEST_SUITE_P(Scenery, Needle,
                         ::testing::Values(TNeedleCase{0, 585}, TNeedleCase{10, 395},
                                           TNeedleCase{5, 490}, TNeedleCase{-2, 395},
                                           TNeedleCase{-1, 490}));

TEST_F(Scenery, DialShowsReverse) {
  auto* dial = Engine.Create<game::TPanel>(World, 0.0f, 466.0f, 0);
  auto* glass = Engine.Create<game::TPanel>(World, 0.0f, 472.0f, 1);
  EXPECT_EQ(dial->Z(), 480);
  EXPECT_EQ(glass->Z(), 520);
  EXPECT_EQ(dial->Name(), "speeder");
  Player().Speed = -0.5;
  dial->DoMove(0);
  EXPECT_EQ(dial->PatternIndex(), 1);
  Player().Speed = 0;
  dial->DoMove(0);
  EXPECT_EQ(dial->PatternIndex(), 0);
}

TEST_F(Scenery, SmokePuffFadesAndDiesByItsFifteenthFrame) {
  auto* puff = Engine.Create<game::TDim>(World, 300.0, 300.0);
  EXPECT_EQ(puff->Alpha(), 200);
  EXPECT_FLOAT_EQ(puff->ScaleX, 0.3f);
  EXPECT_EQ(puff->Z(), 49);
  std::vector<int32_t> alphas;
  int frames = 0;
  while (!puff->Dead() && frames < 100) {
    puff->DoMove(0);
    alphas.push_back(puff->Alpha());
    ++frames;
  }
  EXPECT_EQ(frames, 15);
  EXPECT_EQ(alphas[2], 160);
  EXPECT_EQ(alphas[11], 40);
  EXPECT_FLOAT_EQ(puff->ScaleX, 0.3f + 5 * 0.05f);
}

TEST_F(Scenery, SmokeStartsWithinFivePixelsOfItsPoint) {
  for (int n = 0; n < 50; ++n) {
    auto* puff = Engine.Create<game::TDim>(World, 300.0, 300.0);
    const game::TPoint2 c = puff->Centre();
    EXPECT_LE(std::abs(c.X - 300), 5) << n;
    EXPECT_GT(c.X - 300, -5) << n;
    EXPECT_LE(std::abs(c.Y - 300), 5) << n;
  }
}

TEST_F(Scenery, BackgroundTilesCoverTheScreenAndWrap) {
  auto* grass = Engine.Create<game::TBackground>(World);
  EXPECT_EQ(grass->TilesX, 4);
  EXPECT_EQ(grass->TilesY, 3);
  EXPECT_EQ(grass->Z(), 0);
  Screen.BeginScene();
  Device->Calls.clear();
  grass->DoDraw();
  EXPECT_EQ(Device->CallsOf(vexel::TDeviceCall::TKind::Draw).size(), 20u);
  grass->MoveBy(10, -300);
  grass->DoDraw();
  Screen.EndScene();
  EXPECT_EQ(grass->X(), 10 - 256);
  EXPECT_EQ(grass->Y(), -300 + 256);
}

TEST_F(Scenery, BackgroundScrollsWithParallax) {
  auto* grass = Engine.Create<game::TBackground>(World);
  Player().ShiftX = 10;
  Player().BounceY = -2;
  grass->DoMove(0);
  EXPECT_FLOAT_EQ(grass->X(), 7);
  EXPECT_FLOAT_EQ(grass->Y(), -1.4f);
}

TEST_F(Scenery, StartMarkerTurns) {
  auto* marker = Engine.Create<game::TBegArrows>(World, 396.0, 321.0);
  EXPECT_EQ(marker->Z(), 550);
  EXPECT_DOUBLE_EQ(marker->Centre().X, 396);
  for (int n = 0; n < 3; ++n) marker->DoMove(0);
  EXPECT_EQ(marker->Rotation, 3);
}

TEST_F(Scenery, RaceSpritesDrawOnTheDevice) {
  SelectTrack(PutTrack("drawn.prd", MinimalTrack(2)), 2);
  vexel::TVexelSprite engine;
  game::TRaceWorld world(engine, Images, Catalogue, Random, KeyDown, KeyReleased, Dir);
  game::SetupRace(world);
  Screen.BeginScene();
  Device->Calls.clear();
  engine.Draw();
  engine.Move(0);
  Screen.EndScene();
  // Grass tiles, the panels, the needle, the arrow, the next checkpoint and three cars.
  EXPECT_GE(Device->CallsOf(vexel::TDeviceCall::TKind::Draw).size(), 20u + 8u);
}

/// A text measure in which "W" is 10 pixels wide, a space 4 and anything else 7.
int32_t Measure(const std::string& text) {
  int32_t width = 0;
  for (char c : text) width += c == 'W' ? 10 : c == ' ' ? 4 : 7;
  return width;
}

TEST_F(Scenery, TickerAdvancesByTheWidthOfItsLastCharacter) {
  const game::TTickerValues values{"Ann", 120, 300, 0, 2, 3, ""};
  auto* ticker = Engine.Create<game::TRunningString>(values, Measure);
  ASSERT_EQ(ticker->ShownText, std::string(100, ' '));
  EXPECT_EQ(ticker->CharW, 10);
  EXPECT_EQ(ticker->LastCharW, 4);
  std::vector<int> moves;
  std::string text = ticker->Text;
  for (int frame = 0; frame < 16; ++frame) {
    ticker->DoMove(0);
    if (ticker->Text != text) moves.push_back(frame);
    text = ticker->Text;
  }
  // A space is last: every round(12 * 4 / 10) = 5 frames.
  EXPECT_EQ(moves, (std::vector<int>{0, 5, 10, 15}));
  EXPECT_EQ(ticker->ShownText.size(), 110u);
}

TEST_F(Scenery, TickerTexts) {
  auto* ticker = Engine.Create<game::TRunningString>(
      game::TTickerValues{"Ann", 120, 300, 0, 2, 3, ""}, Measure);
  EXPECT_EQ(ticker->Text, std::string(100, ' ') +
                              "Hello, Ann!         Your score is  120           Target score is:  "
                              "300           Cars available: 2           Tracks available: 3" +
                              std::string(90, ' '));
  auto* done = Engine.Create<game::TRunningString>(
      game::TTickerValues{"Bo", 9, 17700, 9, 5, 12, ""}, Measure);
  EXPECT_EQ(done->Text, std::string(100, ' ') +
                            "Hello, Bo!         Your score is  9           Game COMPLETE!!!    "
                            "           Cars available: 5           Tracks available: 12" +
                            std::string(82, ' '));
  done->Rebuild({"Cy", 1, 2, 0, 3, 4, ""});
  EXPECT_EQ(done->Text, std::string(100, ' ') +
                            "Hello, Cy!         Your score is  1           Target score is:  2"
                            "           Cars available: 3           Tracks available: 4" +
                            std::string(64, ' '));
  EXPECT_EQ(done->ShownText, done->Text.substr(0, 110));
}

TEST_F(Scenery, MenuSceneryComesAndGoes) {
  vexel::TVexelImageList menu;
  game::TMenuScenery scenery =
      game::CreateMenuScenery(Engine, menu, Random, {"Ann", 0, 300, 0, 2, 3, ""}, Measure);
  EXPECT_EQ(Count<game::TLight>(), 3);
  EXPECT_EQ(Count<game::TMenuPlanet>(), 6);
  EXPECT_EQ(Count<game::TRunningString>(), 1);
  EXPECT_EQ(scenery.Lights[0]->X(), 147);
  EXPECT_EQ(scenery.Lights[2]->X(), 1000);
  for (game::TMenuPlanet* planet : scenery.Planets) {
    EXPECT_NE(planet->OrbitSpeed, 0);
    EXPECT_GE(planet->OrbitAngle, 0);
    EXPECT_LT(planet->OrbitAngle, 360);
  }
  EXPECT_EQ(scenery.Planets[4]->OrbitSpeed, 0.1);
  Engine.Move(0);
  // The first move puts each planet on its orbit around (220, 380); kind 4 sits at the centre.
  EXPECT_DOUBLE_EQ(scenery.Planets[4]->X() + scenery.Planets[4]->Width() / 2.0, 220);
  game::RemoveMenuScenery(Engine, scenery);
  EXPECT_EQ(Count<game::TLight>(), 0);
  EXPECT_EQ(Count<game::TMenuPlanet>(), 0);
  EXPECT_EQ(Engine.Count(), 1 + 2 + 1);      // the player's car and probes, and the ticker
  game::RemoveMenuScenery(Engine, scenery);  // nothing left to remove: nothing happens
  EXPECT_EQ(Engine.Count(), 1 + 2 + 1);
}

TEST_F(Scenery, LightWaitsThenFadesInAndOut) {
  vexel::TVexelImageList menu;
  auto* light = Engine.Create<game::TLight>(menu, Random, 0.0f, 0.0f, 0);
  light->Wait = 10;
  std::vector<int32_t> alphas;
  for (int n = 0; n < 10 + 255 + 255 + 12; ++n) {
    light->DoMove(0);
    alphas.push_back(light->Alpha());
  }
  EXPECT_EQ(alphas[9], 0);
  EXPECT_EQ(alphas[10], 1);
  EXPECT_EQ(alphas[264], 255);
  EXPECT_EQ(alphas[265], 254);
  EXPECT_EQ(alphas[519], 0);
  EXPECT_EQ(alphas[520], 0);  // dark again for its wait
  EXPECT_EQ(alphas[530], 1);
}

TEST_F(Scenery, ChooseLineFollowsTheCursorAndPulses) {
  vexel::TVexelImageList menu;
  int32_t cursor = 2;
  auto* line = Engine.Create<game::TChooseLine>(menu, Random, 10.0f, 10.0f, cursor);
  line->SetAlpha(240);
  line->DoMove(0);
  EXPECT_EQ(line->Y(), 352 + 30);
  EXPECT_EQ(line->Alpha(), 245);
  line->DoMove(0);
  line->DoMove(0);
  EXPECT_EQ(line->Alpha(), 250);
  EXPECT_EQ(line->PulseStep, -5);
  cursor = 0;
  line->DoMove(0);
  EXPECT_EQ(line->Y(), 352);
  EXPECT_EQ(line->Alpha(), 245);
  line->SetAlpha(100);
  line->DoMove(0);
  EXPECT_EQ(line->PulseStep, 5);
  EXPECT_EQ(line->Alpha(), 100);  // the turn takes a frame of its own
}

TEST_F(Scenery, StarsTwinkle) {
  game::TStars stars = game::MakeStars(Random);
  for (const game::TStar& star : stars) {
    EXPECT_LT(star.X, 800);
    EXPECT_LT(star.Y, 600);
    EXPECT_LT(star.Countdown, 250);
    EXPECT_LT(star.Brightness, 100);
  }
  stars[0].Countdown = 0;
  stars[0].Brightness = 40;
  stars[1].Countdown = 0;
  stars[1].Brightness = 90;
  stars[2].Countdown = 7;
  stars[2].Brightness = 60;
  Device->Calls.clear();
  game::DrawStars(stars, Screen, Random);
  EXPECT_EQ(stars[0].Brightness, 70);
  EXPECT_EQ(stars[1].Brightness, 10);
  EXPECT_EQ(stars[2].Brightness, 60);
  EXPECT_EQ(stars[2].Countdown, 6);
  EXPECT_LT(stars[0].Countdown, 50);
}

}  // namespace
}  // namespace racetest
