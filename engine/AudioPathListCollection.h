#pragma once
// The output paths of the sound component.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "AudioPathListItem.h"

namespace vexel {

/// The sound component's paths in order, with one start counter per path type that spreads
/// pooled sounds over the paths of that type.
class TAudioPathListCollection {
 public:
  /// An empty collection of `owner`'s paths.
  explicit TAudioPathListCollection(TVexelSound3D& owner) : Owner_(owner) {}

  /// Appends a new path and returns it.
  TAudioPathListItem& Add();
  /// Number of paths.
  int Count() const { return static_cast<int>(Items_.size()); }
  /// The path at `index`, or none when there is no such path.
  TAudioPathListItem* Items(int index) const;
  /// Frees every path.
  void Clear() { Items_.clear(); }

  /// Picks a pool path of `type` for a new sound: the next one after the type's counter that
  /// is not busy at `now`; when all are busy, the last one looked at (it is shared); none when
  /// the type has no pool path.
  TAudioPathListItem* PickPooled(TAudioPathType type, uint32_t now);
  /// The start counter of a path type.
  int32_t StartCounter(TAudioPathType type) const { return Counters_[static_cast<int>(type)]; }

 private:
  TVexelSound3D& Owner_;
  std::vector<std::unique_ptr<TAudioPathListItem>> Items_;
  std::array<int32_t, 3> Counters_{};
};

}  // namespace vexel
