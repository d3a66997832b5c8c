#include "GridDirection.h"

namespace tracktool {

std::optional<Dir> ParseDir(std::string_view word) {
  if (word == "right") return Dir::Right;
  if (word == "left") return Dir::Left;
  if (word == "top" || word == "up") return Dir::Up;
  if (word == "bottom" || word == "down") return Dir::Down;
  return std::nullopt;
}

std::string_view DirName(Dir d) {
  switch (d) {
    case Dir::Right:
      return "right";
    case Dir::Down:
      return "down";
    case Dir::Left:
      return "left";
    case Dir::Up:
      return "up";
  }
  return "?";
}

}  // namespace tracktool
