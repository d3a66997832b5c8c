#pragma once
// What the score service answers to each query, apart from the HTTP plumbing.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "RateLimiter.h"
#include "ScoreStore.h"
#include "ServerLog.h"
#include "TokenSigner.h"

namespace server {

/// The status, type and body of one answer.
struct TServiceReply {
  int Status = 200;
  std::string ContentType = "text/plain; charset=utf-8";
  std::string Body;
};

/// How often one client address may ask for a token and send a score (per minute; 0: no limit).
struct TServiceLimits {
  int HandshakesPerMinute = 10;
  int SubmissionsPerMinute = 10;
};

/// Answers handshakes, submissions and page requests of "/cgi/version.pl". Keeps the rendered
/// page for at most a second, and not past a score stored here, so that scores stored through
/// other processes sharing the database show within a second; while one request makes the
/// expired page anew, the others get the expired one. Safe to use from several threads.
class TScoreService {
 public:
  using TClock = std::chrono::steady_clock;

  /// Longest time a rendered page is served again.
  static constexpr std::chrono::seconds kPageMaxAge{1};

  /// A service storing into the store, signing tokens with the signer, logging database errors
  /// and limits hit to the log (when given).
  TScoreService(TScoreStore& store, const TTokenSigner& tokens, const TServiceLimits& limits,
                TServerLog* log);

  /// The answer to a raw query string from the client address: 200 with "OK|..." for a
  /// handshake, 200 "OK" for a score taken, 200 HTML for the page; 414 for an oversized query,
  /// 400 for a malformed query or submission, 403 for a forged, used or expired token, 429 when
  /// the address asks too often, 500 when the database failed.
  TServiceReply Handle(std::string_view query, const std::string& clientAddress,
                       TClock::time_point now, int64_t wallSeconds);

  /// The same answer as Handle when it needs no database call (a handshake, a refusal of the
  /// query's form, a page still kept); nothing when only Handle, which may wait on the
  /// database, can answer.
  std::optional<TServiceReply> HandleWithoutWaiting(std::string_view query,
                                                    const std::string& clientAddress,
                                                    TClock::time_point now, int64_t wallSeconds);

  /// Called with the answer to a request handed to HandleLater.
  using TReplyDone = std::function<void(TServiceReply)>;

  /// Takes a submission that HandleWithoutWaiting could not answer when the store queues writes
  /// (TScoreStore::AddsLater): returns true at once, and done gets the same answer as Handle's
  /// later, on a thread of the store's. False, and done is never called, for anything else.
  bool HandleLater(std::string_view query, const std::string& clientAddress, TClock::time_point now,
                   int64_t wallSeconds, TReplyDone done);

 private:
  /// A submission that checked out, to be stored.
  struct TPendingScore {
    TScoreRow Row;
    std::string Token;
    int64_t TokenExpiry = 0;
  };

  std::variant<TServiceReply, TPendingScore> Check(const std::string& info,
                                                   const std::string& clientAddress,
                                                   TClock::time_point now, int64_t wallSeconds);
  TServiceReply Stored(TScoreStore::TAddResult result, const std::string& error,
                       const std::string& clientAddress);
  std::optional<TServiceReply> Dispatch(std::string_view query, const std::string& clientAddress,
                                        TClock::time_point now, int64_t wallSeconds, bool mayWait);
  TServiceReply Handshake(const std::string& clientAddress, TClock::time_point now,
                          int64_t wallSeconds);
  TServiceReply Submit(const std::string& info, const std::string& clientAddress,
                       TClock::time_point now, int64_t wallSeconds);
  std::optional<TServiceReply> Page(TClock::time_point now, bool mayWait);
  void DropExpiredTokens(TClock::time_point now, int64_t wallSeconds);
  void LogError(const std::string& message);

  TScoreStore& Store_;
  const TTokenSigner& Tokens_;
  TServerLog* Log_;
  TRateLimiter Handshakes_;
  TRateLimiter Submissions_;
  std::mutex Mutex_;
  std::shared_ptr<const std::string> Page_;
  TClock::time_point PageMade_;
  uint64_t Generation_ = 0;
  // Requests making the page right now.
  int Renders_ = 0;
  TClock::time_point TokensDropped_;
};

}  // namespace server
