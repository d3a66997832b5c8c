#include "ResampledCopies.h"

#include <algorithm>

namespace platform {

size_t TResampledCopies::TexelsOf(const TResampledKey& key) {
  return static_cast<size_t>(key.Width) * static_cast<size_t>(key.Height);
}

const TResampledCopy* TResampledCopies::Find(const TResampledKey& key, uint64_t now) {
  const auto it = Copies_.find(key);
  if (it == Copies_.end()) return nullptr;
  it->second.LastUse = now;
  return &it->second;
}

bool TResampledCopies::Fits(const TResampledKey& key) const {
  return TexelsOf(key) <= BudgetTexels_;
}

std::vector<uint32_t> TResampledCopies::Add(const TResampledKey& key, TResampledCopy copy) {
  std::vector<uint32_t> dropped;
  while (!Copies_.empty() && Texels_ + TexelsOf(key) > BudgetTexels_) {
    const auto oldest = std::min_element(
        Copies_.begin(), Copies_.end(),
        [](const auto& a, const auto& b) { return a.second.LastUse < b.second.LastUse; });
    dropped.push_back(oldest->second.Name);
    Texels_ -= TexelsOf(oldest->first);
    Copies_.erase(oldest);
  }
  Texels_ += TexelsOf(key);
  Copies_[key] = copy;
  return dropped;
}

std::vector<uint32_t> TResampledCopies::ForgetSource(uint32_t source) {
  std::vector<uint32_t> dropped;
  std::erase_if(Copies_, [&](const auto& entry) {
    if (entry.first.Source != source) return false;
    dropped.push_back(entry.second.Name);
    Texels_ -= TexelsOf(entry.first);
    return true;
  });
  return dropped;
}

std::vector<uint32_t> TResampledCopies::Clear() {
  std::vector<uint32_t> dropped;
  for (const auto& entry : Copies_) dropped.push_back(entry.second.Name);
  Copies_.clear();
  Texels_ = 0;
  return dropped;
}

}  // namespace platform
