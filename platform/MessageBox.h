#pragma once
// Modal message boxes.

#include <string>
#include <vector>

namespace platform {

/// Shows a modal message box and returns the index of the button pressed. Without a display
/// (headless runs) the box is written to standard error and answered with its first button.
int ShowMessageBox(const std::string& caption, const std::string& text,
                   const std::vector<std::string>& buttons);

/// Reports an error that ends the program: always on standard error, and in a message box too
/// when a display is there to show it (also before any window exists).
void ShowFatalMessage(const std::string& caption, const std::string& text);

/// Whether the program runs without a visible display (offscreen or dummy video, or no video).
bool IsHeadless();

}  // namespace platform
