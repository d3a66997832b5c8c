#include "BackgroundAbstract.h"

#include <cmath>

#include "Player.h"
#include "engine/VexelImageListItem.h"

namespace game {
namespace {

/// The share of the world's movement the background moves by.
constexpr double kParallax = 0.7;

/// A coordinate moved by whole tiles into [-size, 0]; a position already there stays exact.
double WrapInto(double value, int32_t size) {
  if (size <= 0 || (value <= 0 && value >= -size)) return value;
  const double wrapped = std::fmod(value, size);
  return wrapped > 0 ? wrapped - size : wrapped;
}

}  // namespace

TBackgroundAbstract::TBackgroundAbstract(vexel::TVexelSprite& engine, TRaceWorld& world)
    : TRaceSprite(engine, world) {}

void TBackgroundAbstract::Setup(const std::string& imageKey, int32_t z, bool centred, int32_t alpha,
                                float y, float x) {
  UseImage(imageKey);
  if (Image()) {
    SetWidth(Image()->ImageWidth);
    SetHeight(Image()->ImageHeight);
  }
  if (centred) {
    SetX(static_cast<float>(400 - Width() / 2.0));
    SetY(static_cast<float>(300 - Height() / 2.0));
  } else {
    SetX(x);
    SetY(y);
  }
  SetZ(z);
  SetPatternIndex(0);
  SetAlpha(alpha);
  CenterX = CenterY = 0.5f;
  Rotation = 0;
  TilesX = Width() > 0 ? 800 / Width() + 1 : 0;
  TilesY = Height() > 0 ? 600 / Height() + 1 : 0;
}

void TBackgroundAbstract::DoMove(float delta) {
  TRaceSprite::DoMove(delta);
  const TPlayer& player = *World.Player;
  MoveBy(kParallax * (player.ShiftX + player.BounceX),
         kParallax * (player.ShiftY + player.BounceY));
}

void TBackgroundAbstract::DoDraw() {
  const int32_t w = Width();
  const int32_t h = Height();
  if (X() > 0) {
    MoveBy(-w, 0);
  } else if (static_cast<double>(X()) < -w) {
    MoveBy(w, 0);
  }
  if (Y() > 0) {
    MoveBy(0, -h);
  } else if (static_cast<double>(Y()) < -h) {
    MoveBy(0, h);
  }
  if (!Visible || !Image() || !Image()->Renderer) return;
  // The view's offset moves the background by its parallax share too; the tiles start within
  // one tile left of and above the screen's corner, as the wrapped position does.
  const double left = WrapInto(X() - kParallax * Engine().CameraX, w);
  const double top = WrapInto(Y() - kParallax * Engine().CameraY, h);
  for (int32_t c = 0; c <= TilesX; ++c) {
    for (int32_t d = 0; d <= TilesY; ++d) {
      Image()->DrawSprite(vexel::RoundCoord(static_cast<long double>(left) + c * w),
                          vexel::RoundCoord(static_cast<long double>(top) + d * h), Rotation,
                          CenterX, CenterY, ScaleX, ScaleY, Color1, Color2, Color3, Color4, MirrorY,
                          MirrorX, PatternIndex(), BlendMode);
    }
  }
}

}  // namespace game
