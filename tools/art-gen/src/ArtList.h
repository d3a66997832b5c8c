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
struct TArtEntry {
  TRecipe Recipe;
  std::string Kind;
  TCellLayout Layout;
  int Margin = 0;
};

/// A list of pictures read from an art file: "[palette]" sections define colours,
/// "[template name]" sections hold shared parameters, "[entry key]" sections are the
/// pictures in list order. Each entry names its painter with "kind", its cell size with
/// "cell = WxH", its grid with "grid = CxR" (default 1x1), an optional transparent
/// "margin" and the templates it builds on with "use = a b". Keys listed in the race size
/// table take their layout from it; a differing cell or grid in the entry is an error.
class TArtList {
 public:
  /// Loads and checks the list; throws std::runtime_error with file:line on errors.
  TArtList(const std::filesystem::path& path, const racesizes::TRaceSizeTable& sizes);
  TArtList(const TArtList&) = delete;
  TArtList& operator=(const TArtList&) = delete;

  /// The pictures in list order.
  const std::vector<TArtEntry>& Entries() const { return Entries_; }
  /// Every font family named by a "..._font" parameter anywhere in the list.
  std::set<std::string> FontFamilies() const;

 private:
  void AddEntry(const TArtSection& section, const racesizes::TRaceSizeTable& sizes);
  void CollectLayers(const TArtSection& section, std::vector<const TArtSection*>& layers,
                     int depth) const;

  TArtDocument Document_;
  std::unique_ptr<TPalette> Palette_;
  std::map<std::string, const TArtSection*> Templates_;
  std::vector<TArtEntry> Entries_;
};

}  // namespace artgen
