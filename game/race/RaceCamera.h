#pragma once
// The race's view: where the race is drawn on the screen.

#include "game/CameraMode.h"
#include "game/QuadCollision.h"

namespace vexel {
class TVexelSprite;
}

namespace game {

/// The race's view, kept as the sprite engine's camera: every race sprite is drawn shifted by
/// the same offset (the HUD sprites ignore it), so the race itself never changes with it. The
/// look-ahead view moves the car off centre against its direction of travel, so the road ahead
/// shows: a critically damped spring pulls the offset towards a target made from the car's
/// velocity (its speed clamped at kFullLeadSpeed), which gives a smooth start, stop, spin and
/// reverse. The car's drawn centre never leaves a rectangle clear of the HUD.
class TRaceCamera {
 public:
  /// Speed (pixels a frame) at which the view leads by its full amount.
  static constexpr double kFullLeadSpeed = 10;
  /// The lead at full speed, across and down the screen (about a third of the screen across).
  static constexpr double kMaxLeadX = 260;
  static constexpr double kMaxLeadY = 150;
  /// Where the look-ahead view puts the car's centre while it stands: across, where the classic
  /// view has it; down, in the middle of the screen above the HUD.
  static constexpr double kRestScreenY = 260;
  /// The rectangle the car's drawn centre stays in: clear of the screen edges and of the HUD,
  /// whose top is at y 466, by more than half a car's length.
  static constexpr double kSafeLeft = 110;
  static constexpr double kSafeRight = 690;
  static constexpr double kSafeTop = 80;
  static constexpr double kSafeBottom = 410;
  /// Angular frequency of the spring, per second, and the frame time it is stepped by.
  static constexpr double kSpringRate = 4;
  static constexpr double kFrameSeconds = 1.0 / 90;

  /// A classic view on the engine's camera (which it sets to none).
  explicit TRaceCamera(vexel::TVexelSprite& engine);
  /// Gives the engine's camera back unshifted, so the screens after the race draw as usual.
  ~TRaceCamera();
  TRaceCamera(const TRaceCamera&) = delete;
  TRaceCamera& operator=(const TRaceCamera&) = delete;

  /// Chooses the view and settles it at its rest position.
  void SetMode(TCameraMode mode);
  /// The view in use.
  TCameraMode Mode() const { return Mode_; }
  /// One frame of the car moving with this velocity (pixels a frame): the look-ahead view
  /// moves towards its target; the classic view stays put.
  void Follow(const TPoint2& carVelocity);
  /// Puts the view at its rest position at once (the car was put somewhere else).
  void Settle();
  /// The offset every race sprite is drawn shifted back by: a sprite at X is drawn at X - Offset.
  TPoint2 Offset() const { return Offset_; }
  /// The offset the look-ahead view moves to for a car with this velocity, clamped so that the
  /// car stays in the safe rectangle.
  static TPoint2 TargetOffset(const TPoint2& carVelocity);

 private:
  void Publish();

  vexel::TVexelSprite& Engine_;
  TCameraMode Mode_ = TCameraMode::Classic;
  TPoint2 Offset_{};
  TPoint2 Rate_{};
};

}  // namespace game
