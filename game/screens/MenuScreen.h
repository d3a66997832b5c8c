#pragma once
// The panel pictures of the menu screens and of the overlays over a race.

#include <cstdint>
#include <string>

#include "engine/VexelImageList.h"
#include "engine/VexelSprite.h"

namespace game {

/// A screen's panel picture: an image-list entry shown whole at its position and depth. The
/// menus take it from the menu pictures; `TGameMenuScreen` takes it from the race pictures.
class TMenuScreen : public vexel::TSprite {
 public:
  /// A visible or hidden panel named `name` showing `key` of `images` at (x, y) and depth z.
  TMenuScreen(vexel::TVexelSprite& engine, vexel::TVexelImageList& images, bool visible,
              int32_t alpha, const std::string& name, const std::string& key, int32_t z, float y,
              float x);

  /// Shows another entry of the same list, at its full picture size.
  void ShowImage(const std::string& key);

 private:
  vexel::TVexelImageList& Images_;
};

/// The panel of the overlays over a race (quit, pause, results), from the race pictures.
class TGameMenuScreen : public TMenuScreen {
 public:
  using TMenuScreen::TMenuScreen;
};

}  // namespace game
