#pragma once
// Opening files and web addresses with the desktop.

#include <string>

namespace platform {

/// Opens a file or address with the desktop's handler (xdg-open) without waiting for it;
/// false when the handler could not be started.
bool OpenWithDesktop(const std::string& target);

/// A game path written with backslashes ("Data\data1.oil") as a path of this system.
std::string NativePath(const std::string& gamePath);

}  // namespace platform
