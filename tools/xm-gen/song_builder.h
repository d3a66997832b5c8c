#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "song_source.h"
#include "xm_module.h"

namespace xm {

/// Turns a parsed song into a module: synthesises the instruments, lays the phrases out into
/// pattern rows and resolves the order list. Throws synth::SourceError for names that do not
/// resolve, phrases that overrun their pattern and notes transposed out of range.
Module BuildModule(const SongSource& song);

/// Parses, builds and writes a song source in one step, giving the bytes of the XM file.
std::vector<std::uint8_t> CompileSong(std::string_view text);

}  // namespace xm
