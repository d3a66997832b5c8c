// Program entry of Comet Lane Derby.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "Unit_pr.h"
#include "online/ScoreServerAddress.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"

namespace {

const char* kUsage =
    "Usage: comet-lane-derby [options]\n"
    "Without options the game starts as usual.\n"
    "  --frames N         stop after N frames\n"
    "  --screenshot FILE  save the last frame as a PNG file\n"
    "  --input FILE       play a script of key and mouse events stamped with frame numbers\n"
    "  --unpaced          fire frames as fast as possible (the race clock follows the frames)\n"
    "  --trace FILE       write a line FRAME STATE each time the screen changes\n"
    "  --autopilot        the autopilot drives the player's car in every race\n"
    "  --null-display     draw nothing and open no window (fast scripted runs)\n"
    "  --seed N           seed the random generator\n"
    "  --data-dir DIR     read the game's data files from DIR\n"
    "  --config-dir DIR   keep the settings files in DIR\n"
    "  --score-server URL send scores to and show the world page of the service at URL\n"
    "  --replay FILE      play the race of a replay file, print a line per car and stop\n"
    "  --save-replay FILE write the replay of each race to FILE when the race ends\n"
    "  --version          print the version and stop\n"
    "  --help, -h         show this text and stop\n";

bool ParseNumber(const char* text, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return end && *end == '\0' && end != text;
}

// What the command line asks for besides a game: nothing, the usage text or the version.
enum class TInfoRequest { None, Help, Version };

// Reads the options; returns false (after printing why) when they are not usable.
bool ParseOptions(int argc, char** argv, game::TGameOptions& options, TInfoRequest& info) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    long number = 0;
    if (arg == "--help" || arg == "-h") {
      info = TInfoRequest::Help;
    } else if (arg == "--version") {
      if (info == TInfoRequest::None) info = TInfoRequest::Version;
    } else if (arg == "--unpaced") {
      options.Unpaced = true;
    } else if (arg == "--autopilot") {
      options.Autopilot = true;
    } else if (arg == "--null-display") {
      options.RecordingDisplay = true;
      options.RecordedFramesKept = false;
    } else if (arg == "--trace" && hasValue) {
      options.TraceFile = argv[++i];
    } else if (arg == "--frames" && hasValue && ParseNumber(argv[i + 1], number) && number >= 0) {
      options.Frames = number;
      ++i;
    } else if (arg == "--seed" && hasValue && ParseNumber(argv[i + 1], number)) {
      options.HasSeed = true;
      options.Seed = static_cast<uint32_t>(number);
      ++i;
    } else if (arg == "--screenshot" && hasValue) {
      options.ScreenshotFile = argv[++i];
    } else if (arg == "--input" && hasValue) {
      options.InputFile = argv[++i];
    } else if (arg == "--replay" && hasValue) {
      options.ReplayFile = argv[++i];
    } else if (arg == "--save-replay" && hasValue) {
      options.SaveReplayFile = argv[++i];
    } else if (arg == "--data-dir" && hasValue) {
      options.DataDir = argv[++i];
    } else if (arg == "--config-dir" && hasValue) {
      options.ConfigDir = argv[++i];
    } else if (arg == "--score-server" && hasValue && online::IsScoreServerAddress(argv[i + 1])) {
      options.ScoreServer = argv[++i];
    } else {
      std::fprintf(stderr, "Unknown or incomplete option '%s'\n%s", arg.c_str(), kUsage);
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  game::TGameOptions options;
  TInfoRequest info = TInfoRequest::None;
  if (!ParseOptions(argc, argv, options, info)) return 2;
  if (info == TInfoRequest::Help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (info == TInfoRequest::Version) {
    std::printf("comet-lane-derby %s\n", CLD_VERSION);
    return 0;
  }
  const std::string dataProblem =
      game::TGamePaths(options.DataDir, options.ConfigDir).DataProblem();
  if (!dataProblem.empty()) {
    platform::ShowFatalMessage("Comet Lane Derby", dataProblem);
    return 3;
  }
  platform::TApplication::ReturnLargeBlocksWhenFreed();
  platform::TApplication application;
  try {
    game::TForm1 form(application, options);
    return form.Run();
  } catch (const std::exception& e) {
    platform::ShowMessageBox("Comet Lane Derby", e.what(), {"OK"});
    return 1;
  }
}
