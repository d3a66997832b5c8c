#include "SpeedArrow.h"

#include <cmath>

#include "Player.h"

namespace game {

TSpeedArrow::TSpeedArrow(vexel::TVexelSprite& engine, TRaceWorld& world, float x, float y,
                         double maxSpeed, double reverseLimit)
    : TRaceSprite(engine, world), MaxSpeed(maxSpeed), ReverseLimit(reverseLimit) {
  UseImage("blank");
  SetName("speedarrow");
  SetX(x);
  SetY(y);
  CenterX = 0.5f;
  CenterY = 1.0f;
  Visible = true;
  Rotation = -315;
  IgnoreCamera = true;  // part of the HUD: it stays put when the view moves
  SetZ(510);
}

void TSpeedArrow::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  const double s = World.Player->Speed;
  NeedleAngle = s >= 0 ? s / MaxSpeed * 190 : -std::fabs(s) / ReverseLimit * 190;
  Rotation = static_cast<float>(585 - NeedleAngle);
}

}  // namespace game
