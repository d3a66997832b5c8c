#pragma once
// Test support: a client of the test's own on a score database.

#include <string>

struct pg_conn;
struct sqlite3;

namespace servertest {

/// A connection to a score database (an SQLite file or a "postgresql://" address) that runs SQL
/// on it as another client would, to set the database up or hold it in a transaction until
/// destroyed.
class TDatabaseSession {
 public:
  /// Connects to the database at the location; a failure fails the test.
  explicit TDatabaseSession(const std::string& location);
  ~TDatabaseSession();
  TDatabaseSession(const TDatabaseSession&) = delete;
  TDatabaseSession& operator=(const TDatabaseSession&) = delete;

  /// Runs the SQL; a failure fails the test with the database's message.
  void Run(const std::string& sql);

 private:
  pg_conn* Postgres_ = nullptr;
  sqlite3* Sqlite_ = nullptr;
};

}  // namespace servertest
