#pragma once
// The simulator's printed results.

#include <iosfwd>
#include <string>

#include "RaceSimulator.h"
#include "SimOptions.h"

namespace racesim {

/// Writes the race's heading line: track, laps, opponents, seed and the player's car.
void PrintHeading(std::ostream& out, const TSimOptions& options, const game::TRaceWorld& world);
/// Writes one line per car in finishing order (cars that did not finish last): place, car,
/// type, race time, laps, best lap, and when it got stuck; then the frames simulated.
void PrintOutcome(std::ostream& out, const TRaceOutcome& outcome);
/// Writes one line per car, the player first, then the opponents in index order (counted from
/// 1): "CAR place P time M:SS:HH best-lap M:SS:HH", with "-" for what the car never reached.
void PrintReplayOutcome(std::ostream& out, const TRaceOutcome& outcome);
/// "M:SS:HH", or "-" for a time never set.
std::string TimeText(const game::TRaceTime& time);

}  // namespace racesim
