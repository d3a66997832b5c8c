#pragma once

#include <map>
#include <string>

#include "Colour.h"

namespace artgen {

/// The named colours of the art set. A colour text is "#rrggbb", "#rrggbbaa" or a
/// palette name, either optionally followed by "@alpha" (0..1), e.g. "neon_cyan@0.4".
class TPalette {
 public:
  /// Adds or replaces a named colour; value is any colour text (earlier names allowed).
  void Define(const std::string& name, const std::string& value);
  /// Resolves a colour text; throws std::runtime_error for unknown names or bad syntax.
  TColour Resolve(const std::string& text) const;

 private:
  std::map<std::string, TColour> Colours_;
};

}  // namespace artgen
