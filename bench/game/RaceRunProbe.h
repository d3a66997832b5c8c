#pragma once
// Runs the real game in this process through one race and measures the race's frames.

#include <string>
#include <vector>

namespace gamebench {

/// How the game's frames are driven and drawn.
enum class TRunMode { Paced, Unpaced, Recording };

/// What one run measured. Race frames are those that start in the race state, from the start
/// lights to the frame that opens the results (of a race or a time trial).
struct TRaceFigures {
  /// Race frames run.
  long Frames = 0;
  /// Wall time of the race frames, first frame start to results.
  double Seconds = 0;
  /// Processor time of the whole process (every thread) over the same span.
  double CpuSeconds = 0;
  /// Milliseconds from the start of one race frame to the start of the next.
  std::vector<double> IntervalsMs;
  /// Processor milliseconds of the game's own thread per race frame.
  std::vector<double> FrameCpuMs;
  /// Opponents on the track.
  int Opponents = 0;
  /// Whether the results screen was reached.
  bool Finished = false;
};

/// Plays a prepared settings folder and input script through the game's main object with the
/// autopilot on, and measures the race or time trial it leads into.
class TRaceRunProbe {
 public:
  /// A probe of one run; dataDir may be empty for the data folder beside the executable.
  TRaceRunProbe(TRunMode mode, std::string configDir, std::string inputFile, std::string dataDir);

  /// Runs the game until the results screen opens or frameLimit frames have run; returns the
  /// game's exit code.
  int Run(long frameLimit, TRaceFigures& figures);

 private:
  TRunMode Mode_;
  std::string ConfigDir_;
  std::string InputFile_;
  std::string DataDir_;
};

/// Processor seconds of the calling thread.
double ThreadCpuSeconds();
/// Processor seconds of the whole process.
double ProcessCpuSeconds();

}  // namespace gamebench
