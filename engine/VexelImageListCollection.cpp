#include "VexelImageListCollection.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "ImageListFile.h"
#include "platform/MessageBox.h"

namespace vexel {
namespace {

// The caption of the application's standard message box.
constexpr char kApplicationTitle[] = "Comet Lane Derby";
// Image-list files larger than this are not read.
constexpr std::uintmax_t kMaxFileBytes = 512u << 20;

bool ReadWholeFile(const std::string& fileName, std::vector<uint8_t>& bytes) {
  std::string portable = fileName;
  std::replace(portable.begin(), portable.end(), '\\', '/');
  std::error_code error;
  const auto size = std::filesystem::file_size(portable, error);
  if (error || size > kMaxFileBytes) return false;
  std::ifstream file(portable, std::ios::binary);
  bytes.resize(static_cast<size_t>(size));
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  return static_cast<bool>(file);
}

}  // namespace

bool TImageListCollection::LoadFromFile(const std::string& fileName) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(fileName, bytes)) {
    LoadError_ = "cannot read " + fileName;
    platform::ShowMessageBox(kApplicationTitle, "Cannot be loaded - file error or file encrypted!",
                             {"OK"});
    return false;
  }
  return LoadFromStream(bytes);
}

bool TImageListCollection::LoadFromStream(const std::vector<uint8_t>& stream) {
  Clear();
  LoadError_.clear();
  const bool loaded = LoadFilter ? ReadImageListStream(LoadFilter(stream), *this, LoadError_)
                                 : ReadImageListStream(stream, *this, LoadError_);
  if (!loaded) {
    platform::ShowMessageBox("Error!",
                             "The stream could not be loaded, either it is corrupt or encrypted!",
                             {"OK", "Cancel"});
  }
  return loaded;
}

TImageListItem* TImageListCollection::Items(int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return Items_[static_cast<size_t>(index)].get();
}

TImageListItem* TImageListCollection::Add() {
  Items_.push_back(std::make_unique<TImageListItem>(this));
  return Items_.back().get();
}

TImageListItem* TImageListCollection::Find(const std::string& name) const {
  for (const auto& item : Items_) {
    if (item->Name == name) return item.get();
  }
  return nullptr;
}

}  // namespace vexel
