#pragma once

#include <cairo.h>

#include "Recipe.h"

namespace artgen {

/// What of a car to draw: the whole car, or only its painted body (in light greys, with the
/// stripes, canopy, vents, front wing and headlights cut out) for the game to tint.
enum class CarLayer { Whole, Paint };

/// Draws a race car from its design parameters (outline, wheels, wings, pods, colours,
/// canopy, stripes, engines, headlights), centred on the origin with the nose pointing
/// along +y, filling width x length. lean runs from -1 (full right steer) to +1 (full left steer)
/// and turns the front wheels and nose towards the driver's side of the turn.
void DrawCar(cairo_t* cr, const TRecipe& design, double width, double length, double lean,
             CarLayer layer = CarLayer::Whole);

}  // namespace artgen
