#pragma once
// Test support: a port on 127.0.0.1 that takes connections and never answers.

#include <string>

namespace onlinetest {

/// A listening socket that nobody serves: connections complete, requests wait for ever.
class TSilentServer {
 public:
  /// Listens on a free port of 127.0.0.1.
  TSilentServer();
  ~TSilentServer();
  TSilentServer(const TSilentServer&) = delete;
  TSilentServer& operator=(const TSilentServer&) = delete;

  /// "http://127.0.0.1:PORT".
  std::string Address() const;
  /// Whether a connection is waiting (takes it off the queue).
  bool WasContacted();

 private:
  int Socket_ = -1;
  int Port_ = 0;
};

/// The address of a port of 127.0.0.1 where nothing listens (connections are refused).
std::string ClosedPortAddress();

}  // namespace onlinetest
