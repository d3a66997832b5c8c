#pragma once
// The commands of oil-tool.

#include <filesystem>
#include <ostream>

namespace oiltool {

/// Packs the pictures a manifest names into an image-list file; 0 on success, 1 (with the
/// reason on Errors) on failure.
int Pack(const std::filesystem::path& manifest, const std::filesystem::path& out,
         std::ostream& errors);

/// Prints one line per entry of an image-list file: index, name, picture kind and size, tile
/// size, colour key and external file; 1 (after the entries read) when the file is bad.
int List(const std::filesystem::path& file, std::ostream& out, std::ostream& errors);

/// Writes the pictures of an image-list file into a folder as <Name>.png or <Name>.bmp (a
/// repeated name gets "-<index>"); 1 when the file is bad or a picture cannot be written.
int Extract(const std::filesystem::path& file, const std::filesystem::path& folder,
            std::ostream& errors);

}  // namespace oiltool
