#include "ScoreWriteQueue.h"

#include <utility>

namespace server {

TScoreWriteQueue::TScoreWriteQueue(TWriter writer) : Writer_(std::move(writer)) {
  Thread_ = std::thread([this] { Work(); });
}

TScoreWriteQueue::~TScoreWriteQueue() {
  Stop();
}

void TScoreWriteQueue::Push(TItem item) {
  {
    const std::lock_guard lock(Mutex_);
    Queue_.push_back(std::move(item));
  }
  Queued_.notify_one();
}

void TScoreWriteQueue::Stop() {
  {
    const std::lock_guard lock(Mutex_);
    Stopping_ = true;
    Queue_.clear();
  }
  Queued_.notify_all();
  if (Thread_.joinable()) Thread_.join();
}

void TScoreWriteQueue::Work() {
  for (;;) {
    std::vector<TItem> batch = Take();
    if (batch.empty()) return;
    const std::vector<TScoreStore::TAddOutcome> outcomes = Writer_(batch);
    {
      const std::lock_guard lock(Mutex_);
      if (Stopping_) return;
    }
    for (std::size_t i = 0; i < batch.size(); ++i) {
      batch[i].Done(outcomes[i].Result, outcomes[i].Error);
    }
  }
}

std::vector<TScoreWriteQueue::TItem> TScoreWriteQueue::Take() {
  std::unique_lock lock(Mutex_);
  Queued_.wait(lock, [this] { return Stopping_ || !Queue_.empty(); });
  std::vector<TItem> batch;
  while (!Stopping_ && !Queue_.empty() && batch.size() < kMaxBatch) {
    batch.push_back(std::move(Queue_.front()));
    Queue_.pop_front();
  }
  return batch;
}

}  // namespace server
