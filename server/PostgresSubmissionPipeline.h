#pragma once
// Score submissions sent to PostgreSQL in batches, several per round trip.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ScoreStore.h"

struct pg_conn;

namespace server {

/// Whether a connection that has been waiting can still be used. The database server sends
/// nothing unasked to an idle session, so any input (the error message of a server shutting
/// down, the end of the stream) means the session is over.
bool IsIdleAndOpen(pg_conn* connection);

/// Runs queued submissions on connections of its own, each on a thread that waits on it. A
/// thread takes every submission queued at the time (up to kMaxBatch) and sends them in libpq's
/// pipeline mode, each followed by a sync point: one write and one wake-up of the database
/// server for the whole batch, yet each submission is its own transaction, so a failing one
/// leaves the others stored. Each caller's callback runs as its result arrives.
class TPostgresSubmissionPipeline {
 public:
  /// Most submissions sent in one batch.
  static constexpr std::size_t kMaxBatch = 64;

  /// One submission: the prepared statement to run, its parameters and what to call with the
  /// result.
  struct TItem {
    std::string Statement;
    std::vector<std::string> Params;
    TScoreStore::TAddDone Done;
  };

  /// Starts the threads; connect opens a ready connection (its statements prepared) or throws
  /// TDatabaseError; shown names the database in messages.
  TPostgresSubmissionPipeline(std::function<pg_conn*()> connect, std::string shown,
                              std::size_t threads);
  ~TPostgresSubmissionPipeline();
  TPostgresSubmissionPipeline(const TPostgresSubmissionPipeline&) = delete;
  TPostgresSubmissionPipeline& operator=(const TPostgresSubmissionPipeline&) = delete;

  /// Queues a submission; its callback runs later on one of the pipeline's threads.
  void Push(TItem item);

  /// Drops the queued submissions and those under way without calling their callbacks, and
  /// stops the threads; returns within a fraction of a second whatever the database does.
  void Stop();

 private:
  void Work();
  std::vector<TItem> TakeBatch();
  void RunBatch(pg_conn*& connection, std::vector<TItem>& batch);
  bool Send(pg_conn* connection, const std::vector<TItem>& batch);
  bool Flush(pg_conn* connection);
  bool WaitForResult(pg_conn* connection);
  std::string Failure(pg_conn* connection) const;
  bool Stopping();

  std::function<pg_conn*()> Connect_;
  std::string Shown_;
  std::mutex Mutex_;
  std::condition_variable Queued_;
  std::deque<TItem> Queue_;
  bool Stopping_ = false;
  std::vector<std::thread> Threads_;
};

}  // namespace server
