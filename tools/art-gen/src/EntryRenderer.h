#pragma once

#include <filesystem>

#include "ArtList.h"
#include "Draw.h"

namespace artgen {

/// Draws a whole picture: every cell of the entry's grid with the painter of its kind.
/// Throws std::runtime_error for an unknown kind or for own parameters no painter read.
SurfacePtr RenderEntry(const TArtEntry& entry, const std::filesystem::path& inputs);

/// Writes a surface as a PNG file; throws std::runtime_error on failure.
void WritePng(cairo_surface_t* surface, const std::filesystem::path& path);

}  // namespace artgen
