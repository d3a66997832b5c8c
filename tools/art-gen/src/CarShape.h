#pragma once

#include <cairo.h>

#include "Recipe.h"

namespace artgen {

/// Draws a race car from its design parameters (outline, wheels, wings, pods, colours,
/// canopy, stripes, engines, headlights), centred on the origin with the nose pointing
/// along +y, filling width x length. lean runs from -1 (full right steer) to +1 (full left steer)
/// and turns the front wheels and nose towards the driver's side of the turn.
void drawCar(cairo_t* cr, const Recipe& design, double width, double length, double lean);

}  // namespace artgen
