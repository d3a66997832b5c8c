#pragma once
// A race world on the recording display device, with race pictures cut to the game's cell
// sizes, and helpers that write track files and place cars by hand.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/RecordingDevice.h"
#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "engine/VexelSprite.h"
#include "game/GameConstants.h"
#include "game/RaceSetup.h"
#include "game/race/EnemyCar.h"
#include "game/race/Player.h"
#include "game/race/RaceWorld.h"

namespace racetest {

/// One record of a hand-made track file.
struct TRecord {
  int32_t PosX = 0;
  int32_t PosY = 0;
  int32_t Kind = 0;
  int32_t ParamA = 0;
  int32_t ParamB = 0;
};

/// Writes the records as a track file, plus Extra trailing bytes of zeros.
void WriteTrack(const std::string& file, const std::vector<TRecord>& records, size_t extra = 0);

/// Records of a track that can make a race with the given opponents: a finish line, grid slots
/// 1 .. opponents + 1, three path points and three checkpoint lines.
std::vector<TRecord> MinimalTrack(int32_t opponents);

/// Whether two colours (0xAARRGGBB) match in red, green and blue within the rounding of the
/// display device (one step a channel).
bool SameRgb(uint32_t a, uint32_t b);

/// The middle of a drawn quad.
game::TPoint2 Middle(const std::vector<vexel::TVertex>& quad);

/// A race world over a sprite engine and race pictures of the game's cell sizes (solid
/// pictures, bound to the recording device), with its own random generator and key flags.
class RaceFixture : public ::testing::Test {
 protected:
  RaceFixture();

  /// Changes the cell size of a picture before the sprites that use it are made.
  void SetTile(const std::string& key, int32_t width, int32_t height);
  /// Uses the given path (already in driving order) for the cars.
  void SetPath(const std::vector<game::TPathPoint>& points);
  /// Makes the player's car centred on (X, Y).
  game::TPlayer& MakePlayer(double x, double y, int32_t carType = 0, double heading = 270);
  /// Makes the next opponent centred on (X, Y).
  game::TEnemyCar& MakeEnemy(double x, double y, int32_t carType = 0, double heading = 270);
  /// Writes a track file as "Data\<name>" of the data folder and returns its game path.
  std::string PutTrack(const std::string& name, const std::vector<TRecord>& records,
                       size_t extra = 0);
  /// Selects a catalogue slot whose file is the given game path, with that many opponents.
  void SelectTrack(const std::string& gamePath, int32_t opponents, int32_t laps = 3);
  /// Runs the engine's frame: ClearDead, Move, then the path follows the world.
  void Frame();
  /// The quads the recording device drew with a picture's texture since its calls were last
  /// cleared, four corners each, in drawing order.
  std::vector<std::vector<vexel::TVertex>> QuadsOf(const std::string& key) const;
  /// The first live sprite of a class, or none.
  template <class T>
  T* First() const {
    for (vexel::TSprite* sprite : Engine.SpriteList()) {
      if (auto* found = dynamic_cast<T*>(sprite); found && !sprite->Dead()) return found;
    }
    return nullptr;
  }
  /// Number of live sprites of a class.
  template <class T>
  int Count() const {
    int n = 0;
    for (vexel::TSprite* sprite : Engine.SpriteList()) {
      if (dynamic_cast<T*>(sprite) && !sprite->Dead()) ++n;
    }
    return n;
  }

  vexel::TVexelScreen Screen;
  vexel::TRecordingDevice* Device = nullptr;
  vexel::TVexelImageList Images;
  vexel::TVexelSprite Engine;
  game::TGameCatalogue Catalogue;
  std::mt19937 Random{12345};
  game::TKeyTable KeyDown{};
  game::TKeyTable KeyReleased{};
  /// A data folder of the test's own, with a "Data" folder inside.
  std::string Dir;
  game::TRaceWorld World;
};

}  // namespace racetest
