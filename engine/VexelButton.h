#pragma once
// A menu button: state images, an optional overlay and a caption.

#include <cstdint>
#include <string>

#include "VexelGUIComponent.h"

namespace vexel {

/// A push button: the base widget's state images, the overlay image while Selected, and a
/// caption in the widget font, centred or a quarter of the width in. With the focus, Enter and
/// the space bar click it.
class TVexelButton : public TVexelGUIComponent {
 public:
  /// A button whose caption is its ID in decimal and whose text is opaque white.
  explicit TVexelButton(TVexelGUIList& list);

  /// Fires OnKey; then a key press (not a character) of Enter (13) or space (32) clicks.
  void KeyEvent(bool isChar, int32_t& key, TShiftState shift) override;
  /// The state image, the overlay while Selected, then the caption.
  void Draw() override;

  std::string Caption;
  bool CenterText = true;
  int32_t TextOffsetY = 0;
  int32_t TextOffsetX = 0;

 private:
  void DrawCaption();
};

}  // namespace vexel
