#include "CheckLine.h"

#include "Player.h"

namespace game {

TCheckLine::TCheckLine(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX,
                       double centreY, int32_t number)
    : TRaceSprite(engine, world), Number(number) {
  UseImage("checkline");
  SetName("checkline");
  SetPatternIndex(0);
  CenterX = CenterY = 0.5f;
  SetX(static_cast<float>(centreX - Width() / 2.0));
  SetY(static_cast<float>(centreY - Height() / 2.0));
  SetZ(31);
  Visible = true;
  Quad = RectangleQuad();
  QuadAngles = RectangleQuadAngles();
  SetAlpha(100);
  PulseDir = 1;
  world.WorldSprites.push_back(this);
  world.CheckLines.push_back(this);
}

void TCheckLine::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  FollowWorld();
  TPlayer& player = *World.Player;
  if (player.NextCheckpoint == Number) {
    const TPoint2 c = Centre();
    player.TargetX = c.X;
    player.TargetY = c.Y;
    Visible = true;
  } else {
    Visible = false;
  }
  Quad = RotatedQuad(0, QuadAngles);
  TestPassing();
  Pulse();
}

void TCheckLine::TestPassing() {
  TPlayer& player = *World.Player;
  if (!QuadsOverlap(Quad, player.Corners)) return;
  if (Number == 2) player.LapArmed = true;
  if (player.NextCheckpoint == Number) {
    player.NextCheckpoint = Number + 1 == World.CheckLineCount ? 0 : player.NextCheckpoint + 1;
    player.LastCheckpoint = Number;
  }
}

void TCheckLine::Pulse() {
  if (Alpha() > 230) {
    PulseDir = -1;
  } else if (Alpha() < 50) {
    PulseDir = 1;
  }
  SetAlpha(Alpha() + 2 * PulseDir);
}

}  // namespace game
