#include "AudioPathListCollection.h"

namespace vexel {

TAudioPathListItem& TAudioPathListCollection::Add() {
  Items_.push_back(std::make_unique<TAudioPathListItem>(Owner_));
  return *Items_.back();
}

TAudioPathListItem* TAudioPathListCollection::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return Items_[static_cast<std::size_t>(index)].get();
}

TAudioPathListItem* TAudioPathListCollection::PickPooled(TAudioPathType type, uint32_t now) {
  const int n = Count();
  int32_t& counter = Counters_[static_cast<int>(type)];
  const int32_t start = counter;
  TAudioPathListItem* shared = nullptr;
  for (int i = 1; i <= n; ++i) {
    TAudioPathListItem* path = Items((start % n + i) % n);
    if (!path->Pool || path->AudioPathType != type) continue;
    if (!path->Busy(now)) {
      counter = start + i % n;
      return path;
    }
    shared = path;
  }
  return shared;
}

}  // namespace vexel
