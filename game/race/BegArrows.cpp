#include "BegArrows.h"

namespace game {

TBegArrows::TBegArrows(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX,
                       double centreY)
    : TRaceSprite(engine, world) {
  UseImage("begarrows");
  SetName("begarrows");
  SetX(static_cast<float>(centreX - Width() / 2.0));
  SetY(static_cast<float>(centreY - Height() / 2.0));
  CenterX = CenterY = 0.5f;
  Rotation = 0;
  SetZ(550);
}

void TBegArrows::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  Rotation = static_cast<float>(Rotation + 1.0);
}

}  // namespace game
