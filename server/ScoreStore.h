#pragma once
// What the score service keeps in its database, whichever database that is.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace server {

/// One stored score. Texts are UTF-8.
struct TScoreRow {
  std::string Name;
  int64_t Score = 0;
  std::string OptionsText;
  /// Seconds since 1970 (UTC) when the score arrived.
  int64_t Time = 0;
};

/// One stored score as the moderation commands list it.
struct TListedScore {
  int64_t Id = 0;
  TScoreRow Row;
  bool Banned = false;
};

/// A failure of the database itself (not of a request): the message says what went wrong.
class TDatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The scores, the names hidden from the page, the tokens already redeemed and the secret the
/// tokens are signed with. Every method is safe to call from several threads and throws
/// TDatabaseError when the database fails.
class TScoreStore {
 public:
  /// What became of a score handed to Add.
  enum class TAddResult { kStored, kTokenUsed };

  /// What became of a score written later: the result, or, when Error is not empty, the
  /// database's failure (nothing stored).
  struct TAddOutcome {
    TAddResult Result = TAddResult::kStored;
    std::string Error;
  };

  virtual ~TScoreStore() = default;

  /// Redeems the token (kept until the given expiry, seconds since 1970) and stores the score in
  /// one transaction; kTokenUsed and nothing stored when the token was redeemed before, by this
  /// or any other process sharing the database. An empty token stores without redeeming.
  virtual TAddResult Add(const TScoreRow& row, const std::string& token, int64_t tokenExpiry) = 0;

  /// Told what became of a score handed to AddLater: the result, or, when error is not empty,
  /// the database's failure (nothing stored).
  using TAddDone = std::function<void(TAddResult result, const std::string& error)>;

  /// Add without waiting for the database when the store queues writes (AddsLater): done is
  /// called later, on a thread of the store's. Otherwise the score is stored at once and done is
  /// called before this returns.
  virtual void AddLater(const TScoreRow& row, const std::string& token, int64_t tokenExpiry,
                        TAddDone done);

  /// Whether AddLater returns before the database answers, so threads that must never wait may
  /// call it.
  virtual bool AddsLater() const { return false; }

  /// Drops the queued writes without telling their callers, once those callers are going away
  /// (the service stops); AddLater must not be called afterwards.
  virtual void DropQueuedWrites() {}

  /// The page's rows: each shown name's best score (its first arrival on a tie), highest first,
  /// equal scores in the order they arrived; banned names left out.
  virtual std::vector<TScoreRow> Top(int limit) = 0;

  /// How many scores are stored.
  virtual int64_t Count() = 0;

  /// Every stored score of the name (of everyone when empty), highest first.
  virtual std::vector<TListedScore> List(const std::string& name) = 0;

  /// Deletes the scores with these ids; returns how many there were.
  virtual int Remove(const std::vector<int64_t>& ids) = 0;

  /// Hides (or shows again) every score of the name on the page.
  virtual void SetBanned(const std::string& name, bool banned) = 0;

  /// The token secret kept in the database, made at random on first use, so that every process
  /// sharing the database signs alike.
  virtual std::string Secret() = 0;

  /// Forgets redeemed tokens that expired before this time (seconds since 1970).
  virtual void DropExpiredTokens(int64_t now) = 0;

  /// How many calls the store runs side by side; more callers wait their turn.
  virtual std::size_t Parallelism() const = 0;
};

/// Opens the store at the location: a "postgresql://" or "postgres://" address, keeping up to
/// the given number of connections to it, or an SQLite file (created when missing). Checks that
/// it can be written and is not damaged; throws TDatabaseError naming the location when it
/// cannot be used.
std::unique_ptr<TScoreStore> OpenScoreStore(const std::string& location,
                                            std::size_t connections = 4);

/// 64 random bytes as 128 hex digits, for a new token secret.
std::string RandomSecret();

}  // namespace server
