#include "RaceCamera.h"

#include <algorithm>
#include <cmath>

#include "RaceWorld.h"
#include "engine/VexelSprite.h"

namespace game {

TRaceCamera::TRaceCamera(vexel::TVexelSprite& engine) : Engine_(engine) {
  Publish();
}

TRaceCamera::~TRaceCamera() {
  Engine_.CameraX = 0;
  Engine_.CameraY = 0;
}

void TRaceCamera::SetMode(TCameraMode mode) {
  Mode_ = mode;
  Settle();
}

TPoint2 TRaceCamera::TargetOffset(const TPoint2& carVelocity) {
  const double speed = std::hypot(carVelocity.X, carVelocity.Y);
  const double scale = speed > kFullLeadSpeed ? kFullLeadSpeed / speed : 1.0;
  const double leadX = carVelocity.X * scale / kFullLeadSpeed * kMaxLeadX;
  const double leadY = carVelocity.Y * scale / kFullLeadSpeed * kMaxLeadY;
  // The car is drawn at its screen point minus the offset.
  const double x = std::clamp(PlayerScreenX - leadX, kSafeLeft, kSafeRight);
  const double y = std::clamp(kRestScreenY - leadY, kSafeTop, kSafeBottom);
  return {PlayerScreenX - x, PlayerScreenY - y};
}

void TRaceCamera::Follow(const TPoint2& carVelocity) {
  if (Mode_ == TCameraMode::Classic) return;
  const TPoint2 target = TargetOffset(carVelocity);
  // A critically damped spring, stepped semi-implicitly: the rate changes first, then the
  // offset with the new rate. The rate never jumps, so the view never jerks.
  const auto step = [](double& offset, double& rate, double goal) {
    const double pull = kSpringRate * kSpringRate * (goal - offset) - 2 * kSpringRate * rate;
    rate += pull * kFrameSeconds;
    offset += rate * kFrameSeconds;
  };
  step(Offset_.X, Rate_.X, target.X);
  step(Offset_.Y, Rate_.Y, target.Y);
  // The target is inside the safe rectangle, so only a fast swing can carry the offset past it.
  const auto keep = [](double& offset, double& rate, double low, double high) {
    if (offset < low || offset > high) rate = 0;
    offset = std::clamp(offset, low, high);
  };
  keep(Offset_.X, Rate_.X, PlayerScreenX - kSafeRight, PlayerScreenX - kSafeLeft);
  keep(Offset_.Y, Rate_.Y, PlayerScreenY - kSafeBottom, PlayerScreenY - kSafeTop);
  Publish();
}

void TRaceCamera::Settle() {
  Offset_ = Mode_ == TCameraMode::Classic ? TPoint2{} : TargetOffset({});
  Rate_ = {};
  Publish();
}

void TRaceCamera::Publish() {
  Engine_.CameraX = static_cast<float>(Offset_.X);
  Engine_.CameraY = static_cast<float>(Offset_.Y);
}

}  // namespace game
