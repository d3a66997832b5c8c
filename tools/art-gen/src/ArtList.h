#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ArtDocument.h"
#include "CellLayout.h"
#include "Palette.h"
#include "RaceSizeTable.h"
#include "Recipe.h"

namespace artgen {

/// One picture of a list: its recipe, painter kind, cell layout and the transparent
/// margin kept inside every cell.
struct ArtEntry {
  Recipe recipe;
  std::string kind;
  CellLayout layout;
  int margin = 0;
};

/// A list of pictures read from an art file: "[palette]" sections define colours,
/// "[template name]" sections hold shared parameters, "[entry key]" sections are the
/// pictures in list order. Each entry names its painter with "kind", its cell size with
/// "cell = WxH", its grid with "grid = CxR" (default 1x1), an optional transparent
/// "margin" and the templates it builds on with "use = a b". Keys listed in the race size
/// table take their layout from it; a differing cell or grid in the entry is an error.
class ArtList {
 public:
  /// Loads and checks the list; throws std::runtime_error with file:line on errors.
  ArtList(const std::filesystem::path& path, const racesizes::TRaceSizeTable& sizes);
  ArtList(const ArtList&) = delete;
  ArtList& operator=(const ArtList&) = delete;

  /// The pictures in list order.
  const std::vector<ArtEntry>& entries() const { return entries_; }
  /// Every font family named by a "..._font" parameter anywhere in the list.
  std::set<std::string> fontFamilies() const;

 private:
  void addEntry(const ArtSection& section, const racesizes::TRaceSizeTable& sizes);
  void collectLayers(const ArtSection& section, std::vector<const ArtSection*>& layers,
                     int depth) const;

  ArtDocument document_;
  std::unique_ptr<Palette> palette_;
  std::map<std::string, const ArtSection*> templates_;
  std::vector<ArtEntry> entries_;
};

}  // namespace artgen
