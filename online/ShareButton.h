#pragma once
// One picture button of the promotion screen.

#include <cstdint>
#include <functional>
#include <string>

namespace online {

class TGoToLink;

/// The action of the button that closes the game.
inline constexpr const char* kExitAction = "exit";

/// A picture button of the promotion screen (a plain object, not a menu widget): a box the
/// pointer lights, three pictures (normal, hover, and idle while it cannot be used) and an
/// action, either "exit" or a file beside the game to open.
class TButton {
 public:
  /// Whether the pointer is over the button's box.
  bool Hover = false;
  /// False only for the exit button until the countdown has run out.
  bool Active = true;
  bool Shown = true;
  int32_t HoverX = 0;
  int32_t HoverY = 0;
  /// The hover line's fourth and third numbers (kept, not used).
  int32_t HoverHeight = 0;
  int32_t HoverWidth = 0;
  int32_t NormalX = 0;
  int32_t NormalY = 0;
  int32_t ButtonHeight = 0;
  int32_t ButtonWidth = 0;
  int32_t IdleX = 0;
  int32_t IdleY = 0;
  /// The idle line's fourth and third numbers (kept, not used).
  int32_t IdleHeight = 0;
  int32_t IdleWidth = 0;
  /// "exit" or the game path of the file to open.
  std::string Action;
  std::string HoverFile;
  std::string NormalFile;
  std::string IdleFile;
  /// Indexes of the three pictures in the promotion image list (-1 before they are loaded).
  int32_t HoverIndex = -1;
  int32_t NormalIndex = -1;
  int32_t IdleIndex = -1;

  /// Whether this is an exit button.
  bool IsExit() const { return Action == kExitAction; }
  /// Whether a back-buffer point lies in the button's box (edges included).
  bool Contains(int32_t x, int32_t y) const;
  /// Runs the button: an exit button asks the form to close, any other opens its file.
  void Click(const TGoToLink& links, const std::function<void()>& requestClose) const;
};

}  // namespace online
