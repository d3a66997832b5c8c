#pragma once
// Where the score service is: a command-line option, a settings file, or the built-in default.

#include <string>

namespace online {

/// The address used when neither the option nor the settings file names one.
inline constexpr const char* kDefaultScoreServer = "http://127.0.0.1:8080";
/// The settings file that may hold the address on its first line.
inline constexpr const char* kScoreServerFileName = "score-server";

/// Whether the text is a usable service address: "http://" or "https://" and a host.
bool IsScoreServerAddress(const std::string& address);

/// The service address: the option when not empty, else the first line of the "score-server"
/// file in the settings folder when it holds a usable address, else the default. Surrounding
/// blanks and trailing "/" are removed.
std::string ResolveScoreServer(const std::string& option, const std::string& configDir);

}  // namespace online
