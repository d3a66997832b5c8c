#pragma once

#include <filesystem>
#include <vector>

#include "ArtList.h"

namespace artgen {

/// Writes the packing manifest of a list: one line per entry in list order,
/// "entry <key> <picture> <tile width> <tile height>", with each picture "<key>.png" in
/// pictureDir named relative to the manifest's folder. Throws std::runtime_error on failure.
void WritePackManifest(const std::vector<TArtEntry>& entries, const std::filesystem::path& manifest,
                       const std::filesystem::path& pictureDir);

}  // namespace artgen
