#pragma once
// The score service's tables in a PostgreSQL database, shared by any number of processes.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "PostgresSubmissionPipeline.h"
#include "ScoreStore.h"

struct pg_conn;
struct pg_result;

namespace server {

/// The scores in a PostgreSQL database reached through libpq. Keeps a few connections and
/// lends one to each call, so calls from several threads run side by side; a connection the
/// database server closed (a restart, say) is replaced before it is lent. A score and the
/// redemption of its token are one prepared statement, so two processes racing with the same
/// token store the score once; submissions handed to AddLater go through a pipeline of their
/// own, several per round trip.
class TPostgresScoreDatabase : public TScoreStore {
 public:
  /// Connects to the database at the address ("postgresql://..."), makes the tables when
  /// missing and checks that it can write; throws TDatabaseError when it cannot be used. Holds
  /// up to the given number of connections (at least one), opened as calls need them.
  TPostgresScoreDatabase(const std::string& address, std::size_t maxConnections);
  ~TPostgresScoreDatabase() override;
  TPostgresScoreDatabase(const TPostgresScoreDatabase&) = delete;
  TPostgresScoreDatabase& operator=(const TPostgresScoreDatabase&) = delete;

  TAddResult Add(const TScoreRow& row, const std::string& token, int64_t tokenExpiry) override;
  void AddLater(const TScoreRow& row, const std::string& token, int64_t tokenExpiry,
                TAddDone done) override;
  bool AddsLater() const override { return true; }
  void DropQueuedWrites() override;
  std::vector<TScoreRow> Top(int limit) override;
  int64_t Count() override;
  std::vector<TListedScore> List(const std::string& name) override;
  int Remove(const std::vector<int64_t>& ids) override;
  void SetBanned(const std::string& name, bool banned) override;
  std::string Secret() override;
  void DropExpiredTokens(int64_t now) override;
  /// The connections it may hold.
  std::size_t Parallelism() const override { return MaxConnections_; }

 private:
  class TLease;
  using TResult = std::unique_ptr<pg_result, void (*)(pg_result*)>;

  pg_conn* Connect();
  pg_conn* Borrow();
  void GiveBack(pg_conn* connection);
  TResult Run(pg_conn* connection, const char* sql, const std::vector<std::string>& params = {});
  TResult RunPrepared(pg_conn* connection, const char* name,
                      const std::vector<std::string>& params);
  void Prepare(pg_conn* connection);

  pg_conn* TakeIdle();

  std::string Address_;
  std::string Shown_;
  std::mutex Mutex_;
  std::condition_variable Returned_;
  std::vector<pg_conn*> Idle_;
  std::size_t Open_ = 0;
  std::size_t MaxConnections_;
  bool SchemaReady_ = false;
  // Last, so that its threads stop before anything they use goes.
  std::unique_ptr<TPostgresSubmissionPipeline> Pipeline_;
};

}  // namespace server
