#pragma once
// Overview pictures of compiled tracks, drawn with Cairo.

#include <string>

#include "RaceSizes.h"
#include "TrackModel.h"

namespace tracktool {

/// How an overview is drawn.
struct TRenderOptions {
  int Width = 200;
  int Height = 150;
  /// Leave the background transparent instead of a dark panel.
  bool Transparent = false;
  /// Also draw checkpoint numbers, the opponents' path with its tags and the grid cars; chosen
  /// automatically for pictures of 400 pixels width or more.
  bool Details = false;
};

/// Draws the road scaled to fit, with the finish line, driving direction, checkpoints, grid and
/// obstacles, and writes it as a PNG file; false with a reason in error on failure.
bool RenderOverview(const TTrackModel& model, const TRaceSizes& sizes,
                    const TRenderOptions& options, const std::string& file, std::string& error);

/// Releases the font caches Cairo and fontconfig keep for the whole process; call it once at
/// the end, when no Cairo object is left.
void ReleaseFontCaches();

}  // namespace tracktool
