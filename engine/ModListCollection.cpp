#include "ModListCollection.h"

namespace vexel {

TModListItem& TModListCollection::Add() {
  Items_.push_back(std::make_unique<TModListItem>(Owner_));
  return *Items_.back();
}

TModListItem* TModListCollection::Find(const std::string& name) const {
  for (const auto& item : Items_) {
    if (item->Name == name) return item.get();
  }
  return nullptr;
}

TModListItem* TModListCollection::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return Items_[static_cast<std::size_t>(index)].get();
}

}  // namespace vexel
