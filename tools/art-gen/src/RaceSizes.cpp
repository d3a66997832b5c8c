#include "RaceSizes.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace artgen {

RaceSizes RaceSizes::load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return parse(text.str(), path.string());
}

RaceSizes RaceSizes::parse(const std::string& text, const std::string& origin) {
  RaceSizes sizes;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    std::istringstream fields(line);
    std::string key;
    if (!(fields >> key) || key[0] == '#') continue;
    CellLayout layout;
    std::string extra;
    const std::string where = origin + ":" + std::to_string(lineNo);
    if (!(fields >> layout.columns >> layout.rows >> layout.width >> layout.height) ||
        (fields >> extra)) {
      throw std::runtime_error(where + ": expected \"key columns rows width height\"");
    }
    if (layout.columns < 1 || layout.rows < 1 || layout.width < 1 || layout.height < 1) {
      throw std::runtime_error(where + ": sizes and counts must be positive");
    }
    if (!sizes.layouts_.emplace(key, layout).second) {
      throw std::runtime_error(where + ": \"" + key + "\" listed twice");
    }
  }
  return sizes;
}

std::optional<CellLayout> RaceSizes::find(const std::string& key) const {
  const auto it = layouts_.find(key);
  if (it == layouts_.end()) return std::nullopt;
  return it->second;
}

}  // namespace artgen
