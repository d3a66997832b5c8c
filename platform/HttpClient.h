#pragma once
// Plain HTTP GET requests for the online scores, with fixed request headers and time limits.

#include <cstddef>
#include <memory>
#include <string>

namespace platform {

class TCurlLibrary;

/// An HTTP client that keeps its cookies between requests. Every request has a connect time
/// limit and a total time limit, so a silent server never holds the caller for long.
class THttpClient {
 public:
  /// The user agent sent with every request.
  static constexpr const char* kUserAgent = "Mozilla/3.0 (compatible; CometLaneDerby)";
  /// Replies longer than this are treated as failed requests.
  static constexpr std::size_t kMaxReplyBytes = 64 * 1024;

  /// A client with the given time limits in milliseconds.
  explicit THttpClient(long connectTimeoutMs = 3000, long totalTimeoutMs = 8000);
  ~THttpClient();
  THttpClient(const THttpClient&) = delete;
  THttpClient& operator=(const THttpClient&) = delete;

  /// GETs the address and returns the reply body; empty on any failure (no connection, time-out,
  /// an HTTP error status, a reply that is too long).
  std::string Get(const std::string& url);

  /// Whether the last Get reached the server and it answered with an error status (4xx, 5xx),
  /// telling a refusal apart from no answer at all.
  bool LastRefused() const { return LastRefused_; }

 private:
  bool Open();

  std::unique_ptr<TCurlLibrary> Curl_;
  void* Handle_ = nullptr;
  void* Headers_ = nullptr;
  long ConnectTimeoutMs_;
  long TotalTimeoutMs_;
  bool LastRefused_ = false;
};

}  // namespace platform
