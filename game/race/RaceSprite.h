#pragma once
// The base of the race's sprites.

#include <array>
#include <string>

#include "engine/VexelSprite.h"
#include "game/QuadCollision.h"

namespace vexel {
class TImageListItem;
}  // namespace vexel

namespace game {

class TRaceWorld;

/// A sprite of the race world: it knows its race and draws a race picture. Most race objects
/// follow the world, moving each frame by the player's shift and bounce so that the player's car
/// stays at its screen point.
class TRaceSprite : public vexel::TSprite {
 public:
  /// A sprite of the race on the engine.
  TRaceSprite(vexel::TVexelSprite& engine, TRaceWorld& world);

  /// Moves the sprite by (DX, DY) pixels.
  void MoveBy(double dx, double dy);
  /// The centre of the sprite's rectangle: (X + Width / 2, Y + Height / 2).
  TPoint2 Centre() const;
  /// Draws cell Pattern of another picture, tinted with Colour (0xAARRGGBB), centred where
  /// this sprite is drawn (its turning point on the screen, with the same offset, camera and
  /// rounding as the sprite itself) and turned, scaled and mirrored as this sprite is. Pictures
  /// that belong to a sprite (a paint layer, a ring under it) follow it this way wherever the
  /// sprite is shown.
  void DrawCentred(vexel::TImageListItem& image, int32_t pattern, uint32_t colour) const;

  TRaceWorld& World;

 protected:
  /// Draws the race picture Key from now on (a missing picture keeps the size).
  void UseImage(const std::string& key);
  /// Follows the world: X += ShiftX, Y += ShiftY, then X += BounceX, Y += BounceY (the player's).
  void FollowWorld();
  /// The corners of this sprite's rectangle rotated by Angle about its centre, at the quad
  /// angles given (see RectangleQuadAngles). A sprite passes the same quad angles every time;
  /// the corner offsets are kept until the angle or the size changes.
  TQuad RotatedQuad(double angle, const std::array<double, 4>& quadAngles);
  /// The corners of this sprite's unrotated rectangle: top-left, bottom-left, bottom-right,
  /// top-right.
  TQuad RectangleQuad() const;
  /// The quad angles of this sprite's rectangle: 180 - γ, γ - 180, -γ, γ with γ = atan(H / W).
  std::array<double, 4> RectangleQuadAngles() const;

 private:
  /// Corner offsets from the centre for QuadAngle and QuadSize of the last RotatedQuad.
  std::array<TPoint2, 4> QuadOffsets_{};
  double QuadAngle_ = 0;
  int32_t QuadWidth_ = -1;
  int32_t QuadHeight_ = -1;
};

}  // namespace game
