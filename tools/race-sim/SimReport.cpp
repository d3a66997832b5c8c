#include "SimReport.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "game/GameConstants.h"

namespace racesim {
namespace {

std::string Row(const TCarResult& car) {
  const game::TGameCatalogue catalogue;
  char line[160];
  std::snprintf(line, sizeof line, "%5s  %-8s  %-7s  %9s  %4d  %9s",
                car.Place > 0 ? std::to_string(car.Place).c_str() : "-", car.Name.c_str(),
                catalogue.CarInfo[static_cast<size_t>(car.CarType)].Title.c_str(),
                car.Place > 0 ? TimeText(car.Time).c_str() : "-", car.Laps,
                TimeText(car.BestLap).c_str());
  std::string row = line;
  if (car.StuckAt >= 0) row += "  stuck at frame " + std::to_string(car.StuckAt);
  return row;
}

}  // namespace

std::string TimeText(const game::TRaceTime& time) {
  return time.Minutes >= game::NoBestTimeMinutes ? "-" : time.Text();
}

void PrintHeading(std::ostream& out, const TSimOptions& options, const game::TRaceWorld& world) {
  const game::TTrackInfo& track = world.Catalogue.TrackInfo[static_cast<size_t>(options.TrackSlot)];
  out << track.Title << " (" << track.DataFile << "): " << world.RaceLaps << " laps, "
      << (world.TimeTrial ? "time trial" : std::to_string(world.EnemyCount) + " opponents")
      << ", seed " << options.Seed << ", player "
      << world.Catalogue.CarInfo[static_cast<size_t>(options.Car)].Title
      << (options.Autopilot           ? " on autopilot"
          : options.InputFile.empty() ? " without keys"
                                      : " from a key script")
      << "\n";
}

void PrintReplayOutcome(std::ostream& out, const TRaceOutcome& outcome) {
  for (size_t i = 0; i < outcome.Cars.size(); ++i) {
    const TCarResult& car = outcome.Cars[i];
    out << (i == 0 ? std::string("player") : "opponent " + std::to_string(i)) << " place "
        << (car.Place > 0 ? std::to_string(car.Place) : "-") << " time "
        << (car.Place > 0 ? TimeText(car.Time) : "-") << " best-lap " << TimeText(car.BestLap)
        << "\n";
  }
}

void PrintOutcome(std::ostream& out, const TRaceOutcome& outcome) {
  std::vector<TCarResult> cars = outcome.Cars;
  std::stable_sort(cars.begin(), cars.end(), [](const TCarResult& a, const TCarResult& b) {
    if ((a.Place > 0) != (b.Place > 0)) return a.Place > 0;
    return a.Place > 0 ? a.Place < b.Place : a.Laps > b.Laps;
  });
  out << "place  car       type          time  laps   best lap\n";
  for (const TCarResult& car : cars) out << Row(car) << "\n";
  out << "frames simulated: " << outcome.Frames << "\n";
  if (outcome.PlayerFinishFrame >= 0) {
    out << "player finished in frame " << outcome.PlayerFinishFrame
        << " (the race screen closes 150 frames later)\n";
  }
  if (!outcome.AllFinished) out << "not every car finished\n";
}

}  // namespace racesim
