#include "ModPlugEventThread.h"

namespace vexel {

TModPlugEventThread::TModPlugEventThread(TNotify notify)
    : Notify_(std::move(notify)), Thread_([this] { Execute(); }) {}

TModPlugEventThread::~TModPlugEventThread() {
  Terminate();
  WaitFor();
}

void TModPlugEventThread::Resume() {
  std::lock_guard lock(Lock_);
  Suspended_ = false;
  Changed_.notify_all();
}

void TModPlugEventThread::Suspend() {
  std::lock_guard lock(Lock_);
  Suspended_ = true;
}

void TModPlugEventThread::Terminate() {
  std::lock_guard lock(Lock_);
  Terminated_ = true;
  Changed_.notify_all();
}

void TModPlugEventThread::WaitFor() {
  if (Thread_.joinable()) Thread_.join();
}

void TModPlugEventThread::Execute() {
  while (Notify_) {
    {
      std::unique_lock lock(Lock_);
      Changed_.wait(lock, [this] { return Terminated_ || !Suspended_; });
      if (Terminated_) break;
    }
    Notify_();
  }
}

}  // namespace vexel
