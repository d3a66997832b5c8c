#pragma once
// The quad builder every image list and bitmap font draws through.

#include <array>

#include "DisplayDevice.h"

namespace vexel {

class TVexelScreen;

/// Builds one quad (four screen-space vertices with colours and texture coordinates), mirrors,
/// rotates and scales it, and hands it to the display device.
class TVexelRenderer {
 public:
  /// A (u, v) texture coordinate pair.
  struct TTexCoord {
    float U = 0;
    float V = 0;
  };

  /// Remembers the screen; with a device, resets mirroring, texture coordinates and colours.
  void Bind(TVexelScreen* screen);
  /// Stores four texture coordinate pairs (top-left, top-right, bottom-right, bottom-left).
  void SetTexCoords(float u0, float v0, float u1, float v1, float u2, float v2, float u3, float v3);
  /// Stores the top-bottom mirror flag and re-applies the stored texture coordinates.
  void SetMirrorY(bool flag);
  /// Stores the left-right mirror flag (used by the next SetTexCoords).
  void SetMirrorX(bool flag);
  /// Sets the four vertex colours.
  void SetColors(uint32_t c0, uint32_t c1, uint32_t c2, uint32_t c3);
  /// Sets the four corners; the right and bottom edges get half a pixel more.
  void SetPositions(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3);
  /// Selects the texture of the screen's next quads.
  void SetTexture(const TTexture* texture);
  /// Rotates (degrees, clockwise) and scales the corners about (cx, cy).
  void RotateScale(float cx, float cy, float angle, float sx, float sy);
  /// Rotates the corners about (cx, cy).
  void Rotate(float cx, float cy, float angle);
  /// Hands the quad to the screen, which transforms it in place and draws it as a fan of two
  /// triangles.
  void Render();

  /// The screen this renderer draws on.
  TVexelScreen* Screen() const { return Screen_; }
  /// The device taken at Bind.
  TDisplayDevice* Device() const { return Device_; }
  /// The quad being built.
  const std::array<TVertex, 4>& Vertices() const { return Vertices_; }
  /// Whether the texture is flipped left-right.
  bool MirrorX() const { return MirrorX_; }
  /// Whether the texture is flipped top-bottom.
  bool MirrorY() const { return MirrorY_; }

 private:
  void ApplyTexCoords();

  std::array<TTexCoord, 4> TexCoords_{};
  bool MirrorY_ = false;
  bool MirrorX_ = false;
  TDisplayDevice* Device_ = nullptr;
  TVexelScreen* Screen_ = nullptr;
  std::array<TVertex, 4> Vertices_{};
};

/// Rotates and scales (x, y) about (cx, cy) by an angle in radians held as a 32-bit float.
void RotateScalePoint(float& x, float& y, float cx, float cy, float radians, float sx, float sy);

}  // namespace vexel
