#pragma once
// The limits every HTTP connection of the score service lives under.

#include <chrono>
#include <cstddef>

namespace server {

/// What one connection may cost: header size, time and the number of connections. A connection
/// that breaks a limit is answered (when it sent a request) and closed.
struct THttpLimits {
  /// Request line and header fields together, in bytes.
  static constexpr std::size_t kMaxHeaderBytes = 8192;
  /// Header fields of one request.
  static constexpr std::size_t kMaxHeaderLines = 64;
  /// Time for a whole request, from its first byte until its reply is written.
  static constexpr std::chrono::seconds kRequestDeadline{10};
  /// Time a kept-alive connection may wait for its next request.
  static constexpr std::chrono::seconds kIdleTimeout{30};

  /// Open connections in all; past it new connections are closed at once.
  int MaxConnections = 4096;
  /// Open connections from one client address (a trusted proxy is not counted).
  int MaxConnectionsPerAddress = 32;
};

}  // namespace server
