#pragma once
// The score service's access log (Common Log Format) and error log.

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace server {

/// Writes one access-log line per answered request and one error line per problem. Lines are
/// written whole and flushed, so several threads and a killed process leave readable logs. Safe
/// to use from several threads.
class TServerLog {
 public:
  /// Access lines go to the file (standard output when empty), errors to standard error; throws
  /// std::runtime_error when the file cannot be opened.
  explicit TServerLog(const std::string& accessFile = "");
  ~TServerLog();
  TServerLog(const TServerLog&) = delete;
  TServerLog& operator=(const TServerLog&) = delete;

  /// One Common Log Format line: address, time, request line (submission texts, which carry a
  /// token, are left out), status and body size.
  void Access(std::string_view address, std::string_view requestLine, int status,
              std::size_t bodyBytes);

  /// One error line: "comet-score-server: " and the message.
  void Error(std::string_view message);

  /// The request line as logged: the value of an "inf" parameter is replaced by "-".
  static std::string Redacted(std::string_view requestLine);

 private:
  std::mutex Mutex_;
  std::FILE* Access_ = nullptr;
  bool OwnsAccess_ = false;
};

}  // namespace server
