#pragma once
// The application object: its message loop, its one idle slot and its periodic timers.

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace platform {

/// Runs the message loop of the one window: pumps events, fires periodic timers between idle
/// steps, and calls the idle handler while there is nothing else to do. The idle handler may
/// say how long it will have nothing to do, and the loop sleeps most of that time.
class TApplication {
 public:
  /// The idle handler: sets Done to false to be called again at once.
  using TIdleHandler = std::function<void(bool& done)>;
  /// Pumps pending window events; called once per loop turn.
  using TEventPump = std::function<void()>;

  /// Installs the idle handler (or none); there is one idle slot per application.
  void SetOnIdle(TIdleHandler handler) { OnIdle_ = std::move(handler); }
  /// The installed idle handler.
  const TIdleHandler& OnIdle() const { return OnIdle_; }
  /// Whether an idle handler is installed.
  bool HasOnIdle() const { return static_cast<bool>(OnIdle_); }
  /// Tells the loop that the idle handler has nothing to do for this many seconds.
  void SetIdleWait(double seconds) { IdleWait_ = seconds; }
  /// Starts a periodic timer; returns its id.
  int StartTimer(uint32_t intervalMs, std::function<void()> onTimer);
  /// Stops a periodic timer (harmless for an unknown id).
  void KillTimer(int id);
  /// Whether a timer with this id runs.
  bool TimerRunning(int id) const { return Timers_.count(id) != 0; }
  /// Runs the loop until Terminate.
  void Run(const TEventPump& pump);
  /// Runs one turn of the loop: events, due timers, one idle step; returns false once terminated.
  bool RunOnce(const TEventPump& pump);
  /// Asks the loop to end when control returns to it.
  void Terminate() { Terminated_ = true; }
  /// Whether Terminate was called.
  bool Terminated() const { return Terminated_; }
  /// Shows an exception that escaped a handler, as the standard report does, and goes on.
  void ShowException(const std::string& what) const;

  /// Makes large blocks (textures, sounds, music) go back to the system when freed, so what a
  /// screen gives back lowers the process's memory instead of staying in the heap.
  static void ReturnLargeBlocksWhenFreed();

  /// The application title, shown as the caption of its reports.
  std::string Title = "Comet Lane Derby";

 private:
  struct TTimer {
    uint32_t IntervalMs = 0;
    uint64_t NextDueMs = 0;
    std::function<void()> OnTimer;
  };
  void FireDueTimers();
  void Guarded(const std::function<void()>& work);
  void WaitForWork();

  TIdleHandler OnIdle_;
  std::map<int, TTimer> Timers_;
  int NextTimerId_ = 1;
  double IdleWait_ = 0;
  bool Terminated_ = false;
};

}  // namespace platform
