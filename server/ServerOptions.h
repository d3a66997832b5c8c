#pragma once
// The command line of comet-score-server.

#include <optional>
#include <string>
#include <vector>

namespace server {

/// Where the score service listens and keeps its scores.
struct TServerOptions {
  /// The TCP port; 0 picks a free one.
  int Port = -1;
  /// The scores' database: an SQLite file or a "postgresql://" address.
  std::string Database;
  /// The address to listen on.
  std::string Bind = "127.0.0.1";
  /// Threads answering requests; waiting connections hold none.
  int Threads = 4;
  /// Database connections kept, each with a thread waiting on it (0: one per core).
  int DatabaseConnections = 0;
  /// Open connections in all, and from one client address.
  int MaxConnections = 4096;
  int MaxConnectionsPerAddress = 32;
  /// The access log's file; empty for standard output.
  std::string AccessLog;
  /// The proxy whose X-Forwarded-For header names the client; empty for none.
  std::string TrustProxy;
  /// Handshakes and submissions one client address may make a minute (0: no limit).
  int HandshakeRate = 10;
  int SubmitRate = 10;
  /// The file holding the token secret; empty to use the secret kept in the database.
  std::string SecretFile;
  /// When not empty, the port actually used is written to this file once the service listens.
  std::string PortFile;
  /// Only print the usage.
  bool Help = false;

  /// The usage text.
  static const char* Usage();

  /// Reads the arguments after the program name; on a mistake, nothing and the reason in error.
  static std::optional<TServerOptions> Parse(const std::vector<std::string>& args,
                                             std::string& error);
};

}  // namespace server
