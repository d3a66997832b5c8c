#pragma once
// Readable names of the keyboard's virtual keys, as scripts and the controls file write them.

#include <cstdint>
#include <string>

namespace platform {

/// The lower-case name of a virtual key ("w", "7", "up", "space", "f1", "numpad4", ...), or an
/// empty string for a code without a name.
std::string KeyName(int32_t virtualKey);

/// The virtual key of a name, in any letter case; 0 for an unknown name.
int32_t KeyOfName(const std::string& name);

}  // namespace platform
