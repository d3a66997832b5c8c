#include "PostgresScoreDatabase.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace server {

namespace {

// Held while the tables are made, so that processes starting together do not collide.
constexpr const char* kLockSchema = "SELECT pg_advisory_lock(7262514)";
constexpr const char* kUnlockSchema = "SELECT pg_advisory_unlock(7262514)";

constexpr const char* kSchema[] = {
    "CREATE TABLE IF NOT EXISTS scores ("
    " id BIGSERIAL PRIMARY KEY,"
    " name TEXT NOT NULL,"
    " score BIGINT NOT NULL,"
    " options TEXT NOT NULL,"
    " created BIGINT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS scores_by_rank ON scores (score DESC, id)",
    "CREATE INDEX IF NOT EXISTS scores_by_name ON scores (name)",
    "CREATE TABLE IF NOT EXISTS best ("
    " name TEXT PRIMARY KEY,"
    " id BIGINT NOT NULL,"
    " score BIGINT NOT NULL,"
    " options TEXT NOT NULL,"
    " created BIGINT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS best_by_rank ON best (score DESC, id)",
    "CREATE TABLE IF NOT EXISTS banned (name TEXT PRIMARY KEY)",
    "CREATE TABLE IF NOT EXISTS redeemed (token TEXT PRIMARY KEY, expires BIGINT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS settings (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "INSERT INTO best (name, id, score, options, created)"
    " SELECT DISTINCT ON (name) name, id, score, options, created FROM scores"
    " WHERE NOT EXISTS (SELECT 1 FROM best) ORDER BY name, score DESC, id"
    " ON CONFLICT (name) DO NOTHING",
};

// The token's redemption, the score and the name's best score in one statement; the count is 0
// when the token had been redeemed before.
constexpr const char* kAdd =
    "WITH r AS (INSERT INTO redeemed (token, expires) VALUES ($1, $2::bigint)"
    "  ON CONFLICT DO NOTHING RETURNING 1),"
    " s AS (INSERT INTO scores (name, score, options, created)"
    "  SELECT $3::text, $4::bigint, $5::text, $6::bigint FROM r"
    "  RETURNING id, name, score, options, created),"
    " b AS (INSERT INTO best (name, id, score, options, created)"
    "  SELECT name, id, score, options, created FROM s WHERE NOT EXISTS"
    "  (SELECT 1 FROM best o WHERE o.name = s.name AND o.score >= s.score)"
    "  ON CONFLICT (name) DO UPDATE SET id = excluded.id, score = excluded.score,"
    "  options = excluded.options, created = excluded.created"
    "  WHERE excluded.score > best.score RETURNING 1)"
    " SELECT count(*) FROM s";
constexpr const char* kAddWithoutToken =
    "WITH s AS (INSERT INTO scores (name, score, options, created)"
    "  VALUES ($1::text, $2::bigint, $3::text, $4::bigint)"
    "  RETURNING id, name, score, options, created),"
    " b AS (INSERT INTO best (name, id, score, options, created)"
    "  SELECT name, id, score, options, created FROM s WHERE NOT EXISTS"
    "  (SELECT 1 FROM best o WHERE o.name = s.name AND o.score >= s.score)"
    "  ON CONFLICT (name) DO UPDATE SET id = excluded.id, score = excluded.score,"
    "  options = excluded.options, created = excluded.created"
    "  WHERE excluded.score > best.score RETURNING 1)"
    " SELECT count(*) FROM s";
constexpr const char* kSelectTop =
    "SELECT name, score, options, created FROM best"
    " WHERE name NOT IN (SELECT name FROM banned) ORDER BY score DESC, id LIMIT $1::int";
constexpr const char* kListAll =
    "SELECT id, name, score, options, created, name IN (SELECT name FROM banned) FROM scores"
    " ORDER BY score DESC, id";
constexpr const char* kListName =
    "SELECT id, name, score, options, created, name IN (SELECT name FROM banned) FROM scores"
    " WHERE name = $1 ORDER BY score DESC, id";
constexpr const char* kDeleteScore = "DELETE FROM scores WHERE id = $1::bigint RETURNING name";
constexpr const char* kDeleteBest = "DELETE FROM best WHERE name = $1";
constexpr const char* kRefillBest =
    "INSERT INTO best (name, id, score, options, created)"
    " SELECT name, id, score, options, created FROM scores WHERE name = $1"
    " ORDER BY score DESC, id LIMIT 1";

// The statements every connection prepares once the tables exist.
constexpr std::pair<const char*, const char*> kPrepared[] = {
    {"add", kAdd}, {"add_untokened", kAddWithoutToken}, {"top", kSelectTop}};

// The address with any password left out, for messages.
std::string WithoutPassword(const std::string& address) {
  const size_t scheme = address.find("://");
  const size_t at = address.find('@');
  if (scheme == std::string::npos || at == std::string::npos || at < scheme) return address;
  const size_t colon = address.find(':', scheme + 3);
  if (colon == std::string::npos || colon > at) return address;
  return address.substr(0, colon) + ":*" + address.substr(at);
}

int64_t ToInt(const char* text) {
  return std::strtoll(text, nullptr, 10);
}

// The parameters of the "add" statement, or of "add_untokened" when the token is empty.
std::vector<std::string> AddParams(const TScoreRow& row, const std::string& token,
                                   int64_t tokenExpiry) {
  std::vector<std::string> params = {row.Name, std::to_string(row.Score), row.OptionsText,
                                     std::to_string(row.Time)};
  if (!token.empty()) params.insert(params.begin(), {token, std::to_string(tokenExpiry)});
  return params;
}

}  // namespace

// A connection borrowed from the pool for one call, given back when the call ends.
class TPostgresScoreDatabase::TLease {
 public:
  explicit TLease(TPostgresScoreDatabase& database)
      : Database_(database), Connection_(database.Borrow()) {}
  ~TLease() { Database_.GiveBack(Connection_); }
  TLease(const TLease&) = delete;
  TLease& operator=(const TLease&) = delete;
  pg_conn* operator*() const { return Connection_; }

 private:
  TPostgresScoreDatabase& Database_;
  pg_conn* Connection_;
};

TPostgresScoreDatabase::TPostgresScoreDatabase(const std::string& address,
                                               std::size_t maxConnections)
    : Address_(address),
      Shown_(WithoutPassword(address)),
      MaxConnections_(std::max<std::size_t>(maxConnections, 1)) {
  const TLease lease(*this);
  const TResult readOnly = Run(*lease, "SHOW transaction_read_only");
  if (std::string(PQgetvalue(readOnly.get(), 0, 0)) == "on") {
    throw TDatabaseError("score database " + Shown_ + " is read-only");
  }
  Run(*lease, kLockSchema);
  try {
    for (const char* sql : kSchema) Run(*lease, sql);
  } catch (...) {
    PQclear(PQexec(*lease, kUnlockSchema));
    throw;
  }
  Run(*lease, kUnlockSchema);
  Prepare(*lease);
  {
    const std::lock_guard lock(Mutex_);
    SchemaReady_ = true;
  }
  // One pipelined connection: it keeps its session busy, and a second one would only contend
  // with it for the rows both write (a busy name's best row).
  Pipeline_ = std::make_unique<TPostgresSubmissionPipeline>([this] { return Connect(); }, Shown_);
}

TPostgresScoreDatabase::~TPostgresScoreDatabase() {
  Pipeline_.reset();
  for (pg_conn* connection : Idle_) PQfinish(connection);
}

pg_conn* TPostgresScoreDatabase::Connect() {
  pg_conn* connection = PQconnectdb(Address_.c_str());
  if (PQstatus(connection) != CONNECTION_OK) {
    const std::string message = PQerrorMessage(connection);
    PQfinish(connection);
    throw TDatabaseError("cannot connect to score database " + Shown_ + ": " + message);
  }
  PQclear(PQexec(connection, "SET client_min_messages = warning"));
  // The same promise as the SQLite file's write-ahead log with synchronous=NORMAL: a stored score
  // survives any crash of this process (the database server has it), and only a crash of the
  // database's machine may lose the last fraction of a second. Waiting for every commit to
  // reach the disk would bound the service to a few hundred scores a second.
  PQclear(PQexec(connection, "SET synchronous_commit = off"));
  // A write held up by a lock (a long moderation transaction, a stuck client) gives up after a
  // second, as a write to the SQLite file does after its busy time-out: it answers 500 instead of
  // holding a database thread, and a stop signal is never kept waiting on it.
  PQclear(PQexec(connection, "SET lock_timeout = 1000"));
  bool schemaReady = false;
  {
    const std::lock_guard lock(Mutex_);
    schemaReady = SchemaReady_;
  }
  if (schemaReady) {
    try {
      Prepare(connection);
    } catch (...) {
      PQfinish(connection);
      throw;
    }
  }
  return connection;
}

pg_conn* TPostgresScoreDatabase::Borrow() {
  std::unique_lock lock(Mutex_);
  Returned_.wait(lock, [this] { return !Idle_.empty() || Open_ < MaxConnections_; });
  if (pg_conn* connection = TakeIdle()) return connection;
  ++Open_;
  lock.unlock();
  try {
    return Connect();
  } catch (...) {
    lock.lock();
    --Open_;
    Returned_.notify_one();
    throw;
  }
}

pg_conn* TPostgresScoreDatabase::TakeIdle() {
  while (!Idle_.empty()) {
    pg_conn* connection = Idle_.back();
    Idle_.pop_back();
    if (IsIdleAndOpen(connection)) return connection;
    PQfinish(connection);
    --Open_;
  }
  return nullptr;
}

void TPostgresScoreDatabase::GiveBack(pg_conn* connection) {
  const std::lock_guard lock(Mutex_);
  if (PQstatus(connection) == CONNECTION_OK) {
    Idle_.push_back(connection);
  } else {
    // A broken connection (a database restart, say) is dropped; the next call connects anew.
    PQfinish(connection);
    --Open_;
  }
  Returned_.notify_one();
}

TPostgresScoreDatabase::TResult TPostgresScoreDatabase::Run(
    pg_conn* connection, const char* sql, const std::vector<std::string>& params) {
  std::vector<const char*> values;
  for (const auto& param : params) values.push_back(param.c_str());
  TResult result(PQexecParams(connection, sql, static_cast<int>(values.size()), nullptr,
                              values.data(), nullptr, nullptr, 0),
                 PQclear);
  const ExecStatusType status = PQresultStatus(result.get());
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    throw TDatabaseError("score database " + Shown_ + ": " + PQerrorMessage(connection));
  }
  return result;
}

void TPostgresScoreDatabase::Prepare(pg_conn* connection) {
  for (const auto& [name, sql] : kPrepared) {
    const TResult result(PQprepare(connection, name, sql, 0, nullptr), PQclear);
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
      throw TDatabaseError("score database " + Shown_ + ": " + PQerrorMessage(connection));
    }
  }
}

TPostgresScoreDatabase::TResult TPostgresScoreDatabase::RunPrepared(
    pg_conn* connection, const char* name, const std::vector<std::string>& params) {
  std::vector<const char*> values;
  for (const auto& param : params) values.push_back(param.c_str());
  TResult result(PQexecPrepared(connection, name, static_cast<int>(values.size()), values.data(),
                                nullptr, nullptr, 0),
                 PQclear);
  const ExecStatusType status = PQresultStatus(result.get());
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    throw TDatabaseError("score database " + Shown_ + ": " + PQerrorMessage(connection));
  }
  return result;
}

TScoreStore::TAddResult TPostgresScoreDatabase::Add(const TScoreRow& row, const std::string& token,
                                                    int64_t tokenExpiry) {
  const TLease lease(*this);
  const TResult result = RunPrepared(*lease, token.empty() ? "add_untokened" : "add",
                                     AddParams(row, token, tokenExpiry));
  return ToInt(PQgetvalue(result.get(), 0, 0)) == 1 ? TAddResult::kStored : TAddResult::kTokenUsed;
}

void TPostgresScoreDatabase::AddLater(const TScoreRow& row, const std::string& token,
                                      int64_t tokenExpiry, TAddDone done) {
  Pipeline_->Push({token.empty() ? "add_untokened" : "add", AddParams(row, token, tokenExpiry),
                   row.Name, std::move(done)});
}

void TPostgresScoreDatabase::DropQueuedWrites() {
  Pipeline_->Stop();
}

std::vector<TScoreRow> TPostgresScoreDatabase::Top(int limit) {
  const TLease lease(*this);
  const TResult result = RunPrepared(*lease, "top", {std::to_string(limit)});
  std::vector<TScoreRow> rows;
  for (int i = 0; i < PQntuples(result.get()); ++i) {
    rows.push_back({PQgetvalue(result.get(), i, 0), ToInt(PQgetvalue(result.get(), i, 1)),
                    PQgetvalue(result.get(), i, 2), ToInt(PQgetvalue(result.get(), i, 3))});
  }
  return rows;
}

int64_t TPostgresScoreDatabase::Count() {
  const TLease lease(*this);
  return ToInt(PQgetvalue(Run(*lease, "SELECT count(*) FROM scores").get(), 0, 0));
}

std::vector<TListedScore> TPostgresScoreDatabase::List(const std::string& name) {
  const TLease lease(*this);
  const TResult result = name.empty() ? Run(*lease, kListAll) : Run(*lease, kListName, {name});
  std::vector<TListedScore> rows;
  for (int i = 0; i < PQntuples(result.get()); ++i) {
    rows.push_back({ToInt(PQgetvalue(result.get(), i, 0)),
                    {PQgetvalue(result.get(), i, 1), ToInt(PQgetvalue(result.get(), i, 2)),
                     PQgetvalue(result.get(), i, 3), ToInt(PQgetvalue(result.get(), i, 4))},
                    std::string(PQgetvalue(result.get(), i, 5)) == "t"});
  }
  return rows;
}

int TPostgresScoreDatabase::Remove(const std::vector<int64_t>& ids) {
  const TLease lease(*this);
  Run(*lease, "BEGIN");
  int removed = 0;
  try {
    for (const int64_t id : ids) {
      const TResult deleted = Run(*lease, kDeleteScore, {std::to_string(id)});
      if (PQntuples(deleted.get()) == 0) continue;
      const std::string name = PQgetvalue(deleted.get(), 0, 0);
      Run(*lease, kDeleteBest, {name});
      Run(*lease, kRefillBest, {name});
      ++removed;
    }
    Run(*lease, "COMMIT");
  } catch (...) {
    PQclear(PQexec(*lease, "ROLLBACK"));
    throw;
  }
  return removed;
}

void TPostgresScoreDatabase::SetBanned(const std::string& name, bool banned) {
  const TLease lease(*this);
  Run(*lease,
      banned ? "INSERT INTO banned (name) VALUES ($1) ON CONFLICT DO NOTHING"
             : "DELETE FROM banned WHERE name = $1",
      {name});
}

std::string TPostgresScoreDatabase::Secret() {
  const TLease lease(*this);
  Run(*lease,
      "INSERT INTO settings (key, value) VALUES ('token-secret', $1) ON CONFLICT DO NOTHING",
      {RandomSecret()});
  const TResult result = Run(*lease, "SELECT value FROM settings WHERE key = 'token-secret'");
  if (PQntuples(result.get()) != 1) {
    throw TDatabaseError("score database " + Shown_ + ": no token secret");
  }
  return PQgetvalue(result.get(), 0, 0);
}

void TPostgresScoreDatabase::DropExpiredTokens(int64_t now) {
  const TLease lease(*this);
  Run(*lease, "DELETE FROM redeemed WHERE expires < $1::bigint", {std::to_string(now)});
}

}  // namespace server
