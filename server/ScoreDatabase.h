#pragma once
// The score service's tables in an SQLite file.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ScoreStore.h"
#include "ScoreWriteQueue.h"

struct sqlite3;
struct sqlite3_stmt;

namespace server {

/// The scores in one SQLite file, written through the write-ahead log so that a process killed
/// in the middle of a write leaves the file whole. Several processes may share the file.
/// Prepared statements only. Safe to use from several threads. Scores handed to AddLater are
/// written by a thread of the store's, those queued meanwhile in one transaction.
class TScoreDatabase : public TScoreStore {
 public:
  /// Opens (creating when missing) the file, checks that it is writable and passes a quick
  /// integrity check; throws TDatabaseError naming the file when it cannot be used.
  explicit TScoreDatabase(const std::string& file);
  ~TScoreDatabase() override;
  TScoreDatabase(const TScoreDatabase&) = delete;
  TScoreDatabase& operator=(const TScoreDatabase&) = delete;

  TAddResult Add(const TScoreRow& row, const std::string& token = "",
                 int64_t tokenExpiry = 0) override;
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
  /// One: the file has one connection, and SQLite writes one at a time.
  std::size_t Parallelism() const override { return 1; }

 private:
  class TStatement;

  TAddResult Store(const TScoreRow& row, const std::string& token, int64_t tokenExpiry);
  std::vector<TAddOutcome> AddBatch(const std::vector<TScoreWriteQueue::TItem>& batch);
  void Close();
  void Execute(const char* sql);
  void CheckUsable();
  sqlite3_stmt* Prepared(const char* sql);
  void Fail(const char* what);
  void RebuildBest(const std::string& name);

  std::string File_;
  std::mutex Mutex_;
  sqlite3* Db_ = nullptr;
  std::map<const char*, sqlite3_stmt*> Statements_;
  std::unique_ptr<TScoreWriteQueue> Writes_;
};

}  // namespace server
