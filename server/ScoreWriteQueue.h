#pragma once
// Scores waiting for a thread of their own to write them, several to a transaction.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ScoreStore.h"

namespace server {

/// Queues scores and writes them on a thread of its own: whatever was queued while the last
/// batch was being written goes to one call of the writer (up to kMaxBatch), so that the scores
/// share one transaction and one commit. Callers never wait for the database; each score's
/// callback runs on the thread once its batch is written.
class TScoreWriteQueue {
 public:
  /// Most scores written in one batch.
  static constexpr std::size_t kMaxBatch = 64;

  /// One queued score and what to call with its outcome.
  struct TItem {
    TScoreRow Row;
    std::string Token;
    int64_t TokenExpiry = 0;
    TScoreStore::TAddDone Done;
  };

  /// Writes a batch and returns each score's outcome, in the batch's order.
  using TWriter = std::function<std::vector<TScoreStore::TAddOutcome>(const std::vector<TItem>&)>;

  /// Starts the thread that hands batches to the writer.
  explicit TScoreWriteQueue(TWriter writer);
  ~TScoreWriteQueue();
  TScoreWriteQueue(const TScoreWriteQueue&) = delete;
  TScoreWriteQueue& operator=(const TScoreWriteQueue&) = delete;

  /// Queues a score; its callback runs later on the queue's thread.
  void Push(TItem item);

  /// Drops the queued scores without calling their callbacks (nor those of a batch being
  /// written) and stops the thread once the batch under way is written.
  void Stop();

 private:
  void Work();
  std::vector<TItem> Take();

  TWriter Writer_;
  std::mutex Mutex_;
  std::condition_variable Queued_;
  std::deque<TItem> Queue_;
  bool Stopping_ = false;
  std::thread Thread_;
};

}  // namespace server
