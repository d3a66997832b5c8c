#include "SimOptions.h"

#include <charconv>

#include "game/GameConstants.h"

namespace racesim {
namespace {

long ParseNumber(const std::string& text, const std::string& what, long low, long high) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    throw TUsageError(what + " must be a whole number from " + std::to_string(low) + " to " +
                      std::to_string(high) + ", not \"" + text + "\"");
  }
  return value;
}

std::vector<int32_t> ParseCarList(const std::string& text) {
  std::vector<int32_t> cars;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma - start);
    cars.push_back(
        static_cast<int32_t>(ParseNumber(item, "an opponent's car type", 0, game::CarCount - 1)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return cars;
}

}  // namespace

const char* Usage() {
  return "usage: race-sim --track SLOT --car TYPE [--opponents-cars T,T,...] [--seed N]\n"
         "                [--input FILE | --autopilot] [--data-dir DIR] [--frames N]\n"
         "                [--screenshot FILE] [--bench] [--camera look-ahead|classic]\n"
         "                [--save-replay FILE] [--time-trial]\n"
         "       race-sim --replay FILE [--data-dir DIR] [--bench]\n"
         "  SLOT 0..11 is the track's place in the catalogue (0 is \"Track 1\");\n"
         "  TYPE 0..4 is a car type (0 Speeder, 1 Turbo, 2 Volcano, 3 Viper, 4 Beast);\n"
         "  --camera is the race's view (default look-ahead): it changes the picture only;\n"
         "  --save-replay writes the race's replay (not with --opponents-cars); --replay runs\n"
         "  one and prints a line per car;\n"
         "  --time-trial races the player alone, timed in frames, as the game's time trial.\n";
}

TSimOptions ParseSimOptions(const std::vector<std::string>& args) {
  TSimOptions options;
  bool trackGiven = false;
  bool carGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw TUsageError(arg + " needs a value");
      return args[++i];
    };
    if (arg == "--track") {
      options.TrackSlot =
          static_cast<int32_t>(ParseNumber(value(), "--track", 0, game::TrackCount - 1));
      trackGiven = true;
    } else if (arg == "--car") {
      options.Car = static_cast<int32_t>(ParseNumber(value(), "--car", 0, game::CarCount - 1));
      carGiven = true;
    } else if (arg == "--opponents-cars") {
      options.OpponentCars = ParseCarList(value());
    } else if (arg == "--seed") {
      options.Seed = static_cast<uint32_t>(ParseNumber(value(), "--seed", 0, UINT32_MAX));
    } else if (arg == "--input") {
      options.InputFile = value();
    } else if (arg == "--autopilot") {
      options.Autopilot = true;
    } else if (arg == "--data-dir") {
      options.DataDir = value();
    } else if (arg == "--frames") {
      options.Frames = ParseNumber(value(), "--frames", 1, 100'000'000);
    } else if (arg == "--screenshot") {
      options.Screenshot = value();
    } else if (arg == "--bench") {
      options.Bench = true;
    } else if (arg == "--camera") {
      const std::string& name = value();
      if (!game::ParseCameraMode(name, options.Camera)) {
        throw TUsageError("--camera must be look-ahead or classic, not \"" + name + "\"");
      }
    } else if (arg == "--replay") {
      options.ReplayFile = value();
    } else if (arg == "--time-trial") {
      options.TimeTrial = true;
    } else if (arg == "--save-replay") {
      options.SaveReplayFile = value();
      options.RecordReplay = true;
    } else {
      throw TUsageError("unknown option \"" + arg + "\"");
    }
  }
  if (!options.ReplayFile.empty()) {
    if (trackGiven || carGiven || options.Autopilot || !options.InputFile.empty() ||
        options.RecordReplay || !options.Screenshot.empty() || options.TimeTrial) {
      throw TUsageError("--replay takes only --data-dir and --bench besides");
    }
    return options;
  }
  if (!trackGiven || !carGiven) throw TUsageError("--track and --car are needed");
  if (options.Autopilot && !options.InputFile.empty()) {
    throw TUsageError("--input and --autopilot cannot be used together");
  }
  // A replay sets its race up from the random state alone, which picks every opponent's car;
  // a race whose cars were chosen by hand could not be played back.
  if (options.RecordReplay && !options.OpponentCars.empty()) {
    throw TUsageError("--save-replay cannot record a race with --opponents-cars");
  }
  return options;
}

}  // namespace racesim
