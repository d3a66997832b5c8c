#pragma once

#include <string>

#include "Cell.h"

namespace artgen {

/// The painter of a picture kind, or nullptr for an unknown kind.
Painter findPainter(const std::string& kind);

/// One drawing routine per kind of picture; each draws one cell from its recipe.
namespace paint {

/// Widget button: cell 0 normal, 1 hover (brighter), 2 disabled (greyed), painted label and icon.
void button(cairo_t* cr, const Cell& cell);
/// Options switch face, on or off.
void toggleSwitch(cairo_t* cr, const Cell& cell);
/// Dark text field of an edit box.
void editBox(cairo_t* cr, const Cell& cell);
/// Full-length handling bar with a colour ramp and segments.
void statBar(cairo_t* cr, const Cell& cell);
/// Translucent highlight bar of the profile list.
void chooseBar(cairo_t* cr, const Cell& cell);
/// Small label plate such as the new-record badge.
void badge(cairo_t* cr, const Cell& cell);
/// Dark strip with fading ends behind a line of game text.
void strip(cairo_t* cr, const Cell& cell);
/// Screen panel: framed plate with title, wells, troughs, rules, key caps and texts.
void panel(cairo_t* cr, const Cell& cell);
/// Bitmap-font picture: one glyph of the character list per cell.
void fontSheet(cairo_t* cr, const Cell& cell);
/// Mouse pointer whose glow pulses over the cells.
void cursor(cairo_t* cr, const Cell& cell);
/// Turning planet or sun; each cell is one step of the turn.
void planet(cairo_t* cr, const Cell& cell);
/// Soft menu light with a streak and sparkles.
void glowLight(cairo_t* cr, const Cell& cell);
/// Full-screen space scene with nebulae, stars, orbits, floor grid and texts.
void spaceScreen(cairo_t* cr, const Cell& cell);
/// Logo: comet emblem, gradient wordmarks and texts on transparency.
void logo(cairo_t* cr, const Cell& cell);
/// Desktop icon: the logo's comet and wordmark on a rounded space plate, drawn at a design
/// size and scaled to the cell so that every icon size is the same picture.
void icon(cairo_t* cr, const Cell& cell);
/// Track preview: an input picture of the track on a framed screen card.
void trackPreview(cairo_t* cr, const Cell& cell);
/// Locked-track card with a padlock.
void lockedPreview(cairo_t* cr, const Cell& cell);
/// The locked card's padlock alone on transparency, to lay over a dimmed car card.
void lockBadge(cairo_t* cr, const Cell& cell);
/// Car showcase card: the car design large, on a glowing pad, with its name.
void carPreview(cairo_t* cr, const Cell& cell);
/// Race car sprite: cell 2 straight, lower cells steer right, higher cells left.
void raceCar(cairo_t* cr, const Cell& cell);
/// Straight road piece along x or y.
void roadStraight(cairo_t* cr, const Cell& cell);
/// Corner road cells, each joining the two sides named for it.
void roadCorner(cairo_t* cr, const Cell& cell);
/// Chequered start line.
void startLine(cairo_t* cr, const Cell& cell);
/// Chevron decal painted on the road.
void roadDecal(cairo_t* cr, const Cell& cell);
/// Decorative road marks, one pattern per cell.
void paintMarks(cairo_t* cr, const Cell& cell);
/// Obstacle blocks, one style and colour per cell.
void block(cairo_t* cr, const Cell& cell);
/// Rocks, one shape per cell.
void rock(cairo_t* cr, const Cell& cell);
/// Half-ring barriers, one colour per cell.
void arcBarrier(cairo_t* cr, const Cell& cell);
/// Plain wall, horizontal or vertical by its cell shape.
void wall(cairo_t* cr, const Cell& cell);
/// Striped wall, one colour pair per cell.
void stripedWall(cairo_t* cr, const Cell& cell);
/// Race ground that tiles in both directions.
void ground(cairo_t* cr, const Cell& cell);
/// Soft smoke puff.
void smoke(cairo_t* cr, const Cell& cell);
/// Translucent glowing checkpoint gate.
void checkpoint(cairo_t* cr, const Cell& cell);
/// Finish gate (never shown in a race).
void finishGate(cairo_t* cr, const Cell& cell);
/// Road probe dot (never shown in a race).
void probe(cairo_t* cr, const Cell& cell);
/// HUD console with the speedometer dial, radar and text screen; cell 0 forward, 1 reverse.
void speedo(cairo_t* cr, const Cell& cell);
/// HUD glass layer: dial and radar bezels and the needle hub.
void speedoGlass(cairo_t* cr, const Cell& cell);
/// Speedometer needle rising from the bottom middle.
void needle(cairo_t* cr, const Cell& cell);
/// Checkpoint pointer pointing up.
void radarArrow(cairo_t* cr, const Cell& cell);
/// Ring of arrows around the player car at the start.
void startRing(cairo_t* cr, const Cell& cell);
/// The ring under the player's car: a soft disc, a broken glowing ring and a chevron at the
/// nose (+y, where the car picture points).
void playerMark(cairo_t* cr, const Cell& cell);
/// The marks of the race's track map, white to be tinted: cell 0 a car dot with a dark rim,
/// cell 1 the next-checkpoint ring.
void mapMarks(cairo_t* cr, const Cell& cell);
/// Start-light housing with a socket under each lamp.
void lightHousing(cairo_t* cr, const Cell& cell);
/// Lit start lamp with its glow.
void lamp(cairo_t* cr, const Cell& cell);

}  // namespace paint
}  // namespace artgen
