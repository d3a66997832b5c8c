#pragma once
// The 32-symbol text encoding shared by the settings files and the score submission.

#include <string>
#include <string_view>

namespace online {

/// The 32 symbols of the encoding; symbol v is the character at position v.
inline constexpr std::string_view kTextAlphabet = "QWERTYUPASDFGHJKLXCVBNM987654321";

/// Encodes bytes as alphabet symbols, five bits a symbol (five bytes give eight symbols).
std::string EncodeText(std::string_view plain);

/// Decodes alphabet symbols back to bytes; characters outside the alphabet are skipped.
std::string DecodeText(std::string_view encoded);

}  // namespace online
