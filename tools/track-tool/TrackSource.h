#pragma once
// The readable text form of a track: a map of road cells plus a few annotated lines.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tracktool {

/// Raised for a track source that cannot be compiled; the message names the line or cell.
class TSourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// An obstacle or decoration placed relative to a lettered anchor cell of the map.
struct TPlacedItem {
  char Anchor = 'a';
  /// Obstacle kind (record parameter B of an obstacle), or record kind of a decoration.
  int Code = 0;
  int Dx = 0;
  int Dy = 0;
  int Angle = 0;
  int Line = 0;
};

/// A parsed track source. Map characters: ' ' or '.' grass, '-' and '|' straights, '/' and
/// '\' corners (they turn the road like mirrors), '>' '<' '^' 'v' the start straight and the
/// driving direction, 'C' a straight with a checkpoint, 'a'..'z' anchor cells on the grass.
struct TTrackSource {
  /// Track name used in messages (the file name without its folder).
  std::string Name;
  int Laps = 0;
  int Opponents = 0;
  /// Wanted lap length in path units of 10 pixels, as the track list shows it.
  std::string LengthText;
  /// Number of tagged path points (tags 1..Tags).
  int Tags = 5;
  std::vector<std::string> Map;
  std::vector<TPlacedItem> Obstacles;
  std::vector<TPlacedItem> Decorations;
};

/// Obstacle kind of a source name ("block", "rock", "arc", "wall-h", "wall-v", "stripes-h",
/// "stripes-v"); 0 for an unknown name.
int ObstacleCode(std::string_view name);

/// Record kind of a decoration name ("flowers-h", "flowers-v", "decal"); -1 for an unknown name.
int DecorationCode(std::string_view name);

/// Parses the text of a track source; throws SourceError naming the track and the line.
TTrackSource ParseTrackSource(std::string_view text, const std::string& name);

/// Reads and parses a track source file; throws SourceError.
TTrackSource LoadTrackSource(const std::string& file);

}  // namespace tracktool
