#pragma once

namespace artgen {

/// Size of one animation cell and how many cells a picture has across and down.
struct CellLayout {
  int width = 0;
  int height = 0;
  int columns = 1;
  int rows = 1;

  /// Number of cells, counted row by row.
  int count() const { return columns * rows; }
  /// Whole picture width in pixels.
  int pictureWidth() const { return width * columns; }
  /// Whole picture height in pixels.
  int pictureHeight() const { return height * rows; }
  /// Same cell size and grid.
  bool operator==(const CellLayout&) const = default;
};

}  // namespace artgen
