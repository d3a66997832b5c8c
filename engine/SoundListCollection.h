#pragma once
// The named sound effects of the sound component.

#include <memory>
#include <string>
#include <vector>

#include "SoundListItem.h"

namespace vexel {

/// The sound component's sounds in order, found by exact name.
class TSoundListCollection {
 public:
  /// An empty collection of `owner`'s sounds.
  explicit TSoundListCollection(TVexelSound3D& owner) : Owner_(owner) {}

  /// Appends a new sound and returns it.
  TSoundListItem& Add();
  /// The first sound whose name equals `name` exactly (case counts), or none.
  TSoundListItem* Find(const std::string& name) const;
  /// Number of sounds.
  int Count() const { return static_cast<int>(Items_.size()); }
  /// The sound at `index`, or none.
  TSoundListItem* Items(int index) const;
  /// Frees every sound.
  void Clear() { Items_.clear(); }

 private:
  TVexelSound3D& Owner_;
  std::vector<std::unique_ptr<TSoundListItem>> Items_;
};

}  // namespace vexel
