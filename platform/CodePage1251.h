#pragma once
// The game's 8-bit text is Windows code page 1251; fonts and text input speak Unicode.

#include <cstdint>
#include <string>

namespace platform {

/// The Unicode code point of a code page 1251 byte (0 for the one unassigned byte, 0x98).
char32_t UnicodeOf1251(uint8_t byte);

/// The code page 1251 byte of a code point, or 0 when the code page has no such character.
uint8_t ByteOf1251(char32_t codePoint);

/// Converts UTF-8 text to code page 1251, dropping characters the code page lacks.
std::string Utf8To1251(const std::string& utf8);

/// Converts code page 1251 text to UTF-8.
std::string Cp1251ToUtf8(const std::string& text);

}  // namespace platform
