#include "TrackReturn.h"

#include <cmath>

#include "CheckLine.h"
#include "Player.h"
#include "RaceWorld.h"
#include "game/AnglesAndRandom.h"
#include "game/RaceSetup.h"

namespace game {

void TTrackReturn::Step() {
  const auto key = static_cast<size_t>(kKey);
  // Taken every frame, so that a release during the start lights or a pause starts nothing later.
  const bool asked = World_.KeyReleased[key];
  World_.KeyReleased[key] = false;
  if (asked) Request();
  if (Tick_ < 0) return;
  ++Tick_;
  if (Tick_ == kFadeFrames && !World_.PlayerFinished) PutBack();
  if (Tick_ >= 2 * kFadeFrames) Tick_ = -1;
}

bool TTrackReturn::Request() {
  const TPlayer* player = World_.Player;
  if (Active() || !player || !player->ControlsEnabled || World_.PlayerFinished) return false;
  Tick_ = 0;
  return true;
}

int32_t TTrackReturn::FadeAlpha() const {
  if (Tick_ < 0) return 0;
  const int32_t dark = Tick_ <= kFadeFrames ? Tick_ : 2 * kFadeFrames - Tick_;
  return 255 * dark / kFadeFrames;
}

TReturnSpot TTrackReturn::Spot() const {
  const TPlayer& player = *World_.Player;
  if (player.LastCheckpoint >= 0) {
    for (const TCheckLine* line : World_.CheckLines) {
      if (line->Number != player.LastCheckpoint) continue;
      const TPoint2 centre = line->Centre();
      if (World_.PathCount < 2) return {centre, player.Heading};
      TPoint2 onPath;
      const int32_t segment = NearestSegment(centre, onPath);
      TReturnSpot spot;
      for (double ahead = kPastCheckpoint; ahead <= kFurthest; ahead += kFurtherStep) {
        spot.Centre = AlongPath(segment, onPath, ahead, spot.Heading);
        if (!QuadsOverlap(CarQuadAt(spot), line->Quad)) break;
      }
      return spot;
    }
  }
  const TStartSlot& slot = World_.StartSlots[static_cast<size_t>(World_.OpponentsWanted + 1)];
  const TPoint2 origin = World_.TrackOrigin();
  return {{origin.X + slot.X, origin.Y + slot.Y}, slot.Heading};
}

void TTrackReturn::PutBack() {
  TPlayer& player = *World_.Player;
  const TReturnSpot spot = Spot();
  const TPoint2 centre = player.Centre();
  ShiftWorld(World_, centre.X - spot.Centre.X, centre.Y - spot.Centre.Y);
  // The same direction as close as possible to the old heading: headings count whole turns.
  const double heading = spot.Heading + 360 * std::round((player.Heading - spot.Heading) / 360);
  player.Heading = player.TravelDir = heading;
  player.Rotation = static_cast<float>(heading - 90);
  player.Speed = 0;
  player.CurrentAccel = 0;
  player.Skidding = false;
  player.ShiftX = player.ShiftY = 0;
  player.BounceX = player.BounceY = 0;
  player.UpdateCorners();
  World_.Camera.Settle();
}

TQuad TTrackReturn::CarQuadAt(const TReturnSpot& spot) const {
  // As TCar::UpdateCorners makes it (the rectangle inset by 3 pixels, turned with the car), with
  // a margin.
  const TPlayer& player = *World_.Player;
  const double halfW = player.Width() / 2.0 - 3;
  const double halfH = player.Height() / 2.0 - 3;
  const double r = std::sqrt(halfW * halfW + halfH * halfH) + kLineGap;
  const double rotation = spot.Heading - 90;
  TQuad quad;
  for (size_t k = 0; k < quad.size(); ++k) {
    const double angle = rotation + player.CornerAngles[k];
    quad[k] = {spot.Centre.X + r * CosDeg(angle), spot.Centre.Y + r * SinDeg(angle)};
  }
  return quad;
}

int32_t TTrackReturn::NearestSegment(const TPoint2& point, TPoint2& onPath) const {
  const int32_t count = World_.PathCount;
  int32_t best = 0;
  double bestSquare = -1;
  for (int32_t i = 0; i < count; ++i) {
    const TPathPoint& a = World_.PathPoints[static_cast<size_t>(i)];
    const TPathPoint& b = World_.PathPoints[static_cast<size_t>((i + 1) % count)];
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double length = dx * dx + dy * dy;
    double t = length > 0 ? ((point.X - a.X) * dx + (point.Y - a.Y) * dy) / length : 0;
    t = std::fmin(1.0, std::fmax(0.0, t));
    const TPoint2 q{a.X + t * dx, a.Y + t * dy};
    const double square = (q.X - point.X) * (q.X - point.X) + (q.Y - point.Y) * (q.Y - point.Y);
    if (bestSquare < 0 || square < bestSquare) {
      bestSquare = square;
      best = i;
      onPath = q;
    }
  }
  return best;
}

TPoint2 TTrackReturn::AlongPath(int32_t segment, TPoint2 from, double distance,
                                double& heading) const {
  const int32_t count = World_.PathCount;
  heading = World_.Player->Heading;
  for (int32_t step = 0; step < count; ++step) {
    const TPathPoint& next = World_.PathPoints[static_cast<size_t>((segment + 1) % count)];
    const double dx = next.X - from.X;
    const double dy = next.Y - from.Y;
    const double length = std::hypot(dx, dy);
    if (length > 0) {
      heading = ArcTan2Deg(dy, dx);
      if (length >= distance)
        return {from.X + dx * distance / length, from.Y + dy * distance / length};
      distance -= length;
    }
    from = {next.X, next.Y};
    segment = (segment + 1) % count;
  }
  return from;
}

}  // namespace game
