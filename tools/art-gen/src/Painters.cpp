#include "Painters.h"

#include <array>
#include <string_view>
#include <utility>

namespace artgen {

Painter FindPainter(const std::string& kind) {
  using Row = std::pair<std::string_view, Painter>;
  static constexpr std::array kTable{
      Row{"button", paint::Button},
      Row{"switch", paint::ToggleSwitch},
      Row{"edit_box", paint::EditBox},
      Row{"stat_bar", paint::StatBar},
      Row{"choose_bar", paint::ChooseBar},
      Row{"badge", paint::Badge},
      Row{"strip", paint::Strip},
      Row{"panel", paint::Panel},
      Row{"font", paint::FontSheet},
      Row{"cursor", paint::Cursor},
      Row{"planet", paint::Planet},
      Row{"glow_light", paint::GlowLight},
      Row{"space_screen", paint::SpaceScreen},
      Row{"logo", paint::Logo},
      Row{"icon", paint::Icon},
      Row{"track_preview", paint::TrackPreview},
      Row{"locked_preview", paint::LockedPreview},
      Row{"lock_badge", paint::LockBadge},
      Row{"car_preview", paint::CarPreview},
      Row{"car", paint::RaceCar},
      Row{"road_straight", paint::RoadStraight},
      Row{"road_corner", paint::RoadCorner},
      Row{"start_line", paint::StartLine},
      Row{"road_decal", paint::RoadDecal},
      Row{"paint_marks", paint::PaintMarks},
      Row{"block", paint::Block},
      Row{"rock", paint::Rock},
      Row{"arc_barrier", paint::ArcBarrier},
      Row{"wall", paint::Wall},
      Row{"striped_wall", paint::StripedWall},
      Row{"ground", paint::Ground},
      Row{"smoke", paint::Smoke},
      Row{"checkpoint", paint::Checkpoint},
      Row{"finish_gate", paint::FinishGate},
      Row{"probe", paint::Probe},
      Row{"speedo", paint::Speedo},
      Row{"speedo_glass", paint::SpeedoGlass},
      Row{"needle", paint::Needle},
      Row{"radar_arrow", paint::RadarArrow},
      Row{"start_ring", paint::StartRing},
      Row{"player_mark", paint::PlayerMark},
      Row{"map_marks", paint::MapMarks},
      Row{"light_housing", paint::LightHousing},
      Row{"lamp", paint::Lamp},
  };
  for (const auto& [name, painter] : kTable) {
    if (name == kind) return painter;
  }
  return nullptr;
}

}  // namespace artgen
