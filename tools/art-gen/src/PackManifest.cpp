#include "PackManifest.h"

#include <fstream>
#include <stdexcept>

namespace artgen {

void WritePackManifest(const std::vector<TArtEntry>& entries, const std::filesystem::path& manifest,
                       const std::filesystem::path& pictureDir) {
  const auto base = std::filesystem::absolute(manifest).parent_path();
  const auto pictures = std::filesystem::absolute(pictureDir);
  std::ofstream out(manifest, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + manifest.string());
  out << "# Image list: one entry per line, in list order.\n";
  out << "# entry <key> <picture> <tile width> <tile height>\n";
  for (const TArtEntry& e : entries) {
    const auto picture = (pictures / (e.Recipe.Key() + ".png")).lexically_relative(base);
    out << "entry " << e.Recipe.Key() << ' ' << picture.generic_string() << ' ' << e.Layout.Width
        << ' ' << e.Layout.Height << '\n';
  }
  if (!out.flush()) throw std::runtime_error("cannot write " + manifest.string());
}

}  // namespace artgen
