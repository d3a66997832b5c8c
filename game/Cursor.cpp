#include "Cursor.h"

#include <utility>

namespace game {

TCursor::TCursor(vexel::TVexelSprite& engine, vexel::TVexelImageList& menuImages,
                 TPointerSource pointer)
    : TSprite(engine), Pointer_(std::move(pointer)) {
  if (auto* image = menuImages.ImageList.Find("mousecursor")) SetImage(image);
  SetName("cursor");
  SetPatternIndex(0);
  Collidable = true;
  PixelCheck = true;
  IgnoreCamera = true;  // the pointer is where the mouse is, whatever the race's view
  FollowPointer();
  SetZ(90000);
}

void TCursor::DoMove(float delta) {
  TSprite::DoMove(delta);
  if (AnimTick % 7 == 0) {
    SetPatternIndex(PatternIndex() >= 7 ? 0 : PatternIndex() + 1);
    AnimTick = 0;
  }
  ++AnimTick;
  FollowPointer();
}

// The platform reports the pointer in back-buffer pixels in windowed and full-screen mode
// alike, so no window-frame correction is needed.
void TCursor::FollowPointer() {
  int32_t x = 0;
  int32_t y = 0;
  if (Pointer_) Pointer_(x, y);
  SetX(static_cast<float>(x));
  SetY(static_cast<float>(y));
}

}  // namespace game
