#pragma once

#include <string>

#include "Cell.h"

namespace artgen {

/// The painter of a picture kind, or nullptr for an unknown kind.
Painter findPainter(const std::string& kind);

/// One drawing routine per kind of picture; each draws one cell from its recipe.
namespace paint {

void button(cairo_t* cr, const Cell& cell);
void toggleSwitch(cairo_t* cr, const Cell& cell);
void editBox(cairo_t* cr, const Cell& cell);
void statBar(cairo_t* cr, const Cell& cell);
void chooseBar(cairo_t* cr, const Cell& cell);
void badge(cairo_t* cr, const Cell& cell);
void strip(cairo_t* cr, const Cell& cell);
void panel(cairo_t* cr, const Cell& cell);
void fontSheet(cairo_t* cr, const Cell& cell);
void cursor(cairo_t* cr, const Cell& cell);
void planet(cairo_t* cr, const Cell& cell);
void glowLight(cairo_t* cr, const Cell& cell);
void spaceScreen(cairo_t* cr, const Cell& cell);
void logo(cairo_t* cr, const Cell& cell);
void trackPreview(cairo_t* cr, const Cell& cell);
void lockedPreview(cairo_t* cr, const Cell& cell);
void carPreview(cairo_t* cr, const Cell& cell);
void raceCar(cairo_t* cr, const Cell& cell);
void roadStraight(cairo_t* cr, const Cell& cell);
void roadCorner(cairo_t* cr, const Cell& cell);
void startLine(cairo_t* cr, const Cell& cell);
void roadDecal(cairo_t* cr, const Cell& cell);
void paintMarks(cairo_t* cr, const Cell& cell);
void block(cairo_t* cr, const Cell& cell);
void rock(cairo_t* cr, const Cell& cell);
void arcBarrier(cairo_t* cr, const Cell& cell);
void wall(cairo_t* cr, const Cell& cell);
void stripedWall(cairo_t* cr, const Cell& cell);
void ground(cairo_t* cr, const Cell& cell);
void smoke(cairo_t* cr, const Cell& cell);
void checkpoint(cairo_t* cr, const Cell& cell);
void finishGate(cairo_t* cr, const Cell& cell);
void probe(cairo_t* cr, const Cell& cell);
void speedo(cairo_t* cr, const Cell& cell);
void speedoGlass(cairo_t* cr, const Cell& cell);
void needle(cairo_t* cr, const Cell& cell);
void radarArrow(cairo_t* cr, const Cell& cell);
void startRing(cairo_t* cr, const Cell& cell);
void lightHousing(cairo_t* cr, const Cell& cell);
void lamp(cairo_t* cr, const Cell& cell);

}  // namespace paint
}  // namespace artgen
