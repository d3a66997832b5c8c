#pragma once
// What the HTTP layer hands to the score service for one request.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ScoreService.h"

namespace server {

/// One GET request without a body.
struct THttpRequest {
  /// The request target as sent: path and query ("/cgi/version.pl?version&prg=...").
  std::string_view Target;
  /// The client's address (from X-Forwarded-For when the connection comes from a trusted proxy).
  std::string ClientAddress;
};

/// Answers one request; may wait (on a database, say), so the HTTP layer calls it on its waiting
/// threads when it has a quick handler too, else on the threads that serve the connections.
using THttpHandler = std::function<TServiceReply(const THttpRequest&)>;

/// Answers one request when it can without waiting on anything; nothing to have the handler
/// answer it on a waiting thread. Called on the threads that serve the connections.
using THttpQuickHandler = std::function<std::optional<TServiceReply>(const THttpRequest&)>;

/// Takes a request the quick handler could not answer when it can be answered later without a
/// waiting thread: true, and the callback gets the answer (from any thread); false to have the
/// handler answer it on a waiting thread. Called on the threads that serve the connections.
using THttpLaterHandler =
    std::function<bool(const THttpRequest&, std::function<void(TServiceReply)>)>;

}  // namespace server
