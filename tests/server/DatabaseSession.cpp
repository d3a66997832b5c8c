#include "DatabaseSession.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace servertest {

TDatabaseSession::TDatabaseSession(const std::string& location) {
  if (location.starts_with("postgresql://")) {
    Postgres_ = PQconnectdb(location.c_str());
    EXPECT_EQ(PQstatus(Postgres_), CONNECTION_OK) << PQerrorMessage(Postgres_);
    return;
  }
  EXPECT_EQ(sqlite3_open(location.c_str(), &Sqlite_), SQLITE_OK) << location;
}

TDatabaseSession::~TDatabaseSession() {
  if (Postgres_) PQfinish(Postgres_);
  if (Sqlite_) sqlite3_close(Sqlite_);
}

void TDatabaseSession::Run(const std::string& sql) {
  if (Postgres_) {
    PGresult* result = PQexec(Postgres_, sql.c_str());
    EXPECT_EQ(PQresultStatus(result), PGRES_COMMAND_OK) << sql << ": " << PQerrorMessage(Postgres_);
    PQclear(result);
    return;
  }
  EXPECT_EQ(sqlite3_exec(Sqlite_, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
      << sql << ": " << sqlite3_errmsg(Sqlite_);
}

}  // namespace servertest
