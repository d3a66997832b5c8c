#pragma once
// The four directions of the track grid, used both for driving directions and for cell sides.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tracktool {

/// A direction on the screen grid; as a cell side, Right is the right edge and Down the bottom.
enum class Dir : uint8_t { Right, Down, Left, Up };

/// Column step of a direction (+1 right, -1 left).
constexpr int DirDx(Dir d) {
  return d == Dir::Right ? 1 : (d == Dir::Left ? -1 : 0);
}
/// Row step of a direction (+1 down, -1 up).
constexpr int DirDy(Dir d) {
  return d == Dir::Down ? 1 : (d == Dir::Up ? -1 : 0);
}
/// The opposite direction.
constexpr Dir Opposite(Dir d) {
  return static_cast<Dir>((static_cast<int>(d) + 2) % 4);
}
/// Heading in degrees of a car driving that way: 0 right, 90 down, 180 left, 270 up.
constexpr int DirDegrees(Dir d) {
  return 90 * static_cast<int>(d);
}
/// Whether a direction runs along the x axis.
constexpr bool IsHorizontal(Dir d) {
  return d == Dir::Right || d == Dir::Left;
}

/// Reads a side or direction word: "right", "left", "top"/"up", "bottom"/"down".
std::optional<Dir> ParseDir(std::string_view word);

/// The word for a direction: "right", "down", "left" or "up".
std::string_view DirName(Dir d);

}  // namespace tracktool
