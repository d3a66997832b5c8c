#include "PostgresSubmissionPipeline.h"

#include <libpq-fe.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <utility>

namespace server {

namespace {

// How long the thread waits on its sockets before it looks whether it should stop.
constexpr int kPollMilliseconds = 100;

}  // namespace

bool IsIdleAndOpen(pg_conn* connection) {
  pollfd waiting{PQsocket(connection), POLLIN, 0};
  return PQstatus(connection) == CONNECTION_OK && poll(&waiting, 1, 0) == 0;
}

TPostgresSubmissionPipeline::TPostgresSubmissionPipeline(std::function<pg_conn*()> connect,
                                                         std::string shown)
    : Connect_(std::move(connect)), Shown_(std::move(shown)), Wake_(eventfd(0, EFD_NONBLOCK)) {
  if (Wake_ < 0) throw TDatabaseError("cannot make the submission pipeline's wake-up event");
  Thread_ = std::thread([this] { Work(); });
}

TPostgresSubmissionPipeline::~TPostgresSubmissionPipeline() {
  Stop();
  close(Wake_);
}

void TPostgresSubmissionPipeline::Push(TItem item) {
  bool polling = false;
  {
    const std::lock_guard lock(Mutex_);
    Queue_.push_back(std::move(item));
    polling = Polling_;
  }
  // The thread waits either for work (nothing in flight) or on its sockets.
  if (polling) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(Wake_, &one, sizeof one);
  } else {
    Queued_.notify_one();
  }
}

void TPostgresSubmissionPipeline::Stop() {
  {
    const std::lock_guard lock(Mutex_);
    Stopping_ = true;
  }
  Queued_.notify_all();
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(Wake_, &one, sizeof one);
  if (Thread_.joinable()) Thread_.join();
  const std::lock_guard lock(Mutex_);
  Queue_.clear();
}

bool TPostgresSubmissionPipeline::Stopping() {
  const std::lock_guard lock(Mutex_);
  return Stopping_;
}

void TPostgresSubmissionPipeline::Work() {
  while (!Stopping()) {
    std::vector<TItem> fresh = Take(Room(), InFlight_.empty());
    if (!fresh.empty()) {
      // A session the database server ended while idle (a restart) is replaced before use.
      if (InFlight_.empty() && !Open()) {
        Fail(fresh, Failure());
        continue;
      }
      if (!Send(std::move(fresh))) {
        Drop();
        continue;
      }
    }
    if (!InFlight_.empty() && !Receive()) Drop();
  }
  InFlight_.clear();
  InFlightItems_ = 0;
  if (Connection_) PQfinish(Connection_);
  Connection_ = nullptr;
}

std::vector<TPostgresSubmissionPipeline::TItem> TPostgresSubmissionPipeline::Take(std::size_t room,
                                                                                  bool wait) {
  std::unique_lock lock(Mutex_);
  if (wait) Queued_.wait(lock, [this] { return Stopping_ || !Queue_.empty(); });
  std::vector<TItem> items;
  while (!Queue_.empty() && items.size() < room) {
    items.push_back(std::move(Queue_.front()));
    Queue_.pop_front();
  }
  return items;
}

std::size_t TPostgresSubmissionPipeline::Room() const {
  // What arrives while the batches in flight run waits to go out together in the next one.
  return InFlight_.size() < kMaxBatchesInFlight ? kMaxInFlight - InFlightItems_ : 0;
}

bool TPostgresSubmissionPipeline::Open() {
  if (Connection_ && IsIdleAndOpen(Connection_)) return true;
  if (Connection_) PQfinish(Connection_);
  Connection_ = nullptr;
  try {
    Connection_ = Connect_();
  } catch (const std::exception& e) {
    OpenFailure_ = e.what();
    return false;
  }
  if (PQsetnonblocking(Connection_, 1) != 0 || PQenterPipelineMode(Connection_) != 1) {
    OpenFailure_ = Failure();
    PQfinish(Connection_);
    Connection_ = nullptr;
    return false;
  }
  return true;
}

bool TPostgresSubmissionPipeline::Send(std::vector<TItem> items) {
  TBatch batch;
  batch.Together = items.size() > 1;
  std::stable_sort(items.begin(), items.end(),
                   [](const TItem& a, const TItem& b) { return a.Name < b.Name; });
  batch.Items = std::move(items);
  Enter(std::move(batch));
  return SendBatch(InFlight_.back()) && Flush();
}

void TPostgresSubmissionPipeline::Enter(TBatch batch) {
  // In flight before it is sent, so that Drop answers it when sending fails.
  batch.Answers.resize(batch.Items.size());
  InFlightItems_ += batch.Items.size();
  InFlight_.push_back(std::move(batch));
}

bool TPostgresSubmissionPipeline::SendBatch(const TBatch& batch) {
  // Up to its sync point the batch is one transaction, committed at the sync point.
  for (const auto& item : batch.Items) {
    std::vector<const char*> values;
    for (const auto& param : item.Params) values.push_back(param.c_str());
    if (PQsendQueryPrepared(Connection_, item.Statement.c_str(), static_cast<int>(values.size()),
                            values.data(), nullptr, nullptr, 0) != 1) {
      return false;
    }
  }
  return PQpipelineSync(Connection_) == 1;
}

bool TPostgresSubmissionPipeline::Flush() {
  for (;;) {
    const int left = PQflush(Connection_);
    if (left == 0) return true;
    if (left < 0 || Stopping()) return false;
    // Results read meanwhile keep the database server from blocking on a full socket.
    pollfd waiting{PQsocket(Connection_), POLLIN | POLLOUT, 0};
    if (poll(&waiting, 1, kPollMilliseconds) > 0 && (waiting.revents & POLLIN) != 0 &&
        PQconsumeInput(Connection_) != 1) {
      return false;
    }
  }
}

bool TPostgresSubmissionPipeline::Receive() {
  if (!TakeResults()) return false;
  if (InFlight_.empty()) return true;
  {
    const std::lock_guard lock(Mutex_);
    if (Stopping_) return false;
    // Anything queued meanwhile is sent before waiting, while there is room.
    if (!Queue_.empty() && Room() > 0) return true;
    // A new submission wakes the thread only when it could go out at once.
    Polling_ = Room() > 0;
  }
  std::array<pollfd, 2> waiting{pollfd{PQsocket(Connection_), POLLIN, 0}, pollfd{Wake_, POLLIN, 0}};
  const int ready = poll(waiting.data(), waiting.size(), kPollMilliseconds);
  {
    const std::lock_guard lock(Mutex_);
    Polling_ = false;
  }
  if (ready < 0 && errno != EINTR) return false;
  if ((waiting[1].revents & POLLIN) != 0) {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(Wake_, &count, sizeof count);
  }
  if ((waiting[0].revents & (POLLIN | POLLERR | POLLHUP)) != 0 &&
      PQconsumeInput(Connection_) != 1) {
    return false;
  }
  return TakeResults();
}

bool TPostgresSubmissionPipeline::TakeResults() {
  // Per submission: its result, then the end of its results; per batch, its sync point.
  while (!InFlight_.empty() && PQisBusy(Connection_) == 0) {
    PGresult* got = PQgetResult(Connection_);
    if (!got) {
      if (Reading_.Ended) break;
      Reading_.Ended = true;
      ++Reading_.Command;
      continue;
    }
    Reading_.Ended = false;
    const bool synced = PQresultStatus(got) == PGRES_PIPELINE_SYNC;
    if (!synced) Note(InFlight_.front(), got);
    PQclear(got);
    if (synced && !Finish()) return false;
  }
  return PQstatus(Connection_) == CONNECTION_OK;
}

void TPostgresSubmissionPipeline::Note(TBatch& batch, PGresult* got) {
  const ExecStatusType status = PQresultStatus(got);
  // A result after the last submission's is the commit's failure at the sync point: it fails
  // the batch, and a batch of one answers it to its one submission.
  TScoreStore::TAddOutcome& answer =
      batch.Answers[std::min(Reading_.Command, batch.Answers.size() - 1)];
  if (status == PGRES_TUPLES_OK && PQntuples(got) == 1) {
    if (std::strtoll(PQgetvalue(got, 0, 0), nullptr, 10) != 1) {
      answer.Result = TScoreStore::TAddResult::kTokenUsed;
    }
    return;
  }
  Reading_.Failed = true;
  if (answer.Error.empty()) {
    answer.Error = "score database " + Shown_ + ": " + PQresultErrorMessage(got);
  }
}

bool TPostgresSubmissionPipeline::Finish() {
  TBatch done = std::move(InFlight_.front());
  InFlight_.pop_front();
  InFlightItems_ -= done.Items.size();
  const bool failed = std::exchange(Reading_, {}).Failed;
  if (done.Together && failed) {
    // The batch was rolled back: each submission goes again in a transaction of its own, so
    // that only the one that fails is answered with the failure. All are in flight before the
    // first is sent: should sending fail part-way, Drop answers every one.
    const std::size_t first = InFlight_.size();
    for (auto& item : done.Items) {
      TBatch alone;
      alone.Items.push_back(std::move(item));
      Enter(std::move(alone));
    }
    for (std::size_t i = first; i < InFlight_.size(); ++i) {
      if (!SendBatch(InFlight_[i])) return false;
    }
    return Flush();
  }
  for (std::size_t i = 0; i < done.Items.size(); ++i) {
    done.Items[i].Done(done.Answers[i].Result, done.Answers[i].Error);
  }
  return true;
}

void TPostgresSubmissionPipeline::Fail(std::vector<TItem>& items, const std::string& failure) {
  if (Stopping()) return;
  for (auto& item : items) item.Done(TScoreStore::TAddResult::kStored, failure);
}

void TPostgresSubmissionPipeline::Drop() {
  // The connection broke (or the pipeline is stopping): what is in flight gets the failure, and
  // the next submission connects anew.
  std::vector<TItem> unanswered;
  for (auto& batch : InFlight_) {
    std::move(batch.Items.begin(), batch.Items.end(), std::back_inserter(unanswered));
  }
  InFlight_.clear();
  InFlightItems_ = 0;
  Reading_ = {};
  Fail(unanswered, Failure());
  PQfinish(Connection_);
  Connection_ = nullptr;
}

std::string TPostgresSubmissionPipeline::Failure() const {
  if (!Connection_) return OpenFailure_;
  const char* message = PQerrorMessage(Connection_);
  return "score database " + Shown_ + ": " +
         (message && *message ? message : "the connection broke during a submission");
}

}  // namespace server
