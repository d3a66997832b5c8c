#pragma once
// Image-list files (".oil"): a one-entry resource header followed by a component stream
// ("TPF0") whose root, a TImageListCollectionComponent, carries the entries in its `List`
// collection. Everything is little-endian.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ImageListPicture.h"

namespace vexel {

class TImageListCollection;

/// One entry as an image-list file stores it.
struct TImageListFileEntry {
  std::string Name;
  TPicture Picture;
  int32_t TileWidth = 1;
  int32_t TileHeight = 1;
  /// The colour key as a number (0x00BBGGRR), written when TransparentColorName is empty.
  uint32_t TransparentColor = 0;
  /// The colour key as a named colour ("clFuchsia"), written as an identifier.
  std::string TransparentColorName;
  bool Transparent = false;
  /// The external picture file, written only when present.
  std::optional<std::string> Filepath;
};

/// The bytes of an image-list file holding the entries, in order.
std::vector<uint8_t> WriteImageListFile(const std::vector<TImageListFileEntry>& entries);

/// Reads image-list bytes into the collection (which the caller has emptied). Entries read
/// before an error stay; false, with the offset and reason in error, when the bytes are bad.
bool ReadImageListStream(const std::vector<uint8_t>& stream, TImageListCollection& collection,
                         std::string& error);

}  // namespace vexel
