#pragma once

#include <string_view>

#include "song_source.h"

namespace xm {

/// Reads a song source: header settings, then "instrument", "phrase" and "pattern" blocks closed
/// by "end", "alias" lines and "order" lines. Throws synth::SourceError with the line number on
/// any mistake.
SongSource ParseSong(std::string_view text);

}  // namespace xm
