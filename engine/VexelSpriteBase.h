#pragma once
// The base class of every sprite, and the rounding and colour helpers sprites and game code share.

#include <cstdint>
#include <string>

#include "DisplayDevice.h"

namespace vexel {

class TImageListItem;
class TVexelSprite;

/// World-to-pixel rounding: (Value ± 0.5) × 10000 rounded to the nearest integer (ties to even),
/// divided by 10000 and truncated; half away from zero, with anything less than half of one
/// ten-thousandth below a half counting as the half. Results beyond 32 bits saturate.
int32_t RoundCoord(long double value);

/// Packs the low byte of each component as 0xAARRGGBB.
uint32_t ARGBColor(int32_t red, int32_t green, int32_t blue, int32_t alpha);

/// Turns a system colour 0x00BBGGRR into opaque ARGB; values above 0xFFFFFF pass unchanged.
uint32_t ColorToARGB(uint32_t color);

/// One picture of the sprite engine: position, size, depth, tint, rotation, scale and animation
/// cell, drawn through an image-list entry, with rectangle and pixel collisions. Game sprites
/// derive from it and override DoMove, DoCollision and DoDraw. A sprite links itself into its
/// engine when it is made and belongs to the engine from then on: game code ends it with Kill
/// (freed at the engine's next ClearDead) or, outside Move and Draw, with the engine's
/// FreeSprite. Make sprites with TVexelSprite::Create<T>(...) (or new T(engine, ...)).
class TSprite {
 public:
  /// Sets the construction values and inserts the sprite into the engine at its depth.
  explicit TSprite(TVexelSprite& engine);
  TSprite(const TSprite&) = delete;
  TSprite& operator=(const TSprite&) = delete;

  /// Source rectangle of the current cell in image pixels; clamps and stores PatternIndex.
  virtual void GetPatternRect(TRect& rect);
  /// Stores the free label.
  virtual void SetName(const std::string& value);
  /// Stores Red and rebuilds the four vertex colours.
  virtual void SetRed(int32_t value);
  /// Stores Green and rebuilds the four vertex colours.
  virtual void SetGreen(int32_t value);
  /// Stores Blue and rebuilds the four vertex colours.
  virtual void SetBlue(int32_t value);
  /// Stores Alpha and rebuilds the four vertex colours.
  virtual void SetAlpha(int32_t value);
  /// Selects the animation cell; with an image, a value beyond the last cell selects the last.
  virtual void SetPatternIndex(int32_t value);
  /// Moves the left edge; corners, Bounds and MidX follow.
  virtual void SetX(float value);
  /// Moves the top edge; corners, Bounds and MidY follow.
  virtual void SetY(float value);
  /// Changes the depth and re-sorts the sprite among its new equals (first of them).
  virtual void SetZ(int32_t value);
  /// Draws the entry from now on and takes its tile size (none keeps the size).
  virtual void SetImage(TImageListItem* value);
  /// Sets Width and Bounds.Right (corners and MidX wait for the next SetX).
  virtual void SetWidth(int32_t value);
  /// Sets Height and Bounds.Bottom (corners and MidY wait for the next SetY).
  virtual void SetHeight(int32_t value);
  /// Copies Source's appearance and state (not its engine, Additive, Dead or odd sizes).
  virtual void Assign(const TSprite& source);
  /// Tests this pair; on a hit calls DoCollision on this sprite, then on the other.
  virtual void Collision(TSprite* other);
  /// Marks the sprite dead; the engine frees it at its next ClearDead.
  virtual void Kill();
  /// Reaction to a hit at (hitX, hitY) relative to this sprite's Bounds; nothing here.
  virtual void DoCollision(TSprite* other, int32_t hitX, int32_t hitY);
  /// Per-frame behaviour; nothing here (overrides call it first).
  virtual void DoMove(float delta);
  /// Draws the sprite through its image entry, culled by the engine's drawing area.
  virtual void DoDraw();

  /// Stores Additive and sets BlendMode to 2 (true) or 0 (false).
  void SetAdditive(bool value);

  /// The engine the sprite belongs to.
  TVexelSprite& Engine() const { return Engine_; }
  /// The free label.
  const std::string& Name() const { return Name_; }
  /// World x of the top-left corner.
  float X() const { return X_; }
  /// World y of the top-left corner.
  float Y() const { return Y_; }
  /// Top-right corner x of the unrotated quad.
  float Corner1X() const { return Corner1X_; }
  /// Top-right corner y.
  float Corner1Y() const { return Corner1Y_; }
  /// Bottom-right corner x.
  float Corner2X() const { return Corner2X_; }
  /// Bottom-right corner y.
  float Corner2Y() const { return Corner2Y_; }
  /// Bottom-left corner x.
  float Corner3X() const { return Corner3X_; }
  /// Bottom-left corner y.
  float Corner3Y() const { return Corner3Y_; }
  /// Left pixel of the current cell inside the whole image (read by the pixel test).
  int32_t PatternLeft() const { return PatternLeft_; }
  /// Top pixel of the current cell inside the whole image.
  int32_t PatternTop() const { return PatternTop_; }
  /// Current animation cell, row by row from 0; -1 draws the whole image.
  int32_t PatternIndex() const { return PatternIndex_; }
  /// X + Width / 2 as of the last SetX.
  float MidX() const { return MidX_; }
  /// Y + Height / 2 as of the last SetY.
  float MidY() const { return MidY_; }
  /// Depth key: sprites are moved and drawn in ascending Z.
  int32_t Z() const { return Z_; }
  /// Red tint component (0..255).
  int32_t Red() const { return Red_; }
  /// Green tint component (0..255).
  int32_t Green() const { return Green_; }
  /// Blue tint component (0..255).
  int32_t Blue() const { return Blue_; }
  /// Alpha tint component (0..255).
  int32_t Alpha() const { return Alpha_; }
  /// The image entry drawn, or none.
  TImageListItem* Image() const { return Image_; }
  /// Width in pixels.
  int32_t Width() const { return Width_; }
  /// Height in pixels.
  int32_t Height() const { return Height_; }
  /// Collision and culling rectangle (Right and Bottom exclusive).
  const TRect& Bounds() const { return Bounds_; }
  /// Whether additive blending was asked for.
  bool Additive() const { return Additive_; }
  /// Whether the sprite was killed.
  bool Dead() const { return Dead_; }

  // Written directly by game code.
  bool Visible = true;
  bool IgnoreCamera = false;
  int32_t BlendMode = 0;
  bool MirrorX = false;
  bool MirrorY = false;
  float CenterX = 0;
  float CenterY = 0;
  uint32_t Color1 = 0xFFFFFFFF;
  uint32_t Color2 = 0xFFFFFFFF;
  uint32_t Color3 = 0xFFFFFFFF;
  uint32_t Color4 = 0xFFFFFFFF;
  bool Collidable = false;
  bool PixelCheck = false;
  bool PixelOnly = false;
  float Rotation = 0;
  float ScaleX = 1;
  float ScaleY = 1;
  float OffsetX = 0;
  float OffsetY = 0;

 protected:
  /// Unlinks the sprite from its engine; only the engine frees sprites.
  virtual ~TSprite();

 private:
  friend class TVexelSprite;

  void RebuildColors();

  TVexelSprite& Engine_;
  std::string Name_;
  float X_ = 0;
  float Y_ = 0;
  float Corner1X_ = 10;
  float Corner1Y_ = 0;
  float Corner2X_ = 10;
  float Corner2Y_ = 10;
  float Corner3X_ = 0;
  float Corner3Y_ = 10;
  int32_t PatternLeft_ = 0;
  int32_t PatternTop_ = 0;
  int32_t PatternIndex_ = 0;
  float MidX_ = 0;
  float MidY_ = 0;
  int32_t Z_ = 0;
  int32_t Red_ = 255;
  int32_t Green_ = 255;
  int32_t Blue_ = 255;
  int32_t Alpha_ = 255;
  TImageListItem* Image_ = nullptr;
  int32_t Width_ = 10;
  int32_t Height_ = 10;
  TRect Bounds_;
  bool Additive_ = false;
  bool Dead_ = false;
};

}  // namespace vexel
