#pragma once
// The songs of the music component.

#include <memory>
#include <string>
#include <vector>

#include "SongListItem.h"

namespace vexel {

/// The music component's songs in order, found by exact name.
class TSongListCollection {
 public:
  /// Appends a new song and returns it.
  TSongListItem& Add();
  /// The first song whose name equals `name` exactly, or none.
  TSongListItem* Find(const std::string& name) const;
  /// Number of songs.
  int Count() const { return static_cast<int>(Items_.size()); }
  /// The song at `index`, or none.
  TSongListItem* Items(int index) const;

 private:
  std::vector<std::unique_ptr<TSongListItem>> Items_;
};

}  // namespace vexel
