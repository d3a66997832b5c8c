#pragma once

#include <cairo.h>

#include <filesystem>

#include "Recipe.h"

namespace artgen {

/// What a painter gets to draw one cell: the recipe, which cell of how many, the drawable
/// size (the cell less its margin; the origin is the drawable area's top-left and drawing
/// is clipped to it) and the folder of external input pictures.
struct TCell {
  const TRecipe& Recipe;
  int Index;
  int Count;
  double Width;
  double Height;
  const std::filesystem::path& Inputs;
};

/// Draws one cell of a picture kind.
using Painter = void (*)(cairo_t* cr, const TCell& cell);

}  // namespace artgen
