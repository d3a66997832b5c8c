#include "Light.h"

#include "game/AnglesAndRandom.h"

namespace game {

TLight::TLight(vexel::TVexelSprite& engine, vexel::TVexelImageList& menuImages,
               std::mt19937& random, float x, float y, int32_t kind)
    : TSprite(engine) {
  SetImage(menuImages.ImageList.Find(kind == 0 ? "light1" : "light2"));
  SetName("light");
  SetX(x);
  SetY(y);
  CenterX = 0;
  CenterY = 0.5f;
  SetAlpha(0);
  Tick = 1;
  FadeDir = 1;
  Wait = 200 + RandomBelow(random, 200);
  SetZ(149);
  Visible = true;
}

void TLight::DoMove(float delta) {
  TSprite::DoMove(delta);
  if (Wait < Tick) {
    if (FadeDir == 1) {
      SetAlpha(Alpha() + 1);
      if (Alpha() > 254) FadeDir = -1;
    } else {
      SetAlpha(Alpha() - 1);
      if (Alpha() <= 0) {
        FadeDir = 1;
        Tick = 0;
      }
    }
  }
  ++Tick;
}

}  // namespace game
