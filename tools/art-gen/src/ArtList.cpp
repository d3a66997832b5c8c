#include "ArtList.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace artgen {

namespace {

constexpr int kMaxTemplateDepth = 8;

CellLayout layoutFromRecipe(const Recipe& recipe) {
  CellLayout layout;
  std::tie(layout.width, layout.height) = recipe.size("cell");
  if (recipe.has("grid")) std::tie(layout.columns, layout.rows) = recipe.size("grid");
  return layout;
}

std::string describe(const CellLayout& l) {
  return std::to_string(l.columns) + "x" + std::to_string(l.rows) + " cells of " +
         std::to_string(l.width) + "x" + std::to_string(l.height);
}

}  // namespace

ArtList::ArtList(const std::filesystem::path& path, const racesizes::TRaceSizeTable& sizes)
    : document_(ArtDocument::load(path)), palette_(std::make_unique<Palette>()) {
  for (const ArtSection& section : document_.sections()) {
    if (section.type == "palette") {
      for (const ArtParam& p : section.params) {
        try {
          palette_->define(p.key, p.value);
        } catch (const std::runtime_error& e) {
          throw std::runtime_error(p.where + ": " + e.what());
        }
      }
    } else if (section.type == "template") {
      if (section.name.empty()) throw std::runtime_error(section.where + ": template needs a name");
      if (!templates_.emplace(section.name, &section).second) {
        throw std::runtime_error(section.where + ": template \"" + section.name + "\" repeated");
      }
    } else if (section.type != "entry") {
      throw std::runtime_error(section.where + ": unknown section type \"" + section.type + "\"");
    }
  }
  std::set<std::string> keys;
  for (const ArtSection& section : document_.sections()) {
    if (section.type != "entry") continue;
    if (section.name.empty()) throw std::runtime_error(section.where + ": entry needs a key");
    if (!keys.insert(section.name).second) {
      throw std::runtime_error(section.where + ": key \"" + section.name + "\" repeated");
    }
    addEntry(section, sizes);
  }
  if (entries_.empty()) throw std::runtime_error(path.string() + ": no entries");
}

std::set<std::string> ArtList::fontFamilies() const {
  std::set<std::string> families;
  const std::string suffix = "_font";
  for (const ArtSection& section : document_.sections()) {
    for (const ArtParam& p : section.params) {
      if (p.key.size() > suffix.size() &&
          p.key.compare(p.key.size() - suffix.size(), suffix.size(), suffix) == 0) {
        families.insert(p.value);
      }
    }
  }
  return families;
}

void ArtList::collectLayers(const ArtSection& section, std::vector<const ArtSection*>& layers,
                            int depth) const {
  if (depth > kMaxTemplateDepth) {
    throw std::runtime_error(section.where + ": templates nested too deeply");
  }
  layers.push_back(&section);
  for (const ArtParam& p : section.params) {
    if (p.key != "use") continue;
    for (const std::string& name : splitWords(p.value)) {
      const auto it = templates_.find(name);
      if (it == templates_.end()) {
        throw std::runtime_error(p.where + ": unknown template \"" + name + "\"");
      }
      collectLayers(*it->second, layers, depth + 1);
    }
  }
}

void ArtList::addEntry(const ArtSection& section, const racesizes::TRaceSizeTable& sizes) {
  std::vector<const ArtSection*> layers;
  collectLayers(section, layers, 0);
  Recipe recipe(section.name, layers, *palette_);
  recipe.all("use");
  CellLayout layout;
  if (const auto fixed = sizes.Find(section.name)) {
    layout = {fixed->Width, fixed->Height, fixed->Columns, fixed->Rows};
    if (recipe.has("cell")) {
      const CellLayout stated = layoutFromRecipe(recipe);
      if (!(stated == layout)) {
        recipe.fail("states " + describe(stated) + " but the race size table fixes " +
                    describe(layout));
      }
    }
  } else {
    layout = layoutFromRecipe(recipe);
  }
  const double margin = recipe.number("margin", 0.0);
  if (margin < 0 || margin * 2 >= std::min(layout.width, layout.height)) {
    recipe.fail("margin leaves no room inside the cell");
  }
  std::string kind = recipe.text("kind");
  entries_.push_back({std::move(recipe), std::move(kind), layout, static_cast<int>(margin)});
}

}  // namespace artgen
