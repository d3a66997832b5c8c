#pragma once
// An obstacle.

#include <array>
#include <cstdint>

#include "RaceSprite.h"
#include "RaceWorld.h"

namespace game {

class TCar;

/// A solid obstacle placed by the track file: a block, rock or arc at a random angle, or a
/// plain or striped wall. Every frame it follows the world, pushes and deflects the cars whose
/// quads touch its rotated rectangle, and marks the feelers of nearby opponents that reach it.
class TRoadRock : public TRaceSprite {
 public:
  /// An obstacle of the given kind at (X, Y): centred there, except striped walls (kind 12 has
  /// its left edge at X, kind 13 its top edge at Y).
  TRoadRock(vexel::TVexelSprite& engine, TRaceWorld& world, float x, float y, int32_t rockKind);

  /// Follows the world, collides with the cars and marks feelers.
  void DoMove(float delta) override;
  /// Separates car C from the obstacle, and turns and slows it unless it hits square on.
  void Push(TCar& car, bool isPlayer);

  TQuad Quad{};
  std::array<double, 4> QuadAngles{};
  int32_t RockKind = 0;
  std::array<bool, MaxOpponents> EnemyHit{};
  bool PlayerHit = false;

 private:
  void Collide();
  void ReportHit(const TCar& car) const;
  void MarkFeelers();
};

}  // namespace game
