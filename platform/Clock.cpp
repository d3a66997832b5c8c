#include "Clock.h"

#include <SDL.h>

namespace platform {

int64_t TSystemClock::Frequency() const {
  return static_cast<int64_t>(SDL_GetPerformanceFrequency());
}

int64_t TSystemClock::Now() const {
  return static_cast<int64_t>(SDL_GetPerformanceCounter());
}

uint64_t Milliseconds() {
  return SDL_GetTicks64();
}

}  // namespace platform
