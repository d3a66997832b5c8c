#include "FontCheck.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <stdexcept>

namespace artgen {

namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

struct TPatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, TPatternDeleter>;

bool Installed(const std::string& family) {
  PatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str())));
  if (!pattern) return false;
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  const PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  if (!match) return false;
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (Lower(reinterpret_cast<const char*>(name)) == Lower(family)) return true;
  }
  return false;
}

}  // namespace

void RequireFonts(const std::set<std::string>& families) {
  std::string missing;
  for (const std::string& f : families) {
    const std::string family = f.substr(0, f.find(':'));
    if (!Installed(family)) missing += (missing.empty() ? "" : ", ") + family;
  }
  if (!missing.empty()) throw std::runtime_error("fonts not installed: " + missing);
}

void ReleaseFontCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}

}  // namespace artgen
