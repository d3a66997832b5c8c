#pragma once
// The game's own mouse pointer.

#include <cstdint>
#include <functional>

#include "engine/VexelImageList.h"
#include "engine/VexelSprite.h"

namespace game {

/// The mouse pointer the game draws itself (the system pointer stays hidden): picture
/// "mousecursor" of the menu list, drawn above everything, cycling through its 8 cells one
/// step every 7 moves, placed at the pointer's back-buffer position.
class TCursor : public vexel::TSprite {
 public:
  /// Reads the pointer position in back-buffer pixels.
  using TPointerSource = std::function<void(int32_t& x, int32_t& y)>;

  /// Makes the pointer from the menu list's "mousecursor" entry at the pointer's position.
  TCursor(vexel::TVexelSprite& engine, vexel::TVexelImageList& menuImages, TPointerSource pointer);

  /// Animates the cells and follows the pointer.
  void DoMove(float delta) override;

  /// Frames counted towards the next cell.
  int32_t AnimTick = 1;

 private:
  void FollowPointer();

  TPointerSource Pointer_;
};

}  // namespace game
