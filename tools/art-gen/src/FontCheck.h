#pragma once

#include <set>
#include <string>

namespace artgen {

/// Makes sure every font family (optionally ending in ":bold") is installed, because Cairo
/// would quietly draw with a substitute; throws std::runtime_error naming the missing ones.
void requireFonts(const std::set<std::string>& families);

}  // namespace artgen
