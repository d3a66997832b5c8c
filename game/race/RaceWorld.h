#pragma once
// The shared state of one race.

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "game/GameConstants.h"
#include "game/RaceSetup.h"
#include "game/RaceTime.h"
#include "game/race/RaceCamera.h"
#include "game/race/TrackReturn.h"

namespace vexel {
class TImageListItem;
class TSprite;
class TVexelImageList;
class TVexelSprite;
}  // namespace vexel

namespace game {

class TCheckLine;
class TEnemyCar;
class TFinishLine;
class TPlayer;

/// Most opponents a race can hold: the grid has nine slots and the player takes one.
inline constexpr int32_t MaxOpponents = MaxGridSlots - 1;
/// Finishing places a race can hand out.
inline constexpr int32_t MaxPlaces = MaxOpponents + 1;
/// The `Who` of the player's finishing record.
inline constexpr int32_t PlayerWho = 100;
/// Frames the start lights run before the green light.
inline constexpr int32_t GreenLightTick = 250;
/// Where the player's car sits in the race world (its centre) for the whole race; the classic
/// view draws it there, the look-ahead view shifts it with everything else of the race.
inline constexpr double PlayerScreenX = 396;
inline constexpr double PlayerScreenY = 321;

/// The screen the race is seen on (the back buffer), in pixels.
inline constexpr int32_t kRaceViewWidth = 800;
inline constexpr int32_t kRaceViewHeight = 600;
/// The player's colour (0xAARRGGBB): the ring under the player's car and the player's dot on
/// the track map. No opponent colour comes near it.
inline constexpr uint32_t kPlayerColour = 0xFF3DFF9A;
/// The opponents' colours by opponent index: the tint of each opponent's paint and its dot on
/// the track map. They differ from each other, from the player's colour and from the bodies
/// of the five cars as drawn (red, cyan, orange, green, violet), so that opponents of one car
/// type, and the player in that car, can be told apart.
inline constexpr std::array<uint32_t, MaxOpponents> kOpponentColours = {
    0xFFFFD21E,  // gold
    0xFFFF4FC8,  // pink
    0xFFF0F4FF,  // pearl
    0xFF2F4DFF,  // royal blue
    0xFF9A5424,  // bronze
    0xFF12A89A,  // teal
    0xFF8C94A8,  // steel
    0xFF9FE0FF,  // ice
};

/// One flag per virtual-key code.
using TKeyTable = std::array<bool, 256>;

/// One finishing place: who (opponent index, or PlayerWho) and the race time at the finish.
struct TRaceResult {
  int32_t Who = 0;
  TRaceTime Time;
};

/// A bump that began between two cars or a car and an obstacle: where (screen pixels) and how
/// hard (the speed of the one against the other, pixels a frame). Only heard, never acted on.
struct TRaceImpact {
  double X = 0;
  double Y = 0;
  double Speed = 0;
};

/// A starting-grid slot of the track file.
struct TStartSlot {
  double X = 0;
  double Y = 0;
  double Heading = 0;
  bool Present = false;
};

/// Everything one race shares between its sprites and the shell: the engine and race pictures
/// the sprites use, the game's random generator, the key flags the player's car reads, the
/// tables the track loader fills, the cars, and the running values (progress, finishing places,
/// the player's finish). Made fresh for each race; the race's sprites belong to the engine and
/// keep a reference to it, so it must outlive them (the shell kills them when the race ends).
class TRaceWorld {
 public:
  /// A race world over the engine and the race image list; dataDir is the game's data folder.
  TRaceWorld(vexel::TVexelSprite& engine, vexel::TVexelImageList& images, TGameCatalogue& catalogue,
             std::mt19937& random, TKeyTable& keyDown, TKeyTable& keyReleased, std::string dataDir);
  TRaceWorld(const TRaceWorld&) = delete;
  TRaceWorld& operator=(const TRaceWorld&) = delete;

  /// The race picture with this key, or none.
  vexel::TImageListItem* Image(const std::string& key) const;
  /// The file of a game path ("Data\data2.prd") inside the data folder.
  std::string DataFile(const std::string& gamePath) const;
  /// Path point Index, counted from 1.
  TPathPoint& PathPoint(int32_t index) { return PathPoints[static_cast<size_t>(index - 1)]; }
  /// Distance along the path to point Index (counted from 1), in units of 10 pixels.
  double PathDistanceAt(int32_t index) const {
    return PathDistance[static_cast<size_t>(index - 1)];
  }
  /// Distance along the path from its first point to its last (0 without a path).
  double LapLength() const { return PathDistance.empty() ? 0 : PathDistance.back(); }
  /// Opponent Index (0-based).
  TEnemyCar& Enemy(int32_t index) const { return *Enemies[static_cast<size_t>(index)]; }

  /// One 10 ms tick of the race clock: the player's lap clock while it runs, the player's race
  /// time, and every opponent's race time.
  void RaceClockStep();
  /// Before the green light: holds every opponent at speed 0.
  void HoldOpponents();
  /// The green light: the player's controls and every opponent are released.
  void ReleaseStart();
  /// Whether every car of the race has finished.
  bool AllFinished() const { return FinishCount == EnemyCount + 2; }
  /// Stores a finishing place and hands out the next one (places beyond the table are dropped).
  int32_t TakeFinishPlace(int32_t who, const TRaceTime& time);
  /// Keeps a bump that began at `at` with the given speed when it is the hardest one since
  /// the race sound last took Impact.
  void ReportImpact(const TPoint2& at, double speed);
  /// Where a point of the race world is drawn on the screen: shifted back by the view's offset.
  TPoint2 ToScreen(const TPoint2& point) const;
  /// Where the centre of the player's car is drawn on the screen now.
  TPoint2 PlayerOnScreen() const;
  /// Where the point (0, 0) of the track file lies in the race world now (the world has moved
  /// by the player's shifts since the setup), found from the finish line; (0, 0) without one.
  TPoint2 TrackOrigin() const;

  vexel::TVexelSprite& Engine;
  vexel::TVexelImageList& Images;
  TGameCatalogue& Catalogue;
  std::mt19937& Random;
  TKeyTable& KeyDown;
  TKeyTable& KeyReleased;
  std::string DataDir;

  /// Car types of the opponents in index order; when empty they are drawn at random from the
  /// open cars.
  std::vector<int32_t> OpponentCarTypes;
  /// Whether the race screen is shown (opponents off it accelerate at half strength).
  bool OnRaceScreen = true;
  /// A time trial: the player alone on the track, from the first grid slot.
  bool TimeTrial = false;

  // Tables of the track, filled by LoadTrack and SetupRace.
  std::vector<TPathPoint> PathPoints;
  int32_t PathCount = 0;
  int32_t TaggedPathCount = 0;
  std::vector<double> PathDistance;
  int32_t CheckLineCount = 0;
  /// Grid slots 1 .. MaxGridSlots (index 0 unused).
  std::array<TStartSlot, MaxGridSlots + 1> StartSlots{};
  int32_t WallVariant = 0;
  int32_t RaceLaps = 0;
  int32_t OpponentsWanted = 0;

  // The cars.
  TPlayer* Player = nullptr;
  int32_t EnemyCount = 0;
  std::array<TEnemyCar*, MaxOpponents> Enemies{};

  /// Sprites ShiftWorld moves besides the opponents: road, paint, obstacles, background,
  /// checkpoint and finish lines.
  std::vector<vexel::TSprite*> WorldSprites;
  /// Road pieces and road paint: where the ground probes find road.
  std::vector<vexel::TSprite*> RoadSurfaces;
  /// The checkpoint lines in the order of the track file, and its (first) finish line.
  std::vector<TCheckLine*> CheckLines;
  TFinishLine* FinishLine = nullptr;

  // Running values of the race.
  double PlayerProgress = 0;
  std::array<double, MaxOpponents> EnemyProgress{};
  int32_t FinishCount = 1;
  /// Finishing places 1 .. MaxPlaces (index 0 unused).
  std::array<TRaceResult, MaxPlaces + 1> RaceResults{};
  bool PlayerFinished = false;
  int32_t WaitTicks = 0;
  /// The hardest bump reported since the race sound last took it (speed 0: none).
  TRaceImpact Impact;

  /// The race's view: the offset every race sprite is drawn shifted by.
  TRaceCamera Camera{Engine};
  /// Putting the player's car back on the road when the player asks for it.
  TTrackReturn TrackReturn{*this};
};

}  // namespace game
