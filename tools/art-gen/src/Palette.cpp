#include "Palette.h"

#include <stdexcept>

namespace artgen {

void TPalette::Define(const std::string& name, const std::string& value) {
  Colours_[name] = Resolve(value);
}

TColour TPalette::Resolve(const std::string& text) const {
  const auto at = text.find('@');
  const std::string base = text.substr(0, at);
  TColour c;
  if (!base.empty() && base[0] == '#') {
    c = ParseHexColour(base);
  } else {
    const auto it = Colours_.find(base);
    if (it == Colours_.end()) throw std::runtime_error("unknown colour \"" + base + "\"");
    c = it->second;
  }
  if (at != std::string::npos) {
    const std::string alpha = text.substr(at + 1);
    std::size_t used = 0;
    double a = 0.0;
    try {
      a = std::stod(alpha, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used != alpha.size() || a < 0.0 || a > 1.0) {
      throw std::runtime_error("bad alpha in colour \"" + text + "\"");
    }
    c.A *= a;
  }
  return c;
}

}  // namespace artgen
