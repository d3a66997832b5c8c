#pragma once
// Back to the track: the player's car put back on the road when the player asks for it.

#include <cstdint>

#include "game/QuadCollision.h"

namespace game {

class TRaceWorld;

/// Where the player's car goes back to, and which way it faces (degrees, as TCar::Heading).
struct TReturnSpot {
  TPoint2 Centre;
  double Heading = 0;
};

/// The "back to the track" key (R, or whatever the controls bind to it): once the race runs
/// and while the player has not finished, a release of the key starts a fade to black and
/// back; at its darkest the player's car is put back on the road just past the last checkpoint
/// it passed (before the first one: on its starting grid slot), facing along the road and
/// standing still. No lap or checkpoint count changes; the race clock keeps running.
class TTrackReturn {
 public:
  /// The key the race reads for going back to the track.
  static constexpr int32_t kKey = 'R';
  /// Frames the fade takes each way (0.3 s at 90 frames a second).
  static constexpr int32_t kFadeFrames = 27;
  /// How far past the centre of the last checkpoint the car is put, along the road, at least:
  /// on a straight, far enough that the car does not touch the checkpoint's line (168 pixels
  /// square) again. Where the road turns right after the line, the car goes further on, in
  /// steps of kFurtherStep, until it is clear of it (touching it again could arm a lap).
  static constexpr double kPastCheckpoint = 130;
  static constexpr double kFurtherStep = 10;
  static constexpr double kFurthest = 400;
  /// The gap the car keeps from the line, so that an opponent's nudge does not push it back on.
  static constexpr double kLineGap = 20;

  /// The return of the player's car of a race.
  explicit TTrackReturn(TRaceWorld& world) : World_(world) {}
  TTrackReturn(const TTrackReturn&) = delete;
  TTrackReturn& operator=(const TTrackReturn&) = delete;

  /// One frame, from the player's car's move: takes a release of the key (starting a return
  /// when one is allowed), advances the fade and puts the car back at its darkest.
  void Step();
  /// Starts a return when the race runs, the player has not finished and none is under way;
  /// whether it started.
  bool Request();
  /// Whether a return is under way.
  bool Active() const { return Tick_ >= 0; }
  /// The black over the race this frame, 0 (none) to 255.
  int32_t FadeAlpha() const;
  /// Where the player's car goes back to now.
  TReturnSpot Spot() const;
  /// Puts the player's car back at Spot() at once: the world moves under it, and it stands
  /// facing along the road; the view settles at its rest position.
  void PutBack();

 private:
  /// The segment of the opponents' path (from point Segment to the next) nearest to a point,
  /// and the nearest point on it.
  int32_t NearestSegment(const TPoint2& point, TPoint2& onPath) const;
  /// The point Distance pixels further along the path from a point on segment Segment, and the
  /// path's direction there.
  TPoint2 AlongPath(int32_t segment, TPoint2 from, double distance, double& heading) const;
  /// The collision quad the player's car would have standing at a spot, its corners kLineGap
  /// further out.
  TQuad CarQuadAt(const TReturnSpot& spot) const;

  TRaceWorld& World_;
  /// Frames into the fade, -1 when no return is under way.
  int32_t Tick_ = -1;
};

}  // namespace game
