#include "PlayerMark.h"

#include "Player.h"

namespace game {
namespace {

/// Below the cars (50) and above the road, paint, checkpoint and finish lines.
constexpr int32_t kMarkDepth = 49;

}  // namespace

TPlayerMark::TPlayerMark(vexel::TVexelSprite& engine, TRaceWorld& world)
    : TRaceSprite(engine, world) {
  UseImage("playermark");
  SetName("playermark");
  SetZ(kMarkDepth);
  Visible = true;
}

void TPlayerMark::DoDraw() {
  if (!Visible || !Image() || !World.Player) return;
  World.Player->DrawCentred(*Image(), 0, 0xFFFFFFFF);
}

}  // namespace game
