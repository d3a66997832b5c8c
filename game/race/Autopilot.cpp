#include "game/race/Autopilot.h"

#include <algorithm>
#include <cmath>

#include "game/AnglesAndRandom.h"
#include "game/race/Player.h"
#include "platform/VirtualKeys.h"

namespace game {
namespace {

using platform::VK_DOWN;
using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_UP;

/// Speed lost per frame while braking, near enough for planning.
constexpr double kBraking = 0.06;
/// Keep the gap of the travel direction behind the heading below the skid band when turning
/// right: beyond 25 degrees the travel direction stops following while the key is held.
constexpr double kRightTurnGap = 20;
constexpr double kSteerDeadBand = 2;
constexpr double kMinCornerSpeed = 3.3;
constexpr int32_t kStallFrames = 100;
constexpr int32_t kReverseFrames = 60;
constexpr int32_t kSearchBehind = 2;
constexpr int32_t kSearchAhead = 8;

double Wrap180(double angle) {
  angle = std::fmod(angle, 360.0);
  if (angle > 180) angle -= 360;
  if (angle <= -180) angle += 360;
  return angle;
}

double Bearing(const game::TPathPoint& from, const game::TPathPoint& to) {
  return game::ArcTan2Deg(to.Y - from.Y, to.X - from.X);
}

double DistanceTo(const game::TPoint2& c, const game::TPathPoint& p) {
  return game::Distance(c, {p.X, p.Y});
}

}  // namespace

TAutopilot::TAutopilot(game::TRaceWorld& world) : World_(world) {}

void TAutopilot::Press(int32_t key) {
  World_.KeyDown[static_cast<size_t>(key)] = true;
}

void TAutopilot::Release(int32_t key) {
  if (!World_.KeyDown[static_cast<size_t>(key)]) return;
  World_.KeyDown[static_cast<size_t>(key)] = false;
  World_.KeyReleased[static_cast<size_t>(key)] = true;
}

void TAutopilot::ReleaseAll() {
  for (int32_t key : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}) Release(key);
}

int32_t TAutopilot::Next(int32_t index) const {
  return index == World_.PathCount ? 1 : index + 1;
}

int32_t TAutopilot::NearestAround(int32_t index) const {
  const game::TPoint2 c = World_.Player->Centre();
  const int32_t count = World_.PathCount;
  int32_t best = index;
  double bestDistance = DistanceTo(c, World_.PathPoint(index));
  for (int32_t step = -kSearchBehind; step <= kSearchAhead; ++step) {
    const int32_t i = ((index - 1 + step) % count + count) % count + 1;
    const double d = DistanceTo(c, World_.PathPoint(i));
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

double TAutopilot::SafeSpeed(int32_t from) const {
  const game::TPlayer& car = *World_.Player;
  const double horizon = car.Speed * car.Speed / (2 * kBraking) + 250;
  double safe = car.MaxSpeed;
  double along = DistanceTo(car.Centre(), World_.PathPoint(from));
  int32_t i = from;
  for (int32_t n = 0; n < World_.PathCount && along < horizon; ++n) {
    const int32_t j = Next(i);
    const double turn =
        std::fabs(Wrap180(Bearing(World_.PathPoint(i), World_.PathPoint(j)) - car.TravelDir));
    const double corner = std::clamp(9.5 - 0.065 * turn, kMinCornerSpeed, car.MaxSpeed);
    safe = std::min(safe, std::sqrt(corner * corner + 2 * kBraking * along));
    along += DistanceTo({World_.PathPoint(i).X, World_.PathPoint(i).Y}, World_.PathPoint(j));
    i = j;
  }
  return safe;
}

void TAutopilot::Drive() {
  game::TPlayer& car = *World_.Player;
  if (!car.ControlsEnabled || World_.PathCount == 0) {
    ReleaseAll();
    return;
  }
  if (Nearest_ == 0) {
    Nearest_ = 1;
    for (int32_t i = 1; i <= World_.PathCount; ++i) {
      if (DistanceTo(car.Centre(), World_.PathPoint(i)) <
          DistanceTo(car.Centre(), World_.PathPoint(Nearest_))) {
        Nearest_ = i;
      }
    }
  }
  Nearest_ = NearestAround(Nearest_);
  const double lookAhead = 110 + 12 * std::max(car.Speed, 0.0);
  int32_t aim = Next(Nearest_);
  for (int32_t n = 0;
       n < World_.PathCount && DistanceTo(car.Centre(), World_.PathPoint(aim)) < lookAhead; ++n) {
    aim = Next(aim);
  }
  const game::TPathPoint& target = World_.PathPoint(aim);
  const game::TPoint2 c = car.Centre();
  const double error = Wrap180(game::ArcTan2Deg(target.Y - c.Y, target.X - c.X) - car.Heading);
  if (ReverseFrames_ > 0) {
    --ReverseFrames_;
    BackOut(error);
    return;
  }
  StalledFrames_ = car.Speed < 0.5 ? StalledFrames_ + 1 : 0;
  if (StalledFrames_ > kStallFrames) {
    StalledFrames_ = 0;
    ReverseFrames_ = kReverseFrames;
  }
  Steer(error);
  const double wanted = std::fabs(error) > 60 ? kMinCornerSpeed : SafeSpeed(Next(Nearest_));
  Throttle(wanted);
}

void TAutopilot::Steer(double error) {
  const game::TPlayer& car = *World_.Player;
  if (error > kSteerDeadBand && car.Heading - car.TravelDir < kRightTurnGap) {
    Release(VK_LEFT);
    Press(VK_RIGHT);
  } else if (error < -kSteerDeadBand) {
    Release(VK_RIGHT);
    Press(VK_LEFT);
  } else {
    Release(VK_LEFT);
    Release(VK_RIGHT);
  }
}

void TAutopilot::Throttle(double wanted) {
  const double speed = World_.Player->Speed;
  if (speed > wanted + 0.2) {
    Release(VK_UP);
    Press(VK_DOWN);
  } else if (speed < wanted) {
    Release(VK_DOWN);
    Press(VK_UP);
  } else {
    Release(VK_UP);
    Release(VK_DOWN);
  }
}

void TAutopilot::BackOut(double error) {
  Release(VK_UP);
  Press(VK_DOWN);
  // Reversing, the left key turns the nose clockwise and the right key anticlockwise.
  if (error > 0) {
    Release(VK_RIGHT);
    Press(VK_LEFT);
  } else {
    Release(VK_LEFT);
    Press(VK_RIGHT);
  }
}

}  // namespace game
