#include "RaceRunProbe.h"

#include <sys/resource.h>

#include <chrono>
#include <ctime>
#include <utility>

#include "engine/RecordingDevice.h"
#include "game/Unit_pr.h"
#include "platform/Application.h"

namespace gamebench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr uint8_t kRaceState = 12;
constexpr uint8_t kResultsState = 16;
constexpr uint8_t kTrialResultsState = 25;

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

/// Watches the frames of one run: times the race frames and stops the game at the results.
class TFrameWatch {
 public:
  TFrameWatch(game::TForm1& form, TRaceFigures& figures) : Form_(form), Figures_(figures) {}

  // Runs one frame of the game and books it.
  void Frame() {
    const bool racing = Form_.GameState == kRaceState;
    const auto start = Clock::now();
    const double cpuBefore = ThreadCpuSeconds();
    if (racing && Figures_.Frames == 0) BeginRace(start);
    Form_.VexelTimer1Timer();
    const double cpuAfter = ThreadCpuSeconds();
    if (auto* recording = dynamic_cast<vexel::TRecordingDevice*>(Form_.VexelScreen1->Device())) {
      recording->Calls.clear();  // the run would otherwise keep every quad of the race
    }
    if (racing) BookRaceFrame(start, cpuAfter - cpuBefore);
    const bool results = Form_.GameState == kResultsState || Form_.GameState == kTrialResultsState;
    if (results && Figures_.Frames > 0) EndRace();
  }

 private:
  void BeginRace(Clock::time_point start) {
    RaceStart_ = start;
    CpuStart_ = ProcessCpuSeconds();
    if (Form_.Race) Figures_.Opponents = Form_.Race->EnemyCount;
  }

  void BookRaceFrame(Clock::time_point start, double cpuSeconds) {
    if (Figures_.Frames > 0) Figures_.IntervalsMs.push_back(MillisecondsBetween(LastStart_, start));
    LastStart_ = start;
    Figures_.FrameCpuMs.push_back(cpuSeconds * 1000.0);
    ++Figures_.Frames;
  }

  void EndRace() {
    Figures_.Seconds = MillisecondsBetween(RaceStart_, Clock::now()) / 1000.0;
    Figures_.CpuSeconds = ProcessCpuSeconds() - CpuStart_;
    Figures_.Finished = true;
    Form_.Application.Terminate();
  }

  game::TForm1& Form_;
  TRaceFigures& Figures_;
  Clock::time_point RaceStart_;
  Clock::time_point LastStart_;
  double CpuStart_ = 0;
};

}  // namespace

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TRaceRunProbe::TRaceRunProbe(TRunMode mode, std::string configDir, std::string inputFile,
                             std::string dataDir)
    : Mode_(mode),
      ConfigDir_(std::move(configDir)),
      InputFile_(std::move(inputFile)),
      DataDir_(std::move(dataDir)) {}

int TRaceRunProbe::Run(long frameLimit, TRaceFigures& figures) {
  game::TGameOptions options;
  options.Frames = frameLimit;
  options.InputFile = InputFile_;
  options.ConfigDir = ConfigDir_;
  options.DataDir = DataDir_;
  options.Autopilot = true;
  options.HasSeed = true;
  options.Seed = 7;
  options.Unpaced = Mode_ != TRunMode::Paced;
  options.RecordingDisplay = Mode_ == TRunMode::Recording;
  platform::TApplication application;
  game::TForm1 form(application, options);
  TFrameWatch watch(form, figures);
  form.VexelTimer1->OnTimer = [&watch](vexel::TVexelTimer&) { watch.Frame(); };
  return form.Run();
}

}  // namespace gamebench
