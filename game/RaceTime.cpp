#include "RaceTime.h"

#include <cstdio>

namespace game {

void TRaceTime::AddHundredth() {
  if (++Hundredths < 100) return;
  Hundredths = 0;
  if (++Seconds < 60) return;
  Seconds = 0;
  ++Minutes;
}

std::string TRaceTime::Text() const {
  char text[48];
  std::snprintf(text, sizeof text, "%d:%02d:%02d", Minutes, Seconds, Hundredths);
  return text;
}

}  // namespace game
