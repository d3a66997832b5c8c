#pragma once

#include <set>
#include <string>

namespace artgen {

/// Makes sure every font family (optionally ending in ":bold") is installed, because Cairo
/// would quietly draw with a substitute; throws std::runtime_error naming the missing ones.
void RequireFonts(const std::set<std::string>& families);

/// Releases the font caches Cairo and fontconfig keep for the whole process (faces, patterns,
/// the default configuration). Call it once at the end, when no Cairo object is left.
void ReleaseFontCaches();

}  // namespace artgen
