// track-tool: compiles track sources into track files, and validates, lists and draws them.

#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "RaceSizes.h"
#include "TrackCompiler.h"
#include "TrackDump.h"
#include "TrackFile.h"
#include "TrackModel.h"
#include "TrackRender.h"
#include "TrackSource.h"
#include "TrackValidator.h"

namespace {

using namespace tracktool;

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
constexpr int MaxOpponents = 8;

const char* const Usage =
    "usage:\n"
    "  track-tool compile SOURCE OUT.prd [--sizes FILE]\n"
    "  track-tool validate FILE.prd --opponents N [--sizes FILE]\n"
    "  track-tool dump FILE.prd\n"
    "  track-tool render FILE.prd OUT.png [--size WxH] [--transparent] [--details] "
    "[--sizes FILE]\n"
    "The race sizes file defaults to " CLD_RACE_SIZES_FILE "\n";

/// Raised for a command line that does not fit the usage.
struct TUsageError {
  std::string Message;
};

/// The command line split into positional words and --options.
struct TCommandLine {
  std::vector<std::string> Words;
  std::string Sizes = CLD_RACE_SIZES_FILE;
  std::optional<int> Opponents;
  int Width = 200;
  int Height = 150;
  bool Transparent = false;
  bool Details = false;
};

int ParseInt(const std::string& text, const std::string& what) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw TUsageError{what + " must be a whole number, not \"" + text + "\""};
  }
  return value;
}

void ParseSize(const std::string& text, TCommandLine& cmd) {
  const auto x = text.find('x');
  if (x == std::string::npos) throw TUsageError{"--size takes WIDTHxHEIGHT, e.g. 200x150"};
  cmd.Width = ParseInt(text.substr(0, x), "width");
  cmd.Height = ParseInt(text.substr(x + 1), "height");
  constexpr int MaxSide = 8192;
  if (cmd.Width <= 0 || cmd.Height <= 0 || cmd.Width > MaxSide || cmd.Height > MaxSide) {
    throw TUsageError{"--size must be between 1x1 and 8192x8192"};
  }
}

TCommandLine ParseCommandLine(int argc, char** argv) {
  TCommandLine cmd;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw TUsageError{arg + " needs a value"};
      return argv[++i];
    };
    if (arg == "--sizes") {
      cmd.Sizes = value();
    } else if (arg == "--opponents") {
      cmd.Opponents = ParseInt(value(), "--opponents");
    } else if (arg == "--size") {
      ParseSize(value(), cmd);
    } else if (arg == "--transparent") {
      cmd.Transparent = true;
    } else if (arg == "--details") {
      cmd.Details = true;
    } else if (arg.starts_with("--")) {
      throw TUsageError{"unknown option " + arg};
    } else {
      cmd.Words.push_back(arg);
    }
  }
  return cmd;
}

void NeedWords(const TCommandLine& cmd, std::size_t count) {
  if (cmd.Words.size() != count) throw TUsageError{"wrong number of arguments"};
}

std::string FileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

int Compile(const TCommandLine& cmd) {
  NeedWords(cmd, 3);
  const TRaceSizes sizes = TRaceSizes::Load(cmd.Sizes);
  const TTrackSource src = LoadTrackSource(cmd.Words[1]);
  const std::vector<TrackRecord> records = CompileTrack(src, sizes);
  WriteTrackFile(cmd.Words[2], records);
  const TTrackModel model = BuildTrackModel(records, sizes);
  std::printf("%s: %zu records, lap %.1f (wanted %s), %zu path points, %zu checkpoints\n",
              FileName(cmd.Words[2]).c_str(), records.size(), model.LapLength() / 10.0,
              src.LengthText.c_str(), model.Path.size(), model.CheckLines.size());
  return 0;
}

int Validate(const TCommandLine& cmd) {
  NeedWords(cmd, 2);
  if (!cmd.Opponents || *cmd.Opponents < 1 || *cmd.Opponents > MaxOpponents) {
    throw TUsageError{"validate needs --opponents N with N from 1 to 8"};
  }
  const TRaceSizes sizes = TRaceSizes::Load(cmd.Sizes);
  const TTrackFileData data = ReadTrackFile(cmd.Words[1]);
  const std::vector<TTrackProblem> problems = ValidateTrack(data, sizes, *cmd.Opponents);
  for (const TTrackProblem& p : problems) {
    std::fprintf(stderr, "%s\n", FormatProblem(FileName(cmd.Words[1]), p).c_str());
  }
  return problems.empty() ? 0 : ExitFailure;
}

int Dump(const TCommandLine& cmd) {
  NeedWords(cmd, 2);
  std::fputs(DumpRecords(ReadTrackFile(cmd.Words[1]).Records).c_str(), stdout);
  return 0;
}

int Render(const TCommandLine& cmd) {
  NeedWords(cmd, 3);
  const TRaceSizes sizes = TRaceSizes::Load(cmd.Sizes);
  const TTrackModel model = BuildTrackModel(ReadTrackFile(cmd.Words[1]).Records, sizes);
  TRenderOptions options;
  options.Width = cmd.Width;
  options.Height = cmd.Height;
  options.Transparent = cmd.Transparent;
  options.Details = cmd.Details;
  std::string error;
  if (!RenderOverview(model, sizes, options, cmd.Words[2], error)) {
    std::fprintf(stderr, "track-tool: %s\n", error.c_str());
    return ExitFailure;
  }
  return 0;
}

int Run(const TCommandLine& cmd) {
  if (cmd.Words.empty()) throw TUsageError{"no command"};
  const std::string& command = cmd.Words[0];
  if (command == "compile") return Compile(cmd);
  if (command == "validate") return Validate(cmd);
  if (command == "dump") return Dump(cmd);
  if (command == "render") return Render(cmd);
  throw TUsageError{"unknown command " + command};
}

}  // namespace

int main(int argc, char** argv) {
  int status = ExitFailure;
  try {
    status = Run(ParseCommandLine(argc, argv));
  } catch (const TUsageError& e) {
    std::fprintf(stderr, "track-tool: %s\n%s", e.Message.c_str(), Usage);
    status = ExitUsage;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "track-tool: %s\n", e.what());
  }
  tracktool::ReleaseFontCaches();
  return status;
}
