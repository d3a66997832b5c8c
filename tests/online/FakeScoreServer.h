#pragma once
// Test support: a score service on 127.0.0.1 that gives whatever handshake reply a test wants.

#include <httplib.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace onlinetest {

/// Answers "/cgi/version.pl" in its own thread: the handshake with the set reply and status,
/// any other query with "OK"; remembers every query and the request headers of the last one.
class TFakeScoreServer {
 public:
  /// Starts listening on a free port of 127.0.0.1.
  /// Answers handshakes with the reply and status, submissions with "OK" and the status.
  TFakeScoreServer(std::string handshakeReply, int handshakeStatus = 200,
                   int submissionStatus = 200);
  ~TFakeScoreServer();
  TFakeScoreServer(const TFakeScoreServer&) = delete;
  TFakeScoreServer& operator=(const TFakeScoreServer&) = delete;

  /// "http://127.0.0.1:PORT".
  std::string Address() const;
  /// Every query received, in order.
  std::vector<std::string> Queries();
  /// The request headers of the last request.
  httplib::Headers LastHeaders();

  /// Also serves "/echo" with the given body and status, for tests of the HTTP client itself.
  void SetEcho(std::string body, int status);

 private:
  httplib::Server Http_;
  int Port_ = 0;
  std::thread Thread_;
  std::mutex Mutex_;
  std::string HandshakeReply_;
  int HandshakeStatus_;
  int SubmissionStatus_;
  std::string EchoBody_;
  int EchoStatus_ = 200;
  std::vector<std::string> Queries_;
  httplib::Headers LastHeaders_;
};

}  // namespace onlinetest
