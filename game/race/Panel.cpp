#include "Panel.h"

#include "Player.h"

namespace game {

TPanel::TPanel(vexel::TVexelSprite& engine, TRaceWorld& world, float x, float y, int32_t kind)
    : TRaceSprite(engine, world), PanelKind(kind) {
  const char* key = kind == 0 ? "speeder" : "upspeeder";
  UseImage(key);
  SetName(key);
  SetX(x);
  SetY(y);
  SetPatternIndex(0);
  SetAlpha(255);
  Visible = true;
  IgnoreCamera = true;  // part of the HUD: it stays put when the view moves
  SetZ(kind == 0 ? 480 : 520);
}

void TPanel::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  if (PanelKind == 0) SetPatternIndex(World.Player->Speed >= 0 ? 0 : 1);
}

}  // namespace game
