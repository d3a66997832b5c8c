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
struct pg_result;

namespace server {

/// Whether a connection that has been waiting can still be used. The database server sends
/// nothing unasked to an idle session, so any input (the error message of a server shutting
/// down, the end of the stream) means the session is over.
bool IsIdleAndOpen(pg_conn* connection);

/// Runs queued submissions on a connection of its own, on a thread that waits on it. The thread
/// sends what is queued in libpq's pipeline mode without waiting for the answers to what it sent
/// before (up to kMaxInFlight submissions in up to kMaxBatchesInFlight batches). What was queued
/// meanwhile goes out as one batch in one transaction, sharing a write, a wake-up of the database
/// server and a commit. When anything in a batch fails, the batch is rolled back and its
/// submissions are sent again one transaction each, so a failing one leaves the others stored.
/// Each caller's callback runs on the thread once its submission is stored or has failed.
class TPostgresSubmissionPipeline {
 public:
  /// Most submissions sent and not yet answered.
  static constexpr std::size_t kMaxInFlight = 64;
  /// Most batches sent and not yet answered: one the database server works on, the next ready.
  static constexpr std::size_t kMaxBatchesInFlight = 2;

  /// One submission: the prepared statement to run, its parameters, the player's name and what
  /// to call with the result. A batch runs its submissions in the order of their names, so that
  /// instances sharing the database lock the names' best rows in one order and never deadlock
  /// on them.
  struct TItem {
    std::string Statement;
    std::vector<std::string> Params;
    std::string Name;
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
  /// stops the thread; returns within a fraction of a second, unless the thread is opening its
  /// connection to a database that does not answer (that waits as long as connecting does).
  void Stop();

 private:
  /// Submissions sent up to one sync point: one alone, or several in one transaction.
  struct TBatch {
    std::vector<TItem> Items;
    std::vector<TScoreStore::TAddOutcome> Answers;
    bool Together = false;
  };

  /// Where the results of the oldest batch in flight have got to.
  struct TReading {
    std::size_t Command = 0;
    bool Ended = false;
    bool Failed = false;
  };

  void Work();
  std::vector<TItem> Take(std::size_t room, bool wait);
  std::size_t Room() const;
  bool Open();
  bool Send(std::vector<TItem> items);
  void Enter(TBatch batch);
  bool SendBatch(const TBatch& batch);
  bool Flush();
  bool Receive();
  bool TakeResults();
  void Note(TBatch& batch, pg_result* got);
  bool Finish();
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
  std::deque<TBatch> InFlight_;
  std::size_t InFlightItems_ = 0;
  TReading Reading_;
  std::thread Thread_;
};

}  // namespace server
