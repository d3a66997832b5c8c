#pragma once
// Opening the shortcut and installer files that lie beside the game.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace online {

/// Hands a file path or web address to the desktop; false when nothing could be started.
/// The game passes platform::OpenWithDesktop; tests pass a recorder.
using TDesktopOpener = std::function<bool(const std::string& target)>;

/// The file a game path ("wdata\promo_back.png") names inside the data folder; none when the
/// path is empty, absolute or climbs out of the folder with "..".
std::optional<std::filesystem::path> GameDataFile(const std::filesystem::path& dataDir,
                                                  std::string_view gamePath);

/// The web address on the URL= line of an Internet Shortcut's text; empty when there is none
/// or it is not an http or https address.
std::string InternetShortcutUrl(std::string_view text);

/// The link-file operations of the menus and the shutdown: a file beside the game is opened
/// with the desktop's handler, a ".url" shortcut by the address on its URL= line (desktops do
/// not follow those files themselves). A missing file opens nothing.
class TGoToLink {
 public:
  /// Opens files of the given data folder through the given opener.
  TGoToLink(std::filesystem::path dataDir, TDesktopOpener opener);

  /// Opens a file named by its game path if it exists; true when something was handed to the
  /// opener and the opener started.
  bool OpenLinkFile(const std::string& gamePath) const;
  /// Opens "play.url" if it exists (at shutdown).
  bool OpenPlayLink() const;
  /// The data folder the game paths are resolved in.
  const std::filesystem::path& DataDir() const { return DataDir_; }

 private:
  std::filesystem::path DataDir_;
  TDesktopOpener Opener_;
};

}  // namespace online
