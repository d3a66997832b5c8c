#pragma once
// Pack manifests: the text files that say which pictures go into an image-list file.
//
// One line per entry, in list order; blank lines and lines starting with # are ignored:
//   entry <Name> <picture.png|picture.bmp> <TileWidth> <TileHeight> [transparent=<colour>]
//         [filepath=<path>]
// Picture paths are relative to the manifest's folder. A colour is decimal, 0x-hex (a system
// colour 0x00BBGGRR) or a named colour such as clFuchsia, which is stored by its name.

#include <filesystem>
#include <string>
#include <vector>

#include "engine/ImageListFile.h"

namespace oiltool {

/// Reads a manifest and the pictures it names; throws std::runtime_error naming the file and
/// line of the first bad line or unreadable picture.
std::vector<vexel::TImageListFileEntry> ReadManifest(const std::filesystem::path& manifest);

/// Reads manifest text whose picture paths are relative to Folder; Source names the text in
/// error messages. Throws std::runtime_error as ReadManifest does.
std::vector<vexel::TImageListFileEntry> ParseManifest(const std::string& text,
                                                      const std::filesystem::path& folder,
                                                      const std::string& source);

}  // namespace oiltool
