// Measures the whole game through one race of "Track 11" (slot 10) with seven opponents, the
// player's car on the autopilot: the menus are played by an input script from a settings folder
// whose profile has every track and car open. Each run is a process of its own, so its peak
// resident memory is its own:
//   paced      the frame timer at 90 frames a second: rate, frame interval spread, processor use
//   unpaced    frames as fast as they come: rate
//   recording  the recording back end, no pixels: the game's own processor time per frame
//   trial      the same for a time trial of "Track 11", without a ghost (its record is made)
//   ghost      the same time trial again, its record driving beside the player as a ghost
//   textured   render-bench's comparison run: a window drawing textured quads, for its memory
//
//   game-bench [--data-dir DIR] [--keep]
//
// Runs on Mesa's software renderer unless SDL_VIDEODRIVER says otherwise (offscreen by default),
// with SDL_AUDIODRIVER=dummy by default. --keep leaves the settings folder and script in /tmp.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "RaceRunProbe.h"
#include "game/SettingsFile.h"

namespace {

namespace fs = std::filesystem;
using gamebench::TRaceFigures;
using gamebench::TRunMode;

// Frame at which the main menu has slid in after the logo sequence.
constexpr long kMenu = 514;
// The race is "Track 11": ten steps right from the first track.
constexpr int kTrackSteps = 10;
// No run goes on past this many frames (a race that never ends).
constexpr long kFrameLimit = 200000;
// Goals the figures are held against.
constexpr double kPacedP99GoalMs = 11.3;
constexpr double kOwnWorkGoalMs = 1.0;
constexpr double kUnpacedGoalFactor = 3.0;
constexpr double kMemoryGoalFactor = 1.15;
constexpr double kGhostGoalFactor = 1.1;

std::string At(long frame, const std::string& event) {
  return std::to_string(frame) + " " + event + "\n";
}

// Main menu, the track screen stepped to "Track 11", the car screen, the race; or with T on
// the track screen, the time trial.
std::string RaceScript(const char* trackKey = "enter") {
  std::string script = At(kMenu, "click 697 219");
  long frame = kMenu + 40;
  for (int i = 0; i < kTrackSteps; ++i, frame += 4) script += At(frame, "key right");
  script += At(frame + 10, std::string("key ") + trackKey);
  script += At(frame + 50, "key enter");
  return script;
}

// A settings folder with one profile that has every track and car open.
bool WriteSettings(const fs::path& configDir, std::string& error) {
  game::TGameSettings settings;
  settings.Profiles.ProfileCount = 1;
  settings.Profiles.Profiles[0] = {"Bench", 5, 12, 0, 300, 0};
  settings.PlayerName = "Bench";
  return game::TSettingsFile::SaveConfig((configDir / "Config.cfg").string(), settings, error);
}

double Percentile(std::vector<double> values, double q) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(q * static_cast<double>(values.size() - 1))];
}

double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (double v : values) sum += v;
  return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

// A child run: the "key value" lines it printed, its exit code and its peak resident memory.
struct TChild {
  std::map<std::string, double> Values;
  int ExitCode = -1;
  double PeakMb = 0;
  double Value(const std::string& key) const {
    const auto it = Values.find(key);
    return it == Values.end() ? 0 : it->second;
  }
};

// Runs a program and collects its "key value" lines; output of any other shape goes to standard
// error unless the caller wants only the memory figure.
TChild RunChild(const std::vector<std::string>& args, bool echoOutput = true) {
  TChild child;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return child;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    std::vector<char*> argv;
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  std::string output;
  char buffer[4096];
  ssize_t n = 0;
  while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
    output.append(buffer, static_cast<size_t>(n));
  }
  close(pipeEnds[0]);
  int status = 0;
  rusage usage{};
  if (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
    child.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    child.PeakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  }
  std::istringstream lines(output);
  std::string key;
  double value = 0;
  while (lines >> key >> value) child.Values[key] = value;
  if (child.Values.empty() && echoOutput) std::fputs(output.c_str(), stderr);
  return child;
}

// The child side: one run, its figures printed as "key value" lines.
int RunMode(TRunMode mode, const fs::path& dir, const std::string& dataDir,
            const char* script = "race.input") {
  TRaceFigures figures;
  gamebench::TRaceRunProbe probe(mode, (dir / "config").string(), (dir / script).string(), dataDir);
  const int code = probe.Run(kFrameLimit, figures);
  if (!figures.Finished) {
    std::fprintf(stderr, "the race did not reach the results (%ld race frames)\n", figures.Frames);
    return code == 0 ? 1 : code;
  }
  std::printf("frames %ld\nseconds %.4f\ncpu %.4f\nopponents %d\n", figures.Frames, figures.Seconds,
              figures.CpuSeconds, figures.Opponents);
  std::printf("interval_p50 %.4f\ninterval_p99 %.4f\ninterval_max %.4f\n",
              Percentile(figures.IntervalsMs, 0.5), Percentile(figures.IntervalsMs, 0.99),
              Percentile(figures.IntervalsMs, 1.0));
  std::printf("own_mean %.4f\nown_p50 %.4f\nown_p99 %.4f\n", Mean(figures.FrameCpuMs),
              Percentile(figures.FrameCpuMs, 0.5), Percentile(figures.FrameCpuMs, 0.99));
  return code;
}

// Peak memory of a window drawing textured quads: render-bench's comparison run, from beside
// this program.
TChild RunTexturedWindow(const fs::path& self) {
  const fs::path renderBench = self.parent_path() / "render-bench";
  return RunChild({renderBench.string(), "--seconds", "1"}, false);
}

const char* Verdict(bool met) {
  return met ? "met" : "MISSED";
}

void PrintReport(const TChild& paced, const TChild& unpaced, const TChild& recording,
                 const TChild& textured, const double (&load)[3]) {
  const double pacedFps = paced.Value("frames") / std::max(paced.Value("seconds"), 1e-9);
  const double unpacedFps = unpaced.Value("frames") / std::max(unpaced.Value("seconds"), 1e-9);
  const double recordingFps =
      recording.Value("frames") / std::max(recording.Value("seconds"), 1e-9);
  std::printf("A race of \"Track 11\", %d opponents, autopilot; load average %.2f %.2f %.2f\n\n",
              static_cast<int>(paced.Value("opponents")), load[0], load[1], load[2]);
  std::printf("%-36s %14s %14s %14s\n", "", "paced at 90", "unpaced", "recording");
  std::printf("%-36s %14.0f %14.0f %14.0f\n", "race frames", paced.Value("frames"),
              unpaced.Value("frames"), recording.Value("frames"));
  std::printf("%-36s %14.1f %14.1f %14.1f\n", "frames per second", pacedFps, unpacedFps,
              recordingFps);
  std::printf("%-36s %14.2f %14.2f %14s\n", "frame interval p50 (ms)", paced.Value("interval_p50"),
              unpaced.Value("interval_p50"), "-");
  std::printf("%-36s %14.2f %14.2f %14s\n", "frame interval p99 (ms)", paced.Value("interval_p99"),
              unpaced.Value("interval_p99"), "-");
  std::printf("%-36s %14.2f %14.2f %14s\n", "frame interval max (ms)", paced.Value("interval_max"),
              unpaced.Value("interval_max"), "-");
  std::printf("%-36s %14.1f %14.1f %14.1f\n", "CPU, % of one core (all threads)",
              100.0 * paced.Value("cpu") / std::max(paced.Value("seconds"), 1e-9),
              100.0 * unpaced.Value("cpu") / std::max(unpaced.Value("seconds"), 1e-9),
              100.0 * recording.Value("cpu") / std::max(recording.Value("seconds"), 1e-9));
  std::printf("%-36s %14.3f %14.3f %14.3f\n", "game thread CPU per frame, mean (ms)",
              paced.Value("own_mean"), unpaced.Value("own_mean"), recording.Value("own_mean"));
  std::printf("%-36s %14.3f %14.3f %14.3f\n", "game thread CPU per frame, p99 (ms)",
              paced.Value("own_p99"), unpaced.Value("own_p99"), recording.Value("own_p99"));
  std::printf("%-36s %14.1f %14.1f %14.1f\n", "peak resident memory (MB)", paced.PeakMb,
              unpaced.PeakMb, recording.PeakMb);
  const double ratio = paced.PeakMb / std::max(textured.PeakMb, 1e-9);
  std::printf(
      "\nwindow drawing textured quads (render-bench's comparison run): peak %.1f MB; "
      "paced run / that window %.2f\n\n",
      textured.PeakMb, ratio);
  std::printf("goal paced p99 <= %.1f ms: %.2f ms, %s\n", kPacedP99GoalMs,
              paced.Value("interval_p99"), Verdict(paced.Value("interval_p99") <= kPacedP99GoalMs));
  std::printf("goal game's own work <= %.1f ms a frame: %.3f ms (recording, mean), %s\n",
              kOwnWorkGoalMs, recording.Value("own_mean"),
              Verdict(recording.Value("own_mean") <= kOwnWorkGoalMs));
  std::printf("goal unpaced >= %.0fx paced: %.2fx, %s\n", kUnpacedGoalFactor,
              unpacedFps / std::max(pacedFps, 1e-9),
              Verdict(unpacedFps >= kUnpacedGoalFactor * pacedFps));
  std::printf("goal peak memory <= %.2fx a window drawing textured quads: %.2fx, %s\n",
              kMemoryGoalFactor, ratio, Verdict(ratio <= kMemoryGoalFactor));
}

void PrintGhostReport(const TChild& trial, const TChild& ghost) {
  const double ratio = ghost.Value("own_mean") / std::max(trial.Value("own_mean"), 1e-9);
  std::printf("\nA time trial of \"Track 11\", autopilot, recording back end\n");
  std::printf("%-36s %14s %14s\n", "", "no ghost", "with ghost");
  std::printf("%-36s %14.0f %14.0f\n", "race frames", trial.Value("frames"), ghost.Value("frames"));
  std::printf("%-36s %14.3f %14.3f\n", "game thread CPU per frame, mean (ms)",
              trial.Value("own_mean"), ghost.Value("own_mean"));
  std::printf("%-36s %14.3f %14.3f\n", "game thread CPU per frame, p50 (ms)",
              trial.Value("own_p50"), ghost.Value("own_p50"));
  std::printf("%-36s %14.3f %14.3f\n", "game thread CPU per frame, p99 (ms)",
              trial.Value("own_p99"), ghost.Value("own_p99"));
  std::printf("goal own work with a ghost <= %.1fx without: %.2fx, %s\n", kGhostGoalFactor, ratio,
              Verdict(ratio <= kGhostGoalFactor));
}

bool Succeeded(const TChild& child, const char* name) {
  if (child.ExitCode == 0 && !child.Values.empty()) return true;
  std::fprintf(stderr, "game-bench: the %s run failed (exit code %d)\n", name, child.ExitCode);
  return false;
}

int RunAll(const fs::path& self, const std::string& dataDir, bool keep) {
  char pattern[] = "/tmp/game-bench-XXXXXX";
  if (!mkdtemp(pattern)) {
    std::perror("game-bench: no temporary folder");
    return 1;
  }
  const fs::path dir(pattern);
  fs::create_directories(dir / "config");
  std::string error;
  if (!WriteSettings(dir / "config", error)) {
    std::fprintf(stderr, "game-bench: %s\n", error.c_str());
    return 1;
  }
  std::ofstream(dir / "race.input") << RaceScript();
  std::ofstream(dir / "trial.input") << RaceScript("t");
  double load[3] = {0, 0, 0};
  getloadavg(load, 3);
  std::vector<std::string> common = {"--dir", dir.string()};
  if (!dataDir.empty()) common.insert(common.end(), {"--data-dir", dataDir});
  auto run = [&](const char* mode) {
    std::vector<std::string> args = {self.string(), "--run", mode};
    args.insert(args.end(), common.begin(), common.end());
    std::fprintf(stderr, "game-bench: %s run...\n", mode);
    // Each run starts from the same settings: a finished race would otherwise change them.
    std::string writeError;
    WriteSettings(dir / "config", writeError);
    return RunChild(args);
  };
  const TChild paced = run("paced");
  const TChild unpaced = run("unpaced");
  const TChild recording = run("recording");
  // The first time trial finds no record and leaves one; the second drives it as its ghost.
  fs::remove_all(dir / "config" / "ghosts");
  const TChild trial = run("trial");
  const TChild ghost = run("ghost");
  const TChild textured = RunTexturedWindow(self);
  if (!keep) fs::remove_all(dir);
  if (!Succeeded(paced, "paced") || !Succeeded(unpaced, "unpaced") ||
      !Succeeded(recording, "recording") || !Succeeded(trial, "trial") ||
      !Succeeded(ghost, "ghost")) {
    return 1;
  }
  PrintReport(paced, unpaced, recording, textured, load);
  PrintGhostReport(trial, ghost);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  std::string mode;
  std::string dir;
  std::string dataDir;
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--run" && hasValue) {
      mode = argv[++i];
    } else if (arg == "--dir" && hasValue) {
      dir = argv[++i];
    } else if (arg == "--data-dir" && hasValue) {
      dataDir = argv[++i];
    } else if (arg == "--keep") {
      keep = true;
    } else {
      std::fprintf(stderr, "usage: game-bench [--data-dir DIR] [--keep]\n");
      return 2;
    }
  }
  if (mode == "paced") return RunMode(TRunMode::Paced, dir, dataDir);
  if (mode == "unpaced") return RunMode(TRunMode::Unpaced, dir, dataDir);
  if (mode == "recording") return RunMode(TRunMode::Recording, dir, dataDir);
  if (mode == "trial" || mode == "ghost") {
    return RunMode(TRunMode::Recording, dir, dataDir, "trial.input");
  }
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return RunAll(error ? fs::path(argv[0]) : self, dataDir, keep);
}
