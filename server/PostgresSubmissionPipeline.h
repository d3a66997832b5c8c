#pragma once
// Score submissions sent to PostgreSQL in a pipeline, several per round trip.

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

/// Runs queued submissions on a connection of its own, on a thread that waits on it. The thread
/// sends whatever is queued in libpq's pipeline mode as soon as it is queued, without waiting
/// for the answers to what it sent before (up to kMaxInFlight at once), each submission followed
/// by a sync point: many submissions share a write and a wake-up of the database server, yet
/// each is its own transaction, so a failing one leaves the others stored. Each caller's
/// callback runs as its result arrives, in the order they were queued.
class TPostgresSubmissionPipeline {
 public:
  /// Most submissions sent and not yet answered.
  static constexpr std::size_t kMaxInFlight = 64;

  /// One submission: the prepared statement to run, its parameters and what to call with the
  /// result.
  struct TItem {
    std::string Statement;
    std::vector<std::string> Params;
    TScoreStore::TAddDone Done;
  };

  /// Starts the thread; connect opens a ready connection (its statements prepared) or throws
  /// TDatabaseError; shown names the database in messages.
  TPostgresSubmissionPipeline(std::function<pg_conn*()> connect, std::string shown);
  ~TPostgresSubmissionPipeline();
  TPostgresSubmissionPipeline(const TPostgresSubmissionPipeline&) = delete;
  TPostgresSubmissionPipeline& operator=(const TPostgresSubmissionPipeline&) = delete;

  /// Queues a submission; its callback runs later on the pipeline's thread.
  void Push(TItem item);

  /// Drops the queued submissions and those under way without calling their callbacks, and
  /// stops the thread; returns within a fraction of a second whatever the database does.
  void Stop();

 private:
  /// What has come back so far for the oldest submission in flight.
  struct TAnswer {
    TScoreStore::TAddResult Result = TScoreStore::TAddResult::kStored;
    std::string Error;
    bool Ended = false;
  };

  void Work();
  std::vector<TItem> Take(std::size_t room, bool wait);
  bool Open();
  bool Send(const std::vector<TItem>& items);
  bool Flush();
  bool Receive();
  bool TakeResults();
  void Fail(std::vector<TItem>& items, const std::string& failure);
  void Drop();
  std::string Failure() const;
  bool Stopping();

  std::function<pg_conn*()> Connect_;
  std::string Shown_;
  int Wake_ = -1;
  std::mutex Mutex_;
  std::condition_variable Queued_;
  std::deque<TItem> Queue_;
  bool Stopping_ = false;
  bool Polling_ = false;
  // Used by the thread only.
  pg_conn* Connection_ = nullptr;
  std::string OpenFailure_;
  std::deque<TItem> InFlight_;
  TAnswer Answer_;
  std::thread Thread_;
};

}  // namespace server
