#pragma once
// Runs the real game executable headless as a child process that a test can watch, time and
// kill at any moment.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace robust {

/// How a game process ended.
struct TGameOutcome {
  enum class TKind { Exited, Signalled, TimedOut };
  TKind Kind = TKind::Exited;
  /// The exit code, or the signal that ended it.
  int Code = 0;

  /// Whether the game exited by itself with code 0.
  bool Clean() const { return Kind == TKind::Exited && Code == 0; }
  /// "exit code N", "signal N" or "no end within the time limit", for test messages.
  std::string Describe() const;
};

/// One run of the game on Mesa's offscreen driver with the dummy audio driver, an input script,
/// a frame limit, a trace of its screen states, its standard error kept in a file and a
/// screenshot written only when it reaches the frame limit. The files are NAME.input,
/// NAME.trace, NAME.stderr and NAME.png in the given folder. A process still running when the
/// object goes is killed.
class TGameProcess {
 public:
  /// A run whose files go into folder, named after name.
  TGameProcess(const std::string& folder, const std::string& name);
  ~TGameProcess();
  TGameProcess(const TGameProcess&) = delete;
  TGameProcess& operator=(const TGameProcess&) = delete;

  /// Starts the game with the script and frame limit, the extra arguments, and the extra
  /// environment variables ("NAME=VALUE") on top of the test's own environment.
  void Start(const std::string& script, long frames, const std::vector<std::string>& arguments,
             const std::vector<std::string>& environment = {});
  /// Waits for the end, killing the game when it takes longer than limit.
  TGameOutcome Wait(std::chrono::seconds limit);
  /// Whether the game has ended (without waiting); its outcome is then Outcome().
  bool Ended();
  /// How the game ended, once it has.
  const TGameOutcome& Outcome() const { return Outcome_; }
  /// Kills the game with SIGKILL and waits for it.
  TGameOutcome Kill();
  /// Sends a signal to the running game.
  void Signal(int signal) const;
  /// Waits until the trace's last state is `state` (true), or the game ended or the limit
  /// passed (false).
  bool WaitForState(int state, std::chrono::seconds limit);
  /// Whether the game has been started and has not been waited for.
  bool Running() const { return Pid_ > 0; }
  /// The process id while it runs.
  pid_t Pid() const { return Pid_; }

  /// The screen states passed, in order (from the trace).
  std::vector<int> States() const;
  /// What the game wrote on standard error.
  std::string Errors() const;
  /// Whether the game ran up to its frame limit (it then saved its last frame).
  bool ReachedFrameLimit() const;
  /// The screenshot of the last frame.
  std::string Screenshot() const { return Base_ + ".png"; }

 private:
  TGameOutcome Reap(int status);

  std::string Base_;
  pid_t Pid_ = -1;
  TGameOutcome Outcome_;
};

/// A whole file ("" when it cannot be read).
std::string ReadFileBytes(const std::string& path);

/// One line of an input script: the event at the given frame.
std::string At(long frame, const std::string& event);

}  // namespace robust
