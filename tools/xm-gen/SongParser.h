#pragma once

#include <string_view>

#include "SongSource.h"

namespace xm {

/// Reads a song source: header settings, then "instrument", "phrase" and "pattern" blocks closed
/// by "end", "alias" lines and "order" lines. Throws synth::TSourceError with the line number on
/// any mistake.
TSongSource ParseSong(std::string_view text);

}  // namespace xm
