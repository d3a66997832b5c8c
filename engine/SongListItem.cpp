#include "SongListItem.h"

#include <algorithm>
#include <cmath>

#include "VexelSpriteBase.h"

namespace vexel {

void TSongListItem::SetPan(int32_t value) {
  Pan_ = std::clamp(value, -100, 100);
}

void TSongListItem::SetVolume(int32_t value) {
  Volume_ = std::clamp(value, 0, 100);
}

int32_t TSongListItem::BalanceOf(int32_t pan) {
  pan = std::clamp(pan, -100, 100);
  if (pan == 0) return 0;
  if (pan == -100) return -10000;
  if (pan == 100) return 10000;
  if (pan < 0) return RoundCoord(1000.0L * std::log10((pan + 100) / 100.0L));
  return -RoundCoord(1000.0L * std::log10((100 - pan) / 100.0L));
}

int32_t TSongListItem::LevelOf(int32_t volume) {
  volume = std::clamp(volume, 0, 100);
  if (volume == 0) return -10000;
  return RoundCoord(1000.0L * std::log10(volume / 100.0L));
}

void TSongListItem::Play() {
  if (Loaded_) Position_ = 0.0;
}

}  // namespace vexel
