#include "SoundListCollection.h"

namespace vexel {

TSoundListItem& TSoundListCollection::Add() {
  Items_.push_back(std::make_unique<TSoundListItem>(Owner_));
  return *Items_.back();
}

TSoundListItem* TSoundListCollection::Find(const std::string& name) const {
  for (const auto& item : Items_) {
    if (item->Name == name) return item.get();
  }
  return nullptr;
}

TSoundListItem* TSoundListCollection::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return Items_[static_cast<std::size_t>(index)].get();
}

}  // namespace vexel
