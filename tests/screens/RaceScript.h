#pragma once
// Test support: input-script pieces that take the real game through a race and its results.

#include <cstdint>
#include <string>

#include "GameRun.h"

namespace testgame {

/// The frame, rounded up, at which the main menu takes clicks after the logo.
inline constexpr long MenuFrame = LogoEnd + 30;

/// One script line: `event` at `frame`.
std::string At(long frame, const std::string& event);

/// Writes a settings file with one profile "Ann" (two cars, three tracks) of this score.
void WriteProfile(const TGameRun& run, int32_t score);

/// Into a race of "Track 1" with the first car: main menu, track screen, car screen, enter.
std::string IntoTheRace();

/// Clicks "bro_next" and then `answer` ("click X Y" of "b_no1" or "b_yes1") every 40 frames
/// from `from` to `to`: hidden buttons take no clicks, so the first that lands is the one the
/// results show.
std::string ThroughTheResults(long from, long to, const char* answer);

}  // namespace testgame
