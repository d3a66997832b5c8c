#include "SongListCollection.h"

namespace vexel {

TSongListItem& TSongListCollection::Add() {
  Items_.push_back(std::make_unique<TSongListItem>());
  return *Items_.back();
}

TSongListItem* TSongListCollection::Find(const std::string& name) const {
  for (const auto& item : Items_) {
    if (item->Name == name) return item.get();
  }
  return nullptr;
}

TSongListItem* TSongListCollection::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return Items_[static_cast<std::size_t>(index)].get();
}

}  // namespace vexel
