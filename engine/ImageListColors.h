#pragma once
// Named colours of image-list files and the fixed RGB values system colours have here.

#include <cstdint>
#include <string>

namespace vexel {

/// The value of a named colour ("clFuchsia" 0x00FF00FF, "clBtnFace" 0xFF00000F, ...), any
/// letter case; false for an unknown name.
bool ColorFromIdent(const std::string& ident, uint32_t& color);

/// The RGB value (0x00BBGGRR) of a colour: system colours (negative as 32-bit signed values, the
/// index in the low byte) take the fixed values of a classic desktop theme, others stay as they
/// are.
uint32_t ColorToRgb(uint32_t color);

}  // namespace vexel
