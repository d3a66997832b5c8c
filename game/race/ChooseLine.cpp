#include "ChooseLine.h"

#include "game/AnglesAndRandom.h"

namespace game {

TChooseLine::TChooseLine(vexel::TVexelSprite& engine, vexel::TVexelImageList& menuImages,
                         std::mt19937& random, float x, float y, const int32_t& profileCursor)
    : TSprite(engine), ProfileCursor_(profileCursor) {
  SetImage(menuImages.ImageList.Find("chooseline"));
  SetName("chooseline");
  SetX(x);
  SetY(y);
  SetPatternIndex(0);
  SetAlpha(100 + RandomBelow(random, 100));
  PulseStep = 5;
  SetZ(610);
}

void TChooseLine::DoMove(float delta) {
  TSprite::DoMove(delta);
  SetY(static_cast<float>(352 + 15 * ProfileCursor_));
  if (PulseStep <= 0) {
    if (Alpha() <= 100) {
      PulseStep = 5;
    } else {
      SetAlpha(Alpha() + PulseStep);
    }
  } else if (Alpha() >= 250) {
    PulseStep = -5;
  } else {
    SetAlpha(Alpha() + PulseStep);
  }
}

}  // namespace game
