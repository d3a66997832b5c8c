#pragma once
// What the score service answers to each query, apart from the HTTP plumbing.

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "ScoreDatabase.h"
#include "TokenStore.h"

namespace server {

/// The status, type and body of one answer.
struct TServiceReply {
  int Status = 200;
  std::string ContentType = "text/plain; charset=utf-8";
  std::string Body;
};

/// Answers handshakes, submissions and page requests of "/cgi/version.pl". Keeps the rendered
/// page until the next stored score. Safe to use from several threads.
class TScoreService {
 public:
  /// A service storing into the database and checking tokens with the store.
  TScoreService(TScoreDatabase& database, TTokenStore& tokens);

  /// The answer to a raw query string: 200 with "OK|..." for a handshake, 200 "OK" for a stored
  /// score, 200 HTML for the page; 414 for an oversized query, 400 for a malformed query or
  /// submission, 403 for a wrong, used or expired token, 500 when the score could not be stored.
  TServiceReply Handle(std::string_view query, TTokenStore::TClock::time_point now,
                       int64_t wallSeconds);

 private:
  TServiceReply Handshake(TTokenStore::TClock::time_point now);
  TServiceReply Submit(const std::string& info, TTokenStore::TClock::time_point now,
                       int64_t wallSeconds);
  TServiceReply Page();

  TScoreDatabase& Database_;
  TTokenStore& Tokens_;
  std::mutex PageMutex_;
  std::shared_ptr<const std::string> Page_;
  uint64_t Generation_ = 0;
};

}  // namespace server
