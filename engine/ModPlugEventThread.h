#pragma once
// The streaming thread of a music module.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vexel {

/// A thread that runs its notification step over and over while it is resumed. It is created
/// suspended; it may suspend itself from inside the step.
class TModPlugEventThread {
 public:
  /// The step the thread repeats: wait for a refill request, then refill.
  using TNotify = std::function<void()>;

  /// Starts the thread, suspended. Without a step the thread ends at once.
  explicit TModPlugEventThread(TNotify notify);
  /// Terminates the thread and waits for it.
  ~TModPlugEventThread();
  TModPlugEventThread(const TModPlugEventThread&) = delete;
  TModPlugEventThread& operator=(const TModPlugEventThread&) = delete;

  /// Lets the thread run its step again.
  void Resume();
  /// Makes the thread wait after its current step; callable from the thread itself.
  void Suspend();
  /// Asks the thread to end after its current step.
  void Terminate();
  /// Waits until the thread has ended (not from the thread itself).
  void WaitFor();

 private:
  void Execute();

  TNotify Notify_;
  mutable std::mutex Lock_;
  std::condition_variable Changed_;
  bool Suspended_ = true;
  bool Terminated_ = false;
  std::thread Thread_;
};

}  // namespace vexel
