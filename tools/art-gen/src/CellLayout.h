#pragma once

namespace artgen {

/// Size of one animation cell and how many cells a picture has across and down.
struct TCellLayout {
  int Width = 0;
  int Height = 0;
  int Columns = 1;
  int Rows = 1;

  /// Number of cells, counted row by row.
  int Count() const { return Columns * Rows; }
  /// Whole picture width in pixels.
  int PictureWidth() const { return Width * Columns; }
  /// Whole picture height in pixels.
  int PictureHeight() const { return Height * Rows; }
  /// Same cell size and grid.
  bool operator==(const TCellLayout&) const = default;
};

}  // namespace artgen
