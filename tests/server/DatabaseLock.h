#pragma once
// Test support: a score database held locked against writers, as a long moderation transaction
// or a stuck client would hold it.

#include <string>

struct pg_conn;
struct sqlite3;

namespace servertest {

/// Holds a lock that makes every score write wait, on an SQLite file (a write transaction) or a
/// PostgreSQL database (a lock on the tables the scores go into), from construction until
/// destroyed. Reads still go through.
class TDatabaseLock {
 public:
  /// Takes the lock on the database at the location (a file or a "postgresql://" address);
  /// throws when it cannot.
  explicit TDatabaseLock(const std::string& location);
  ~TDatabaseLock();
  TDatabaseLock(const TDatabaseLock&) = delete;
  TDatabaseLock& operator=(const TDatabaseLock&) = delete;

 private:
  pg_conn* Postgres_ = nullptr;
  sqlite3* Sqlite_ = nullptr;
};

}  // namespace servertest
