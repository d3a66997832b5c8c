#pragma once
// The named music modules of the sound component.

#include <memory>
#include <string>
#include <vector>

#include "ModListItem.h"

namespace vexel {

/// The sound component's modules in order, found by exact name.
class TModListCollection {
 public:
  /// An empty collection of `owner`'s modules.
  explicit TModListCollection(TVexelSound3D& owner) : Owner_(owner) {}

  /// Appends a new module and returns it.
  TModListItem& Add();
  /// The first module whose name equals `name` exactly (case counts), or none.
  TModListItem* Find(const std::string& name) const;
  /// Number of modules.
  int Count() const { return static_cast<int>(Items_.size()); }
  /// The module at `index`, or none.
  TModListItem* Items(int index) const;
  /// Unloads and frees every module.
  void Clear() { Items_.clear(); }

 private:
  TVexelSound3D& Owner_;
  std::vector<std::unique_ptr<TModListItem>> Items_;
};

}  // namespace vexel
