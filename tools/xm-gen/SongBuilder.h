#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "SongSource.h"
#include "XmModule.h"

namespace xm {

/// Turns a parsed song into a module: synthesises the instruments, lays the phrases out into
/// pattern rows and resolves the order list. Throws synth::TSourceError for names that do not
/// resolve, phrases that overrun their pattern and notes transposed out of range.
TModule BuildModule(const TSongSource& song);

/// Parses, builds and writes a song source in one step, giving the bytes of the XM file.
std::vector<std::uint8_t> CompileSong(std::string_view text);

}  // namespace xm
