#pragma once

#include <cairo.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CellLayout.h"

namespace artgen {

/// The font family the contact sheet writes with.
inline constexpr const char* kContactSheetFont = "DejaVu Sans";

/// One picture shown on a contact sheet.
struct TSheetItem {
  std::string Key;
  TCellLayout Layout;
  cairo_surface_t* Picture;
};

/// Writes a review sheet: every picture with its key and layout, each cell apart on a
/// checkerboard with its cell number. Large pictures are shown scaled down.
void WriteContactSheet(const std::vector<TSheetItem>& items, const std::string& title,
                       const std::filesystem::path& out);

}  // namespace artgen
