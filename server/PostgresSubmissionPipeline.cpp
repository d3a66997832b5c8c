#include "PostgresSubmissionPipeline.h"

#include <libpq-fe.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <exception>
#include <utility>

namespace server {

namespace {

// How long a thread waits on its connection's socket before it looks whether it should stop.
constexpr int kPollMilliseconds = 100;

}  // namespace

bool IsIdleAndOpen(pg_conn* connection) {
  pollfd waiting{PQsocket(connection), POLLIN, 0};
  return PQstatus(connection) == CONNECTION_OK && poll(&waiting, 1, 0) == 0;
}

TPostgresSubmissionPipeline::TPostgresSubmissionPipeline(std::function<pg_conn*()> connect,
                                                         std::string shown, std::size_t threads)
    : Connect_(std::move(connect)), Shown_(std::move(shown)) {
  for (std::size_t i = 0; i < std::max<std::size_t>(threads, 1); ++i) {
    Threads_.emplace_back([this] { Work(); });
  }
}

TPostgresSubmissionPipeline::~TPostgresSubmissionPipeline() {
  Stop();
}

void TPostgresSubmissionPipeline::Push(TItem item) {
  {
    const std::lock_guard lock(Mutex_);
    Queue_.push_back(std::move(item));
  }
  Queued_.notify_one();
}

void TPostgresSubmissionPipeline::Stop() {
  {
    const std::lock_guard lock(Mutex_);
    Stopping_ = true;
  }
  Queued_.notify_all();
  for (auto& thread : Threads_) {
    if (thread.joinable()) thread.join();
  }
  const std::lock_guard lock(Mutex_);
  Queue_.clear();
}

bool TPostgresSubmissionPipeline::Stopping() {
  const std::lock_guard lock(Mutex_);
  return Stopping_;
}

void TPostgresSubmissionPipeline::Work() {
  pg_conn* connection = nullptr;
  for (;;) {
    std::vector<TItem> batch = TakeBatch();
    if (batch.empty()) break;
    RunBatch(connection, batch);
  }
  if (connection) PQfinish(connection);
}

std::vector<TPostgresSubmissionPipeline::TItem> TPostgresSubmissionPipeline::TakeBatch() {
  std::unique_lock lock(Mutex_);
  Queued_.wait(lock, [this] { return Stopping_ || !Queue_.empty(); });
  std::vector<TItem> batch;
  if (Stopping_) return batch;
  while (!Queue_.empty() && batch.size() < kMaxBatch) {
    batch.push_back(std::move(Queue_.front()));
    Queue_.pop_front();
  }
  return batch;
}

void TPostgresSubmissionPipeline::RunBatch(pg_conn*& connection, std::vector<TItem>& batch) {
  // A session the database server ended while it waited (a restart) is replaced before use.
  if (connection && !IsIdleAndOpen(connection)) {
    PQfinish(connection);
    connection = nullptr;
  }
  if (!connection) {
    try {
      connection = Connect_();
    } catch (const std::exception& e) {
      if (Stopping()) return;
      for (auto& item : batch) item.Done(TScoreStore::TAddResult::kStored, e.what());
      return;
    }
    if (PQsetnonblocking(connection, 1) != 0 || PQenterPipelineMode(connection) != 1) {
      const std::string failure = Failure(connection);
      for (auto& item : batch) item.Done(TScoreStore::TAddResult::kStored, failure);
      PQfinish(connection);
      connection = nullptr;
      return;
    }
  }
  std::size_t answered = 0;
  if (Send(connection, batch)) {
    for (; answered < batch.size(); ++answered) {
      // The statement's result, the end of its results, then its sync point.
      std::string error;
      auto result = TScoreStore::TAddResult::kStored;
      bool synced = false;
      int ends = 0;
      while (!synced && ends < 2 && WaitForResult(connection)) {
        PGresult* got = PQgetResult(connection);
        if (!got) {
          ++ends;
          continue;
        }
        ends = 0;
        const ExecStatusType status = PQresultStatus(got);
        if (status == PGRES_PIPELINE_SYNC) {
          synced = true;
        } else if (status == PGRES_TUPLES_OK && PQntuples(got) == 1) {
          if (std::strtoll(PQgetvalue(got, 0, 0), nullptr, 10) != 1) {
            result = TScoreStore::TAddResult::kTokenUsed;
          }
        } else {
          error = "score database " + Shown_ + ": " + PQresultErrorMessage(got);
        }
        PQclear(got);
      }
      if (!synced) break;
      batch[answered].Done(result, error);
    }
  }
  if (answered == batch.size()) return;
  // The connection broke (or the pipeline is stopping): the unanswered get its failure, and the
  // next batch connects anew.
  if (!Stopping()) {
    const std::string failure = Failure(connection);
    for (; answered < batch.size(); ++answered) {
      batch[answered].Done(TScoreStore::TAddResult::kStored, failure);
    }
  }
  PQfinish(connection);
  connection = nullptr;
}

bool TPostgresSubmissionPipeline::Send(pg_conn* connection, const std::vector<TItem>& batch) {
  for (const auto& item : batch) {
    std::vector<const char*> values;
    for (const auto& param : item.Params) values.push_back(param.c_str());
    if (PQsendQueryPrepared(connection, item.Statement.c_str(), static_cast<int>(values.size()),
                            values.data(), nullptr, nullptr, 0) != 1 ||
        PQpipelineSync(connection) != 1) {
      return false;
    }
  }
  return Flush(connection);
}

bool TPostgresSubmissionPipeline::Flush(pg_conn* connection) {
  for (;;) {
    const int left = PQflush(connection);
    if (left == 0) return true;
    if (left < 0 || Stopping()) return false;
    // Results read meanwhile keep the database server from blocking on a full socket.
    pollfd waiting{PQsocket(connection), POLLIN | POLLOUT, 0};
    if (poll(&waiting, 1, kPollMilliseconds) > 0 && (waiting.revents & POLLIN) != 0 &&
        PQconsumeInput(connection) != 1) {
      return false;
    }
  }
}

bool TPostgresSubmissionPipeline::WaitForResult(pg_conn* connection) {
  while (PQisBusy(connection) == 1) {
    if (Stopping() || PQstatus(connection) != CONNECTION_OK) return false;
    pollfd waiting{PQsocket(connection), POLLIN, 0};
    const int ready = poll(&waiting, 1, kPollMilliseconds);
    if (ready < 0 && errno != EINTR) return false;
    if (ready > 0 && PQconsumeInput(connection) != 1) return false;
  }
  return PQstatus(connection) == CONNECTION_OK;
}

std::string TPostgresSubmissionPipeline::Failure(pg_conn* connection) const {
  const char* message = PQerrorMessage(connection);
  return "score database " + Shown_ + ": " +
         (message && *message ? message : "the connection broke during a submission");
}

}  // namespace server
