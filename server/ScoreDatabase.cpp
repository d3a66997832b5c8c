#include "ScoreDatabase.h"

#include <sqlite3.h>

#include <utility>

namespace server {

namespace {

constexpr const char* kSchema[] = {
    "CREATE TABLE IF NOT EXISTS scores ("
    " id INTEGER PRIMARY KEY,"
    " name TEXT NOT NULL,"
    " score INTEGER NOT NULL,"
    " options TEXT NOT NULL,"
    " created INTEGER NOT NULL)",
    "CREATE INDEX IF NOT EXISTS scores_by_rank ON scores (score DESC, id)",
    "CREATE INDEX IF NOT EXISTS scores_by_name ON scores (name)",
    // Each name's best score, the one row of the name the page shows.
    "CREATE TABLE IF NOT EXISTS best ("
    " name TEXT PRIMARY KEY,"
    " id INTEGER NOT NULL,"
    " score INTEGER NOT NULL,"
    " options TEXT NOT NULL,"
    " created INTEGER NOT NULL)",
    "CREATE INDEX IF NOT EXISTS best_by_rank ON best (score DESC, id)",
    "CREATE TABLE IF NOT EXISTS banned (name TEXT PRIMARY KEY)",
    "CREATE TABLE IF NOT EXISTS redeemed (token TEXT PRIMARY KEY, expires INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS settings (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
};

constexpr const char* kInsertRedeemed = "INSERT INTO redeemed (token, expires) VALUES (?, ?)";
constexpr const char* kInsertScore =
    "INSERT INTO scores (name, score, options, created) VALUES (?, ?, ?, ?)";
constexpr const char* kUpsertBest =
    "INSERT INTO best (name, id, score, options, created) VALUES (?, last_insert_rowid(), ?, ?, ?)"
    " ON CONFLICT (name) DO UPDATE SET id = excluded.id, score = excluded.score,"
    " options = excluded.options, created = excluded.created WHERE excluded.score > best.score";
constexpr const char* kSelectTop =
    "SELECT name, score, options, created FROM best"
    " WHERE name NOT IN (SELECT name FROM banned) ORDER BY score DESC, id LIMIT ?";
constexpr const char* kCount = "SELECT COUNT(*) FROM scores";
constexpr const char* kListAll =
    "SELECT id, name, score, options, created, name IN (SELECT name FROM banned) FROM scores"
    " ORDER BY score DESC, id";
constexpr const char* kListName =
    "SELECT id, name, score, options, created, name IN (SELECT name FROM banned) FROM scores"
    " WHERE name = ? ORDER BY score DESC, id";
constexpr const char* kNameOf = "SELECT name FROM scores WHERE id = ?";
constexpr const char* kDeleteScore = "DELETE FROM scores WHERE id = ?";
constexpr const char* kDeleteBest = "DELETE FROM best WHERE name = ?";
constexpr const char* kRefillBest =
    "INSERT INTO best (name, id, score, options, created)"
    " SELECT name, id, score, options, created FROM scores WHERE name = ?"
    " ORDER BY score DESC, id LIMIT 1";
constexpr const char* kFillAllBest =
    "INSERT INTO best (name, id, score, options, created)"
    " SELECT name, id, score, options, created FROM scores WHERE true ORDER BY score DESC, id"
    " ON CONFLICT (name) DO NOTHING";
constexpr const char* kBestIsEmpty = "SELECT NOT EXISTS (SELECT 1 FROM best)";
constexpr const char* kBan = "INSERT OR IGNORE INTO banned (name) VALUES (?)";
constexpr const char* kUnban = "DELETE FROM banned WHERE name = ?";
constexpr const char* kInsertSecret =
    "INSERT OR IGNORE INTO settings (key, value) VALUES ('token-secret', ?)";
constexpr const char* kSelectSecret = "SELECT value FROM settings WHERE key = 'token-secret'";
constexpr const char* kDropTokens = "DELETE FROM redeemed WHERE expires < ?";

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = sqlite3_column_text(statement, column);
  return text ? reinterpret_cast<const char*>(text) : "";
}

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Binds the row's name, score, options and time to the statement's first four parameters.
void BindRow(sqlite3_stmt* statement, const TScoreRow& row) {
  BindText(statement, 1, row.Name);
  sqlite3_bind_int64(statement, 2, row.Score);
  BindText(statement, 3, row.OptionsText);
  sqlite3_bind_int64(statement, 4, row.Time);
}

}  // namespace

// One use of a prepared statement: reset when the scope ends, so every path leaves it ready.
class TScoreDatabase::TStatement {
 public:
  TStatement(TScoreDatabase& database, const char* sql)
      : Database_(database), Statement_(database.Prepared(sql)) {}
  ~TStatement() {
    sqlite3_reset(Statement_);
    sqlite3_clear_bindings(Statement_);
  }
  TStatement(const TStatement&) = delete;
  TStatement& operator=(const TStatement&) = delete;

  sqlite3_stmt* operator*() const { return Statement_; }

  // Steps once: true for a row, false when done; throws on an error.
  bool Step() {
    const int result = sqlite3_step(Statement_);
    if (result == SQLITE_ROW) return true;
    if (result != SQLITE_DONE) Database_.Fail("statement failed");
    return false;
  }

 private:
  TScoreDatabase& Database_;
  sqlite3_stmt* Statement_;
};

TScoreDatabase::TScoreDatabase(const std::string& file) : File_(file) {
  if (sqlite3_open_v2(file.c_str(), &Db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    const std::string message = Db_ ? sqlite3_errmsg(Db_) : "out of memory";
    sqlite3_close(Db_);
    Db_ = nullptr;
    throw TDatabaseError("cannot open score database " + file + ": " + message);
  }
  try {
    CheckUsable();
    for (const char* sql : kSchema) Execute(sql);
    TStatement empty(*this, kBestIsEmpty);
    if (empty.Step() && sqlite3_column_int(*empty, 0) == 1) Execute(kFillAllBest);
  } catch (...) {
    Close();
    throw;
  }
  Writes_ =
      std::make_unique<TScoreWriteQueue>([this](const auto& batch) { return AddBatch(batch); });
}

TScoreDatabase::~TScoreDatabase() {
  Writes_.reset();
  Close();
}

void TScoreDatabase::CheckUsable() {
  if (sqlite3_db_readonly(Db_, "main") == 1) {
    throw TDatabaseError("score database " + File_ + " is read-only");
  }
  // A short wait for another process sharing the file; kept short so that a stop signal is
  // never held up for long.
  sqlite3_busy_timeout(Db_, 1500);
  Execute("PRAGMA journal_mode=WAL");
  Execute("PRAGMA synchronous=NORMAL");
  sqlite3_stmt* check = nullptr;
  std::string verdict = "no answer";
  if (sqlite3_prepare_v2(Db_, "PRAGMA quick_check(1)", -1, &check, nullptr) == SQLITE_OK &&
      sqlite3_step(check) == SQLITE_ROW) {
    verdict = ColumnText(check, 0);
  } else {
    verdict = sqlite3_errmsg(Db_);
  }
  sqlite3_finalize(check);
  if (verdict != "ok") throw TDatabaseError("score database " + File_ + " is damaged: " + verdict);
}

void TScoreDatabase::Close() {
  for (auto& [sql, statement] : Statements_) sqlite3_finalize(statement);
  Statements_.clear();
  sqlite3_close(Db_);
  Db_ = nullptr;
}

TScoreStore::TAddResult TScoreDatabase::Add(const TScoreRow& row, const std::string& token,
                                            int64_t tokenExpiry) {
  const std::lock_guard lock(Mutex_);
  Execute("BEGIN IMMEDIATE");
  try {
    const TAddResult result = Store(row, token, tokenExpiry);
    Execute("COMMIT");
    return result;
  } catch (...) {
    sqlite3_exec(Db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

void TScoreDatabase::AddLater(const TScoreRow& row, const std::string& token, int64_t tokenExpiry,
                              TAddDone done) {
  Writes_->Push({row, token, tokenExpiry, std::move(done)});
}

void TScoreDatabase::DropQueuedWrites() {
  Writes_->Stop();
}

std::vector<TScoreStore::TAddOutcome> TScoreDatabase::AddBatch(
    const std::vector<TScoreWriteQueue::TItem>& batch) {
  std::vector<TAddOutcome> outcomes(batch.size());
  const auto failAll = [&outcomes](const std::string& error) {
    for (auto& outcome : outcomes) outcome = {TAddResult::kStored, error};
  };
  const std::lock_guard lock(Mutex_);
  try {
    Execute("BEGIN IMMEDIATE");
  } catch (const TDatabaseError& e) {
    failAll(e.what());
    return outcomes;
  }
  // Each score behind a savepoint of its own: one that fails leaves the others in the
  // transaction.
  for (std::size_t i = 0; i < batch.size(); ++i) {
    try {
      Execute("SAVEPOINT score");
      outcomes[i].Result = Store(batch[i].Row, batch[i].Token, batch[i].TokenExpiry);
      Execute("RELEASE score");
    } catch (const TDatabaseError& e) {
      // Some failures (a full disk, an I/O error) end the whole transaction.
      if (sqlite3_get_autocommit(Db_) != 0) {
        failAll(e.what());
        return outcomes;
      }
      sqlite3_exec(Db_, "ROLLBACK TO score; RELEASE score", nullptr, nullptr, nullptr);
      outcomes[i].Error = e.what();
    }
  }
  try {
    Execute("COMMIT");
  } catch (const TDatabaseError& e) {
    sqlite3_exec(Db_, "ROLLBACK", nullptr, nullptr, nullptr);
    failAll(e.what());
  }
  return outcomes;
}

TScoreStore::TAddResult TScoreDatabase::Store(const TScoreRow& row, const std::string& token,
                                              int64_t tokenExpiry) {
  if (!token.empty()) {
    TStatement redeem(*this, kInsertRedeemed);
    BindText(*redeem, 1, token);
    sqlite3_bind_int64(*redeem, 2, tokenExpiry);
    const int result = sqlite3_step(*redeem);
    // A redeemed token's insert writes nothing: the statement is undone on its own.
    if (result == SQLITE_CONSTRAINT) return TAddResult::kTokenUsed;
    if (result != SQLITE_DONE) Fail("token not redeemed");
  }
  TStatement insert(*this, kInsertScore);
  BindRow(*insert, row);
  insert.Step();
  TStatement best(*this, kUpsertBest);
  BindRow(*best, row);
  best.Step();
  return TAddResult::kStored;
}

std::vector<TScoreRow> TScoreDatabase::Top(int limit) {
  const std::lock_guard lock(Mutex_);
  TStatement top(*this, kSelectTop);
  sqlite3_bind_int(*top, 1, limit);
  std::vector<TScoreRow> rows;
  while (top.Step()) {
    rows.push_back({ColumnText(*top, 0), sqlite3_column_int64(*top, 1), ColumnText(*top, 2),
                    sqlite3_column_int64(*top, 3)});
  }
  return rows;
}

int64_t TScoreDatabase::Count() {
  const std::lock_guard lock(Mutex_);
  TStatement count(*this, kCount);
  return count.Step() ? sqlite3_column_int64(*count, 0) : 0;
}

std::vector<TListedScore> TScoreDatabase::List(const std::string& name) {
  const std::lock_guard lock(Mutex_);
  TStatement list(*this, name.empty() ? kListAll : kListName);
  if (!name.empty()) BindText(*list, 1, name);
  std::vector<TListedScore> rows;
  while (list.Step()) {
    rows.push_back({sqlite3_column_int64(*list, 0),
                    {ColumnText(*list, 1), sqlite3_column_int64(*list, 2), ColumnText(*list, 3),
                     sqlite3_column_int64(*list, 4)},
                    sqlite3_column_int(*list, 5) != 0});
  }
  return rows;
}

int TScoreDatabase::Remove(const std::vector<int64_t>& ids) {
  const std::lock_guard lock(Mutex_);
  Execute("BEGIN IMMEDIATE");
  int removed = 0;
  try {
    for (const int64_t id : ids) {
      std::string name;
      {
        TStatement nameOf(*this, kNameOf);
        sqlite3_bind_int64(*nameOf, 1, id);
        if (!nameOf.Step()) continue;
        name = ColumnText(*nameOf, 0);
      }
      TStatement remove(*this, kDeleteScore);
      sqlite3_bind_int64(*remove, 1, id);
      remove.Step();
      RebuildBest(name);
      ++removed;
    }
    Execute("COMMIT");
  } catch (...) {
    sqlite3_exec(Db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  return removed;
}

void TScoreDatabase::RebuildBest(const std::string& name) {
  TStatement drop(*this, kDeleteBest);
  BindText(*drop, 1, name);
  drop.Step();
  TStatement refill(*this, kRefillBest);
  BindText(*refill, 1, name);
  refill.Step();
}

void TScoreDatabase::SetBanned(const std::string& name, bool banned) {
  const std::lock_guard lock(Mutex_);
  TStatement statement(*this, banned ? kBan : kUnban);
  BindText(*statement, 1, name);
  statement.Step();
}

std::string TScoreDatabase::Secret() {
  const std::lock_guard lock(Mutex_);
  {
    TStatement insert(*this, kInsertSecret);
    BindText(*insert, 1, RandomSecret());
    insert.Step();
  }
  TStatement select(*this, kSelectSecret);
  if (!select.Step()) Fail("no token secret");
  return ColumnText(*select, 0);
}

void TScoreDatabase::DropExpiredTokens(int64_t now) {
  const std::lock_guard lock(Mutex_);
  TStatement drop(*this, kDropTokens);
  sqlite3_bind_int64(*drop, 1, now);
  drop.Step();
}

void TScoreDatabase::Execute(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(Db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw TDatabaseError("score database " + File_ + ": " + message);
  }
}

sqlite3_stmt* TScoreDatabase::Prepared(const char* sql) {
  const auto it = Statements_.find(sql);
  if (it != Statements_.end()) return it->second;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(Db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
      SQLITE_OK) {
    Fail("statement not prepared");
  }
  Statements_.emplace(sql, statement);
  return statement;
}

void TScoreDatabase::Fail(const char* what) {
  throw TDatabaseError("score database " + File_ + ": " + what + ": " + sqlite3_errmsg(Db_));
}

}  // namespace server
