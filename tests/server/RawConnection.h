#pragma once
// Test support: a plain TCP connection to 127.0.0.1 for sending exactly the bytes a test wants.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace servertest {

/// One client socket. Sends and reads raw bytes with time limits; never throws on a closed or
/// reset connection, which is what many tests wait for.
class TRawConnection {
 public:
  /// Connects to the port of 127.0.0.1; throws when the connection is refused.
  explicit TRawConnection(int port);
  ~TRawConnection();
  TRawConnection(const TRawConnection&) = delete;
  TRawConnection& operator=(const TRawConnection&) = delete;

  /// Sends the bytes; false when the peer closed or reset the connection.
  bool Send(std::string_view bytes);
  /// Everything that arrives until the peer closes or the time runs out.
  std::string ReadUntilClosed(std::chrono::milliseconds limit);
  /// What arrives until the text holds `count` complete replies (or closes, or time runs out).
  std::string ReadReplies(int count, std::chrono::milliseconds limit);
  /// True when the peer closed (or reset) the connection within the time.
  bool ClosedWithin(std::chrono::milliseconds limit);

 private:
  /// What arrives while `more` says the text so far wants more (until close or time-out).
  std::string ReadWhile(std::chrono::milliseconds limit,
                        const std::function<bool(const std::string&)>& more);

  int Socket_ = -1;
  bool Closed_ = false;
};

/// How many complete HTTP replies (status line, headers, Content-Length bytes) the text holds.
int CountReplies(std::string_view text);

/// The resident memory of a process in kilobytes, from /proc.
long ResidentKilobytes(int pid);

}  // namespace servertest
