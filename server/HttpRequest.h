#pragma once
// What the HTTP layer hands to the score service for one request.

#include <functional>
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

/// Answers one request; called on the HTTP layer's threads.
using THttpHandler = std::function<TServiceReply(const THttpRequest&)>;

}  // namespace server
