#pragma once
// The sprite engine: owns the sprites, keeps them in depth order, moves, draws and frees them.

#include <cstdint>
#include <utility>
#include <vector>

#include "VexelSpriteBase.h"

namespace vexel {

/// The sprite engine component. It owns every live sprite in a list sorted by ascending Z, runs
/// one movement pass and one drawing pass over them per frame, culls drawing against a screen
/// rectangle, and frees killed sprites at the next ClearDead.
class TVexelSprite {
 public:
  TVexelSprite() = default;
  /// Frees every sprite, live and dead.
  ~TVexelSprite();
  TVexelSprite(const TVexelSprite&) = delete;
  TVexelSprite& operator=(const TVexelSprite&) = delete;

  /// Makes a sprite of class T (constructed as T(engine, args...)); the engine owns it.
  template <class T, class... A>
  T* Create(A&&... args) {
    return new T(*this, std::forward<A>(args)...);
  }

  /// Calls DoMove on the sprites in depth order, as many as there were when the pass began.
  void Move(float delta);
  /// Calls DoDraw on the sprites back to front, as many as there were when the pass began.
  void Draw();
  /// Frees the killed sprites, last killed first.
  void ClearDead();
  /// Frees one sprite now; never during Move or Draw (Kill it there instead).
  void FreeSprite(TSprite* sprite);
  /// The sprite at Index in depth order, or none when Index is out of range.
  TSprite* Items(int32_t index) const;
  /// Number of sprites, dead ones included until ClearDead.
  int32_t Count() const { return static_cast<int32_t>(SpriteList_.size()); }
  /// Inserts a sprite before every sprite of equal or greater Z.
  void AddSprite(TSprite* sprite);
  /// Takes a sprite out of the depth-ordered list.
  void RemoveSprite(TSprite* sprite);
  /// Whether a Width x Height sprite at screen (sx, sy) meets the drawing area (always when unset).
  bool InDrawArea(int32_t sx, int32_t sy, int32_t width, int32_t height) const;

  /// All sprites, sorted by ascending Z.
  const std::vector<TSprite*>& SpriteList() const { return SpriteList_; }
  /// Killed sprites waiting for ClearDead, in order of death.
  const std::vector<TSprite*>& DeadList() const { return DeadList_; }

  // Culling rectangle in screen pixels, inclusive; all four 0 draws everything.
  int32_t DrawAreaX1 = 0;
  int32_t DrawAreaY1 = 0;
  int32_t DrawAreaX2 = 0;
  int32_t DrawAreaY2 = 0;
  // World position shown at the screen's top-left corner (not for IgnoreCamera sprites).
  float CameraX = 0;
  float CameraY = 0;

 private:
  friend class TSprite;

  void AddDead(TSprite* sprite) { DeadList_.push_back(sprite); }
  void RemoveDead(TSprite* sprite);

  std::vector<TSprite*> SpriteList_;
  std::vector<TSprite*> DeadList_;
};

}  // namespace vexel
