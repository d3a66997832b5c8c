#pragma once
// The score service's table of submitted scores in an SQLite file.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace server {

/// One stored score. Texts are UTF-8.
struct TScoreRow {
  std::string Name;
  int64_t Score = 0;
  std::string OptionsText;
  /// Seconds since 1970 (UTC) when the score arrived.
  int64_t Time = 0;
};

/// The scores in one SQLite file, written through the write-ahead log so that a process killed
/// in the middle of a write leaves the file whole. Prepared statements only. Safe to use from
/// several threads.
class TScoreDatabase {
 public:
  /// Opens (creating when missing) the file; throws std::runtime_error when it cannot be used.
  explicit TScoreDatabase(const std::string& file);
  ~TScoreDatabase();
  TScoreDatabase(const TScoreDatabase&) = delete;
  TScoreDatabase& operator=(const TScoreDatabase&) = delete;

  /// Stores one score; false when the write failed.
  bool Add(const TScoreRow& row);

  /// The best scores, highest first; equal scores in the order they arrived.
  std::vector<TScoreRow> Top(int limit);

  /// How many scores are stored.
  int64_t Count();

 private:
  void Close();
  void Execute(const char* sql);
  sqlite3_stmt* Prepare(const char* sql);

  std::mutex Mutex_;
  sqlite3* Db_ = nullptr;
  sqlite3_stmt* Insert_ = nullptr;
  sqlite3_stmt* SelectTop_ = nullptr;
  sqlite3_stmt* CountRows_ = nullptr;
};

}  // namespace server
