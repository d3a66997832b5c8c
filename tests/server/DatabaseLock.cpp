#include "DatabaseLock.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <stdexcept>

namespace servertest {

namespace {

// Runs the SQL on the connection; throws with the database's message when it fails.
void Execute(pg_conn* connection, const char* sql) {
  PGresult* result = PQexec(connection, sql);
  const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
  PQclear(result);
  if (!ok) throw std::runtime_error(std::string("cannot lock: ") + PQerrorMessage(connection));
}

}  // namespace

TDatabaseLock::TDatabaseLock(const std::string& location) {
  if (location.starts_with("postgresql://")) {
    Postgres_ = PQconnectdb(location.c_str());
    try {
      if (PQstatus(Postgres_) != CONNECTION_OK) {
        throw std::runtime_error(std::string("cannot connect: ") + PQerrorMessage(Postgres_));
      }
      Execute(Postgres_, "BEGIN");
      Execute(Postgres_, "LOCK TABLE scores, best IN SHARE ROW EXCLUSIVE MODE");
    } catch (...) {
      PQfinish(Postgres_);
      throw;
    }
    return;
  }
  if (sqlite3_open(location.c_str(), &Sqlite_) != SQLITE_OK ||
      sqlite3_exec(Sqlite_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
    const std::string message = sqlite3_errmsg(Sqlite_);
    sqlite3_close(Sqlite_);
    throw std::runtime_error("cannot lock " + location + ": " + message);
  }
}

TDatabaseLock::~TDatabaseLock() {
  if (Postgres_) PQfinish(Postgres_);
  if (Sqlite_) {
    sqlite3_exec(Sqlite_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(Sqlite_);
  }
}

}  // namespace servertest
