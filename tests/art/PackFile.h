#pragma once
// The packing manifests art-gen writes for the image lists.

#include <filesystem>
#include <string>
#include <vector>

namespace arttest {

/// One "entry <key> <picture> <tile width> <tile height>" line.
struct PackEntry {
  std::string Key;
  std::filesystem::path Picture;
  int TileWidth = 0;
  int TileHeight = 0;
};

/// The entries of a packing manifest in order, pictures resolved against its folder; an
/// unreadable file or a malformed line gives an empty list.
std::vector<PackEntry> ReadPackFile(const std::filesystem::path& file);

/// The entry named key, or nullptr.
const PackEntry* FindEntry(const std::vector<PackEntry>& entries, const std::string& key);

}  // namespace arttest
