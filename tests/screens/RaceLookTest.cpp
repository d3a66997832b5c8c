// Mid-race screenshots of the real game as a newcomer sees it: the ring around the player's car
// and the track map in the HUD's deck, with the player's dot and the opponents' dots in their
// colours, on "Track 1" with a new profile (every car of one type) and on "Track 11".

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "GameRun.h"
#include "RaceScript.h"
#include "Screenshot.h"
#include "game/SettingsFile.h"
#include "game/race/RaceCamera.h"
#include "game/race/RaceWorld.h"

namespace {

using testgame::At;
using testgame::TGameRun;

constexpr long kMenu = testgame::MenuFrame;
/// Start lights (250 frames) and about six seconds of racing.
constexpr long kMidRace = 250 + 540;

using testgame::TScreenshot;

/// A pixel near the player's colour (kPlayerColour, a bright green) or its glow over the road.
bool PlayerGreen(const TScreenshot& shot, int32_t x, int32_t y) {
  const int r = shot.R(x, y);
  const int g = shot.G(x, y);
  const int b = shot.B(x, y);
  return g >= 170 && g - r >= 90 && g - b >= 20 && b >= 60;
}

/// One race to look at: the profile's open cars and tracks, and the track steps to the right.
struct TRaceCase {
  const char* Name;
  int32_t Cars;
  int32_t Tracks;
  int32_t TrackSteps;
};

class RaceLook : public ::testing::TestWithParam<TRaceCase> {
 protected:
  /// Races the case on autopilot and returns the mid-race screenshot.
  TScreenshot Shoot() {
    const TRaceCase& c = GetParam();
    TGameRun run(c.Name);
    game::TGameSettings settings;
    settings.Profiles.ProfileCount = 1;
    settings.Profiles.Profiles[0] = {"Ann", c.Cars, c.Tracks, 0, 300, 0};
    settings.PlayerName = "Ann";
    std::string error;
    EXPECT_TRUE(game::TSettingsFile::SaveConfig(run.ConfigDir() + "/Config.cfg", settings, error))
        << error;
    std::string script = At(kMenu, "click 697 219");
    long frame = kMenu + 30;
    for (int32_t i = 0; i < c.TrackSteps; ++i, frame += 4) script += At(frame, "key right");
    script += At(frame + 10, "key enter") + At(frame + 50, "key enter");
    const long raceStart = frame + 50;
    const std::string shot = run.Dir() + "/mid-race.png";
    EXPECT_EQ(
        run.Run(script, raceStart + kMidRace, {"--screenshot", shot, "--autopilot", "--seed", "3"}),
        0)
        << run.Errors();
    EXPECT_EQ(run.LastState(), 12) << "still racing";
    std::cout << "screenshot: " << shot << "\n";
    return TScreenshot::Load(shot);
  }
};

/// The ring in the player's colour surrounds the player's car.
void ExpectRingAroundThePlayer(const TScreenshot& shot) {
  // The ring's pixels in the race's part of the screen (above the HUD console).
  double sumX = 0;
  double sumY = 0;
  int count = 0;
  for (int32_t y = 0; y < 466; ++y) {
    for (int32_t x = 0; x < shot.Width; ++x) {
      if (!PlayerGreen(shot, x, y)) continue;
      sumX += x;
      sumY += y;
      ++count;
    }
  }
  ASSERT_GT(count, 150) << "no ring in the player's colour";
  const double cx = sumX / count;
  const double cy = sumY / count;
  std::cout << "ring centre " << cx << "," << cy << " from " << count << " pixels\n";
  // The ring's middle is the player's car: wherever the look-ahead view puts it, inside the part
  // of the screen the view keeps the car in.
  EXPECT_GE(cx, game::TRaceCamera::kSafeLeft);
  EXPECT_LE(cx, game::TRaceCamera::kSafeRight);
  EXPECT_GE(cy, game::TRaceCamera::kSafeTop);
  EXPECT_LE(cy, game::TRaceCamera::kSafeBottom);
  // It surrounds the car: ring pixels lie on every side of the middle, at the ring's radius.
  int sides[4] = {0, 0, 0, 0};
  for (int32_t y = static_cast<int32_t>(cy) - 50; y <= static_cast<int32_t>(cy) + 50; ++y) {
    for (int32_t x = static_cast<int32_t>(cx) - 50; x <= static_cast<int32_t>(cx) + 50; ++x) {
      if (x < 0 || y < 0 || x >= shot.Width || y >= 466 || !PlayerGreen(shot, x, y)) continue;
      const double d = std::hypot(x - cx, y - cy);
      if (d < 28 || d > 48) continue;
      sides[(x >= cx ? 1 : 0) + (y >= cy ? 2 : 0)] += 1;
    }
  }
  for (int k = 0; k < 4; ++k) EXPECT_GT(sides[k], 5) << "quarter " << k;
}

/// The track map in the deck shows the road, the player's dot and the opponents' dots.
void ExpectTrackMap(const TScreenshot& shot) {
  int road = 0;
  int player = 0;
  std::set<uint32_t> opponentsSeen;
  for (int32_t y = 528; y < 586; ++y) {
    for (int32_t x = 232; x < 660; ++x) {
      const int r = shot.R(x, y);
      const int g = shot.G(x, y);
      const int b = shot.B(x, y);
      // The map's road: a light grey-blue.
      if (b >= 180 && r >= 130 && g >= 150 && b - r >= 30 && b - r <= 90) ++road;
      if (PlayerGreen(shot, x, y)) ++player;
      for (uint32_t colour : game::kOpponentColours) {
        const int cr = static_cast<int>((colour >> 16) & 0xFF);
        const int cg = static_cast<int>((colour >> 8) & 0xFF);
        const int cb = static_cast<int>(colour & 0xFF);
        if (std::abs(r - cr) + std::abs(g - cg) + std::abs(b - cb) < 30) {
          opponentsSeen.insert(colour);
        }
      }
    }
  }
  EXPECT_GT(road, 300) << "no road drawn on the map";
  EXPECT_GT(player, 8) << "no player's dot on the map";
  // Dots can hide each other when cars run close together; most must show.
  EXPECT_GE(opponentsSeen.size(), 3u);
}

TEST_P(RaceLook, RingAroundThePlayersCarAndTrackMapInTheDeck) {
  const TScreenshot shot = Shoot();
  ASSERT_EQ(shot.Width, 800);
  ASSERT_EQ(shot.Height, 600);
  ExpectRingAroundThePlayer(shot);
  ExpectTrackMap(shot);
}

INSTANTIATE_TEST_SUITE_P(Tracks, RaceLook,
                         ::testing::Values(TRaceCase{"NewProfileTrack1", 1, 1, 0},
                                           TRaceCase{"Track11", 5, 12, 10}),
                         [](const auto& p) { return std::string(p.param.Name); });

}  // namespace
