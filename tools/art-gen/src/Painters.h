#pragma once

#include <string>

#include "Cell.h"

namespace artgen {

/// The painter of a picture kind, or nullptr for an unknown kind.
Painter FindPainter(const std::string& kind);

/// One drawing routine per kind of picture; each draws one cell from its recipe.
namespace paint {

/// Widget button: cell 0 normal, 1 hover (brighter), 2 disabled (greyed), painted label and icon.
void Button(cairo_t* cr, const TCell& cell);
/// Options switch face, on or off.
void ToggleSwitch(cairo_t* cr, const TCell& cell);
/// Dark text field of an edit box.
void EditBox(cairo_t* cr, const TCell& cell);
/// Full-length handling bar with a colour ramp and segments.
void StatBar(cairo_t* cr, const TCell& cell);
/// Translucent highlight bar of the profile list.
void ChooseBar(cairo_t* cr, const TCell& cell);
/// Small label plate such as the new-record badge.
void Badge(cairo_t* cr, const TCell& cell);
/// Dark strip with fading ends behind a line of game text.
void Strip(cairo_t* cr, const TCell& cell);
/// Screen panel: framed plate with title, wells, troughs, rules, key caps and texts.
void Panel(cairo_t* cr, const TCell& cell);
/// Bitmap-font picture: one glyph of the character list per cell.
void FontSheet(cairo_t* cr, const TCell& cell);
/// Mouse pointer whose glow pulses over the cells.
void Cursor(cairo_t* cr, const TCell& cell);
/// Turning planet or sun; each cell is one step of the turn.
void Planet(cairo_t* cr, const TCell& cell);
/// Soft menu light with a streak and sparkles.
void GlowLight(cairo_t* cr, const TCell& cell);
/// Full-screen space scene with nebulae, stars, orbits, floor grid and texts.
void SpaceScreen(cairo_t* cr, const TCell& cell);
/// Logo: comet emblem, gradient wordmarks and texts on transparency.
void Logo(cairo_t* cr, const TCell& cell);
/// Desktop icon: the logo's comet and wordmark on a rounded space plate, drawn at a design
/// size and scaled to the cell so that every icon size is the same picture.
void Icon(cairo_t* cr, const TCell& cell);
/// Track preview: an input picture of the track on a framed screen card.
void TrackPreview(cairo_t* cr, const TCell& cell);
/// Locked-track card with a padlock.
void LockedPreview(cairo_t* cr, const TCell& cell);
/// The locked card's padlock alone on transparency, to lay over a dimmed car card.
void LockBadge(cairo_t* cr, const TCell& cell);
/// Car showcase card: the car design large, on a glowing pad, with its name.
void CarPreview(cairo_t* cr, const TCell& cell);
/// Race car sprite: cell 2 straight, lower cells steer right, higher cells left.
void RaceCar(cairo_t* cr, const TCell& cell);
/// Straight road piece along x or y.
void RoadStraight(cairo_t* cr, const TCell& cell);
/// Corner road cells, each joining the two sides named for it.
void RoadCorner(cairo_t* cr, const TCell& cell);
/// Chequered start line.
void StartLine(cairo_t* cr, const TCell& cell);
/// Chevron decal painted on the road.
void RoadDecal(cairo_t* cr, const TCell& cell);
/// Decorative road marks, one pattern per cell.
void PaintMarks(cairo_t* cr, const TCell& cell);
/// Obstacle blocks, one style and colour per cell.
void Block(cairo_t* cr, const TCell& cell);
/// Rocks, one shape per cell.
void Rock(cairo_t* cr, const TCell& cell);
/// Half-ring barriers, one colour per cell.
void ArcBarrier(cairo_t* cr, const TCell& cell);
/// Plain wall, horizontal or vertical by its cell shape.
void Wall(cairo_t* cr, const TCell& cell);
/// Striped wall, one colour pair per cell.
void StripedWall(cairo_t* cr, const TCell& cell);
/// Race ground that tiles in both directions.
void Ground(cairo_t* cr, const TCell& cell);
/// Soft smoke puff.
void Smoke(cairo_t* cr, const TCell& cell);
/// Translucent glowing checkpoint gate.
void Checkpoint(cairo_t* cr, const TCell& cell);
/// Finish gate (never shown in a race).
void FinishGate(cairo_t* cr, const TCell& cell);
/// Road probe dot (never shown in a race).
void Probe(cairo_t* cr, const TCell& cell);
/// HUD console with the speedometer dial, radar and text screen; cell 0 forward, 1 reverse.
void Speedo(cairo_t* cr, const TCell& cell);
/// HUD glass layer: dial and radar bezels and the needle hub.
void SpeedoGlass(cairo_t* cr, const TCell& cell);
/// Speedometer needle rising from the bottom middle.
void Needle(cairo_t* cr, const TCell& cell);
/// Checkpoint pointer pointing up.
void RadarArrow(cairo_t* cr, const TCell& cell);
/// Ring of arrows around the player car at the start.
void StartRing(cairo_t* cr, const TCell& cell);
/// The ring under the player's car: a soft disc, a broken glowing ring and a chevron at the
/// nose (+y, where the car picture points).
void PlayerMark(cairo_t* cr, const TCell& cell);
/// The marks of the race's track map, white to be tinted: cell 0 a car dot with a dark rim,
/// cell 1 the next-checkpoint ring.
void MapMarks(cairo_t* cr, const TCell& cell);
/// Start-light housing with a socket under each lamp.
void LightHousing(cairo_t* cr, const TCell& cell);
/// Lit start lamp with its glow.
void Lamp(cairo_t* cr, const TCell& cell);

}  // namespace paint
}  // namespace artgen
