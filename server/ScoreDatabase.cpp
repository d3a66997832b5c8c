#include "ScoreDatabase.h"

#include <sqlite3.h>

#include <stdexcept>

namespace server {

namespace {

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = sqlite3_column_text(statement, column);
  return text ? reinterpret_cast<const char*>(text) : "";
}

// Resets a statement when the scope ends, so every path leaves it ready for the next use.
struct TStatementReset {
  sqlite3_stmt* Statement;
  ~TStatementReset() {
    sqlite3_reset(Statement);
    sqlite3_clear_bindings(Statement);
  }
};

}  // namespace

TScoreDatabase::TScoreDatabase(const std::string& file) {
  if (sqlite3_open_v2(file.c_str(), &Db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    const std::string message = Db_ ? sqlite3_errmsg(Db_) : "out of memory";
    sqlite3_close(Db_);
    throw std::runtime_error("cannot open score database " + file + ": " + message);
  }
  try {
    sqlite3_busy_timeout(Db_, 5000);
    Execute("PRAGMA journal_mode=WAL");
    Execute("PRAGMA synchronous=NORMAL");
    Execute(
        "CREATE TABLE IF NOT EXISTS scores ("
        " id INTEGER PRIMARY KEY,"
        " name TEXT NOT NULL,"
        " score INTEGER NOT NULL,"
        " options TEXT NOT NULL,"
        " created INTEGER NOT NULL)");
    Execute("CREATE INDEX IF NOT EXISTS scores_by_rank ON scores (score DESC, id)");
    Insert_ = Prepare("INSERT INTO scores (name, score, options, created) VALUES (?, ?, ?, ?)");
    SelectTop_ =
        Prepare("SELECT name, score, options, created FROM scores ORDER BY score DESC, id LIMIT ?");
    CountRows_ = Prepare("SELECT COUNT(*) FROM scores");
  } catch (...) {
    Close();
    throw;
  }
}

TScoreDatabase::~TScoreDatabase() {
  Close();
}

void TScoreDatabase::Close() {
  sqlite3_finalize(Insert_);
  sqlite3_finalize(SelectTop_);
  sqlite3_finalize(CountRows_);
  sqlite3_close(Db_);
  Insert_ = SelectTop_ = CountRows_ = nullptr;
  Db_ = nullptr;
}

bool TScoreDatabase::Add(const TScoreRow& row) {
  const std::lock_guard lock(Mutex_);
  const TStatementReset reset{Insert_};
  sqlite3_bind_text(Insert_, 1, row.Name.data(), static_cast<int>(row.Name.size()),
                    SQLITE_TRANSIENT);
  sqlite3_bind_int64(Insert_, 2, row.Score);
  sqlite3_bind_text(Insert_, 3, row.OptionsText.data(), static_cast<int>(row.OptionsText.size()),
                    SQLITE_TRANSIENT);
  sqlite3_bind_int64(Insert_, 4, row.Time);
  return sqlite3_step(Insert_) == SQLITE_DONE;
}

std::vector<TScoreRow> TScoreDatabase::Top(int limit) {
  const std::lock_guard lock(Mutex_);
  const TStatementReset reset{SelectTop_};
  sqlite3_bind_int(SelectTop_, 1, limit);
  std::vector<TScoreRow> rows;
  while (sqlite3_step(SelectTop_) == SQLITE_ROW) {
    rows.push_back({ColumnText(SelectTop_, 0), sqlite3_column_int64(SelectTop_, 1),
                    ColumnText(SelectTop_, 2), sqlite3_column_int64(SelectTop_, 3)});
  }
  return rows;
}

int64_t TScoreDatabase::Count() {
  const std::lock_guard lock(Mutex_);
  const TStatementReset reset{CountRows_};
  return sqlite3_step(CountRows_) == SQLITE_ROW ? sqlite3_column_int64(CountRows_, 0) : 0;
}

void TScoreDatabase::Execute(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(Db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw std::runtime_error(std::string("score database: ") + message);
  }
}

sqlite3_stmt* TScoreDatabase::Prepare(const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(Db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
      SQLITE_OK) {
    throw std::runtime_error(std::string("score database: ") + sqlite3_errmsg(Db_));
  }
  return statement;
}

}  // namespace server
