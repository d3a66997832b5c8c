#include "RoadRock.h"

#include <cmath>

#include "EnemyCar.h"
#include "Player.h"
#include "game/AnglesAndRandom.h"

namespace game {
namespace {

constexpr double kPlayerRange = 200;
constexpr double kFeelerRange = 200;
constexpr double kFeelerHalf = 10;

/// Picture, name and placement of an obstacle kind.
struct TRockLook {
  const char* Image;
  const char* Name;
  /// Random rotation and this many random cells (0: fixed look).
  int32_t RandomCells;
};

TRockLook LookOf(int32_t kind) {
  if (kind >= 1 && kind <= 7) return {"bigblocks", "roadrock", 8};
  switch (kind) {
    case 8:
      return {"rock1", "roadrock", 5};
    case 9:
      return {"ark", "roadrock", 3};
    case 10:
      return {"horwall", "wall", 0};
    case 11:
      return {"vertwall", "wall", 0};
    case 12:
      return {"horwalls", "wall", 0};
    case 13:
      return {"vertwalls", "wall", 0};
    default:
      return {nullptr, "roadrock", 0};
  }
}

}  // namespace

TRoadRock::TRoadRock(vexel::TVexelSprite& engine, TRaceWorld& world, float x, float y,
                     int32_t rockKind)
    : TRaceSprite(engine, world), RockKind(rockKind) {
  SetZ(30);
  CenterX = CenterY = 0.5f;
  const TRockLook look = LookOf(rockKind);
  if (look.Image) UseImage(look.Image);
  SetName(look.Name);
  if (look.RandomCells > 0) {
    Rotation = static_cast<float>(RandomBelow(world.Random, 360) - 180);
    SetPatternIndex(RandomBelow(world.Random, look.RandomCells));
  } else {
    SetPatternIndex(rockKind == 12 || rockKind == 13 ? world.WallVariant : 0);
  }
  SetX(rockKind == 12 ? x : static_cast<float>(x - Width() / 2.0));
  SetY(rockKind == 13 ? y : static_cast<float>(y - Height() / 2.0));
  QuadAngles = RectangleQuadAngles();
  Quad = RotatedQuad(Rotation, QuadAngles);
  world.WorldSprites.push_back(this);
}

void TRoadRock::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  FollowWorld();
  Quad = RotatedQuad(Rotation, QuadAngles);
  Collide();
  MarkFeelers();
}

void TRoadRock::Collide() {
  for (int32_t i = 0; i < World.EnemyCount; ++i) {
    const bool hit = QuadsOverlap(Quad, World.Enemy(i).Corners);
    if (hit && !EnemyHit[static_cast<size_t>(i)]) ReportHit(World.Enemy(i));
    EnemyHit[static_cast<size_t>(i)] = hit;
  }
  for (int32_t i = 0; i < World.EnemyCount; ++i) {
    if (EnemyHit[static_cast<size_t>(i)]) Push(World.Enemy(i), false);
  }
  const bool playerWasHit = PlayerHit;
  PlayerHit = false;
  TPlayer& player = *World.Player;
  if (Distance(Centre(), player.Centre()) < kPlayerRange && QuadsOverlap(Quad, player.Corners)) {
    PlayerHit = true;
    if (!playerWasHit) ReportHit(player);
    Push(player, true);
  }
}

void TRoadRock::ReportHit(const TCar& car) const {
  const TPoint2 a = Centre();
  const TPoint2 b = car.Centre();
  World.ReportImpact({(a.X + b.X) / 2, (a.Y + b.Y) / 2}, std::fabs(car.Speed));
}

void TRoadRock::Push(TCar& car, bool isPlayer) {
  const TPoint2 n = UnitVector(car.Centre(), Centre());
  const TPoint2 m = car.TravelUnit();
  const double wx = std::fabs(m.X) / 2 + 0.5;
  const double wy = std::fabs(m.Y) / 2 + 0.5;
  if (isPlayer) {
    ShiftWorld(World, wx * 2 * n.X, wy * 2 * n.Y);
  } else {
    car.MoveBy(-(wx * 14 * n.X), -(wy * 14 * n.Y));
  }
  const double d = n.X * m.X + n.Y * m.Y;
  const double c = n.X * m.Y - n.Y * m.X;
  const double turn = (2 - 2 * c) * 4;
  if (c == 0) return;
  const bool turnUp = d > 0 ? c > 0 : c <= 0;
  const double delta = turnUp ? turn : -turn;
  car.Heading += delta;
  car.TravelDir += delta;
  car.Speed *= d > 0 ? (0.5 - d) / 2 + 0.7 : (d + 0.5) / 2 + 0.7;
}

void TRoadRock::MarkFeelers() {
  const TPoint2 centre = Centre();
  for (int32_t i = 0; i < World.EnemyCount; ++i) {
    TEnemyCar& enemy = World.Enemy(i);
    if (Distance(enemy.Centre(), centre) >= kFeelerRange) continue;
    for (size_t j = 0; j < 2; ++j) {
      TFeeler& feeler = enemy.Feelers[j];
      if (QuadsOverlap(SquareAround({feeler.X, feeler.Y}, kFeelerHalf), Quad)) {
        feeler.Blocked = true;
      }
    }
  }
}

}  // namespace game
