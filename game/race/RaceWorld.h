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

namespace vexel {
class TImageListItem;
class TSprite;
class TVexelImageList;
class TVexelSprite;
}  // namespace vexel

namespace game {

class TEnemyCar;
class TPlayer;

/// Most opponents a race can hold: the grid has nine slots and the player takes one.
inline constexpr int32_t MaxOpponents = MaxGridSlots - 1;
/// Finishing places a race can hand out.
inline constexpr int32_t MaxPlaces = MaxOpponents + 1;
/// The `Who` of the player's finishing record.
inline constexpr int32_t PlayerWho = 100;
/// Frames the start lights run before the green light.
inline constexpr int32_t GreenLightTick = 250;
/// Where the player's car sits on the screen (its centre) for the whole race.
inline constexpr double PlayerScreenX = 396;
inline constexpr double PlayerScreenY = 321;

/// One flag per virtual-key code.
using TKeyTable = std::array<bool, 256>;

/// One finishing place: who (opponent index, or PlayerWho) and the race time at the finish.
struct TRaceResult {
  int32_t Who = 0;
  TRaceTime Time;
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

  // Running values of the race.
  double PlayerProgress = 0;
  std::array<double, MaxOpponents> EnemyProgress{};
  int32_t FinishCount = 1;
  /// Finishing places 1 .. MaxPlaces (index 0 unused).
  std::array<TRaceResult, MaxPlaces + 1> RaceResults{};
  bool PlayerFinished = false;
  int32_t WaitTicks = 0;
};

}  // namespace game
