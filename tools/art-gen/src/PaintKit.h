#pragma once

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "Cell.h"
#include "Colour.h"
#include "Draw.h"

namespace artgen {

/// The three looks of a widget cell: 0 normal, 1 hover, 2 disabled.
enum class WidgetState { Normal, Hover, Disabled };

/// The state a widget cell shows: the "state" parameter (normal, hover, disabled) when
/// given, else the cell number (0 normal, 1 hover, 2 and later disabled).
WidgetState CellWidgetState(const TCell& cell);

/// A font from the parameters "<prefix>_font" and "<prefix>_size".
TFont RecipeFont(const TRecipe& recipe, const std::string& prefix);

/// A surface whose pixel (x, y) is shade(x + 0.5, y + 0.5), given as straight alpha.
SurfacePtr PixelSurface(int width, int height, const std::function<TColour(double, double)>& shade);

/// Paints a surface with its top-left at (x, y).
void PaintSurface(cairo_t* cr, cairo_surface_t* surface, double x, double y);

/// Smooth step from 0 at edge0 to 1 at edge1.
double SmoothStep(double edge0, double edge1, double x);

/// Draws every "text = x y align size colour font words..." line of the recipe: the words
/// centred vertically on y, anchored by align (l, c, r), in the font "<font>_font", with a
/// halo when "<font>_glow" names a colour.
void PaintTexts(cairo_t* cr, const TRecipe& recipe);

/// The first count words of a feature line as numbers; fails naming what when short or bad.
std::vector<double> LeadingNumbers(const TRecipe& recipe, const std::vector<std::string>& words,
                                   std::size_t count, const std::string& what);

/// The words from index from on, joined by single blanks.
std::string JoinWords(const std::vector<std::string>& words, std::size_t from);

/// Angle in radians of a value given in degrees.
double Radians(double degrees);

}  // namespace artgen
