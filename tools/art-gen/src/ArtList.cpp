#include "ArtList.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace artgen {

namespace {

constexpr int kMaxTemplateDepth = 8;

TCellLayout LayoutFromRecipe(const TRecipe& recipe) {
  TCellLayout layout;
  std::tie(layout.Width, layout.Height) = recipe.Size("cell");
  if (recipe.Has("grid")) std::tie(layout.Columns, layout.Rows) = recipe.Size("grid");
  return layout;
}

std::string Describe(const TCellLayout& l) {
  return std::to_string(l.Columns) + "x" + std::to_string(l.Rows) + " cells of " +
         std::to_string(l.Width) + "x" + std::to_string(l.Height);
}

}  // namespace

TArtList::TArtList(const std::filesystem::path& path, const racesizes::TRaceSizeTable& sizes)
    : Document_(TArtDocument::Load(path)), Palette_(std::make_unique<TPalette>()) {
  for (const TArtSection& section : Document_.Sections()) {
    if (section.Type == "palette") {
      for (const TArtParam& p : section.Params) {
        try {
          Palette_->Define(p.Key, p.Value);
        } catch (const std::runtime_error& e) {
          throw std::runtime_error(p.Where + ": " + e.what());
        }
      }
    } else if (section.Type == "template") {
      if (section.Name.empty()) throw std::runtime_error(section.Where + ": template needs a name");
      if (!Templates_.emplace(section.Name, &section).second) {
        throw std::runtime_error(section.Where + ": template \"" + section.Name + "\" repeated");
      }
    } else if (section.Type != "entry") {
      throw std::runtime_error(section.Where + ": unknown section type \"" + section.Type + "\"");
    }
  }
  std::set<std::string> keys;
  for (const TArtSection& section : Document_.Sections()) {
    if (section.Type != "entry") continue;
    if (section.Name.empty()) throw std::runtime_error(section.Where + ": entry needs a key");
    if (!keys.insert(section.Name).second) {
      throw std::runtime_error(section.Where + ": key \"" + section.Name + "\" repeated");
    }
    AddEntry(section, sizes);
  }
  if (Entries_.empty()) throw std::runtime_error(path.string() + ": no entries");
}

std::set<std::string> TArtList::FontFamilies() const {
  std::set<std::string> families;
  const std::string suffix = "_font";
  for (const TArtSection& section : Document_.Sections()) {
    for (const TArtParam& p : section.Params) {
      if (p.Key.size() > suffix.size() &&
          p.Key.compare(p.Key.size() - suffix.size(), suffix.size(), suffix) == 0) {
        families.insert(p.Value);
      }
    }
  }
  return families;
}

void TArtList::CollectLayers(const TArtSection& section, std::vector<const TArtSection*>& layers,
                             int depth) const {
  if (depth > kMaxTemplateDepth) {
    throw std::runtime_error(section.Where + ": templates nested too deeply");
  }
  layers.push_back(&section);
  for (const TArtParam& p : section.Params) {
    if (p.Key != "use") continue;
    for (const std::string& name : SplitWords(p.Value)) {
      const auto it = Templates_.find(name);
      if (it == Templates_.end()) {
        throw std::runtime_error(p.Where + ": unknown template \"" + name + "\"");
      }
      CollectLayers(*it->second, layers, depth + 1);
    }
  }
}

void TArtList::AddEntry(const TArtSection& section, const racesizes::TRaceSizeTable& sizes) {
  std::vector<const TArtSection*> layers;
  CollectLayers(section, layers, 0);
  TRecipe recipe(section.Name, layers, *Palette_);
  recipe.All("use");
  TCellLayout layout;
  if (const auto fixed = sizes.Find(section.Name)) {
    layout = {fixed->Width, fixed->Height, fixed->Columns, fixed->Rows};
    if (recipe.Has("cell")) {
      const TCellLayout stated = LayoutFromRecipe(recipe);
      if (!(stated == layout)) {
        recipe.Fail("states " + Describe(stated) + " but the race size table fixes " +
                    Describe(layout));
      }
    }
  } else {
    layout = LayoutFromRecipe(recipe);
  }
  const double margin = recipe.Number("margin", 0.0);
  if (margin < 0 || margin * 2 >= std::min(layout.Width, layout.Height)) {
    recipe.Fail("margin leaves no room inside the cell");
  }
  std::string kind = recipe.Text("kind");
  Entries_.push_back({std::move(recipe), std::move(kind), layout, static_cast<int>(margin)});
}

}  // namespace artgen
