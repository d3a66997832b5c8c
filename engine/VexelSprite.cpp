#include "VexelSprite.h"

#include <algorithm>

namespace vexel {
namespace {

// Erases the last occurrence of sprite; the engine frees from the back, so this is usually O(1).
void EraseLast(std::vector<TSprite*>& list, const TSprite* sprite) {
  const auto found = std::find(list.rbegin(), list.rend(), sprite);
  if (found != list.rend()) list.erase(std::next(found).base());
}

}  // namespace

TVexelSprite::~TVexelSprite() {
  while (!SpriteList_.empty()) delete SpriteList_.back();
}

void TVexelSprite::Move(float delta) {
  // Sprites made during the pass shift the later ones; the pass still makes `count` calls.
  const size_t count = SpriteList_.size();
  for (size_t i = 0; i < count && i < SpriteList_.size(); ++i) SpriteList_[i]->DoMove(delta);
}

void TVexelSprite::Draw() {
  const size_t count = SpriteList_.size();
  for (size_t i = 0; i < count && i < SpriteList_.size(); ++i) SpriteList_[i]->DoDraw();
}

void TVexelSprite::ClearDead() {
  while (!DeadList_.empty()) delete DeadList_.back();
}

void TVexelSprite::FreeSprite(TSprite* sprite) {
  delete sprite;
}

TSprite* TVexelSprite::Items(int32_t index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return SpriteList_[static_cast<size_t>(index)];
}

void TVexelSprite::AddSprite(TSprite* sprite) {
  int32_t low = 0;
  int32_t high = Count() - 1;
  while (high >= low) {
    const int32_t mid = (low + high) / 2;
    if (SpriteList_[static_cast<size_t>(mid)]->Z() < sprite->Z()) {
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  SpriteList_.insert(SpriteList_.begin() + low, sprite);
}

void TVexelSprite::RemoveSprite(TSprite* sprite) {
  EraseLast(SpriteList_, sprite);
}

void TVexelSprite::RemoveDead(TSprite* sprite) {
  EraseLast(DeadList_, sprite);
}

bool TVexelSprite::InDrawArea(int32_t sx, int32_t sy, int32_t width, int32_t height) const {
  if (DrawAreaX1 == 0 && DrawAreaY1 == 0 && DrawAreaX2 == 0 && DrawAreaY2 == 0) return true;
  const int64_t right = int64_t{sx} + width;
  const int64_t bottom = int64_t{sy} + height;
  return DrawAreaX1 <= right && sx <= DrawAreaX2 && DrawAreaY1 <= bottom && sy <= DrawAreaY2;
}

}  // namespace vexel
