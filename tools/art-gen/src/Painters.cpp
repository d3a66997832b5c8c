#include "Painters.h"

#include <array>
#include <string_view>
#include <utility>

namespace artgen {

Painter findPainter(const std::string& kind) {
  using Row = std::pair<std::string_view, Painter>;
  static constexpr std::array kTable{
      Row{"button", paint::button},
      Row{"switch", paint::toggleSwitch},
      Row{"edit_box", paint::editBox},
      Row{"stat_bar", paint::statBar},
      Row{"choose_bar", paint::chooseBar},
      Row{"badge", paint::badge},
      Row{"strip", paint::strip},
      Row{"panel", paint::panel},
      Row{"font", paint::fontSheet},
      Row{"cursor", paint::cursor},
      Row{"planet", paint::planet},
      Row{"glow_light", paint::glowLight},
      Row{"space_screen", paint::spaceScreen},
      Row{"logo", paint::logo},
      Row{"icon", paint::icon},
      Row{"track_preview", paint::trackPreview},
      Row{"locked_preview", paint::lockedPreview},
      Row{"lock_badge", paint::lockBadge},
      Row{"car_preview", paint::carPreview},
      Row{"car", paint::raceCar},
      Row{"road_straight", paint::roadStraight},
      Row{"road_corner", paint::roadCorner},
      Row{"start_line", paint::startLine},
      Row{"road_decal", paint::roadDecal},
      Row{"paint_marks", paint::paintMarks},
      Row{"block", paint::block},
      Row{"rock", paint::rock},
      Row{"arc_barrier", paint::arcBarrier},
      Row{"wall", paint::wall},
      Row{"striped_wall", paint::stripedWall},
      Row{"ground", paint::ground},
      Row{"smoke", paint::smoke},
      Row{"checkpoint", paint::checkpoint},
      Row{"finish_gate", paint::finishGate},
      Row{"probe", paint::probe},
      Row{"speedo", paint::speedo},
      Row{"speedo_glass", paint::speedoGlass},
      Row{"needle", paint::needle},
      Row{"radar_arrow", paint::radarArrow},
      Row{"start_ring", paint::startRing},
      Row{"player_mark", paint::playerMark},
      Row{"map_marks", paint::mapMarks},
      Row{"light_housing", paint::lightHousing},
      Row{"lamp", paint::lamp},
  };
  for (const auto& [name, painter] : kTable) {
    if (name == kind) return painter;
  }
  return nullptr;
}

}  // namespace artgen
