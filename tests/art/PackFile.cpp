#include "PackFile.h"

#include <fstream>
#include <sstream>

namespace arttest {

std::vector<PackEntry> ReadPackFile(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::vector<PackEntry> entries;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string word;
    if (!(fields >> word) || word[0] == '#') continue;
    PackEntry e;
    std::string picture;
    if (word != "entry" || !(fields >> e.Key >> picture >> e.TileWidth >> e.TileHeight)) return {};
    e.Picture = file.parent_path() / picture;
    entries.push_back(e);
  }
  return entries;
}

const PackEntry* FindEntry(const std::vector<PackEntry>& entries, const std::string& key) {
  for (const PackEntry& e : entries) {
    if (e.Key == key) return &e;
  }
  return nullptr;
}

}  // namespace arttest
