#pragma once
// The entries of an image list.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "VexelImageListItem.h"

namespace vexel {

class TVexelImageList;

/// The entries of an image list, in order; filled from image-list files and looked up by name.
class TImageListCollection {
 public:
  /// A filter the loaded bytes pass through before they are parsed (none in the game).
  using TLoadFilter = std::function<std::vector<uint8_t>(const std::vector<uint8_t>&)>;

  /// An empty collection owned by an image list (or by none, for tools and tests).
  explicit TImageListCollection(TVexelImageList* owner = nullptr) : Owner_(owner) {}

  /// Loads an image-list file. A file that cannot be read shows "Cannot be loaded - file error
  /// or file encrypted!" and leaves the collection as it was; false on any failure.
  bool LoadFromFile(const std::string& fileName);
  /// Empties the collection and loads image-list data. Bad data shows "The stream could not be
  /// loaded, either it is corrupt or encrypted!" and keeps the entries read before the error;
  /// false on failure.
  bool LoadFromStream(const std::vector<uint8_t>& stream);
  /// Why the last load failed (offset and reason), empty after a successful one.
  const std::string& LoadError() const { return LoadError_; }
  /// The entry at Index, or none outside 0 .. Count - 1.
  TImageListItem* Items(int32_t index) const;
  /// Number of entries.
  int32_t Count() const { return static_cast<int32_t>(Items_.size()); }
  /// Appends a new empty entry and returns it.
  TImageListItem* Add();
  /// Removes every entry.
  void Clear() { Items_.clear(); }
  /// The first entry whose name equals Name exactly (case-sensitive), or none.
  TImageListItem* Find(const std::string& name) const;
  /// The image list owning the collection, or none.
  TVexelImageList* Owner() const { return Owner_; }

  TLoadFilter LoadFilter;

 private:
  TVexelImageList* Owner_;
  std::vector<std::unique_ptr<TImageListItem>> Items_;
  std::string LoadError_;
};

}  // namespace vexel
