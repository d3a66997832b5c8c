#include "HttpClient.h"

#include <curl/curl.h>

namespace platform {

namespace {

struct TReplyBuffer {
  std::string Body;
  bool TooLong = false;
};

size_t AppendReply(char* data, size_t size, size_t count, void* userData) {
  auto* reply = static_cast<TReplyBuffer*>(userData);
  const size_t bytes = size * count;
  if (reply->Body.size() + bytes > THttpClient::kMaxReplyBytes) {
    reply->TooLong = true;
    return 0;  // ends the transfer with a write error
  }
  reply->Body.append(data, bytes);
  return bytes;
}

}  // namespace

THttpClient::THttpClient(long connectTimeoutMs, long totalTimeoutMs)
    : ConnectTimeoutMs_(connectTimeoutMs), TotalTimeoutMs_(totalTimeoutMs) {}

THttpClient::~THttpClient() {
  if (Handle_) curl_easy_cleanup(static_cast<CURL*>(Handle_));
  curl_slist_free_all(static_cast<curl_slist*>(Headers_));
}

// The HTTP library and its TLS library are set up by the first request, not when the game
// starts: most sessions never send a score, and setting them up costs about 3 MB.
bool THttpClient::Open() {
  if (Handle_) return true;
  Handle_ = curl_easy_init();
  if (!Handle_) return false;
  curl_easy_setopt(static_cast<CURL*>(Handle_), CURLOPT_COOKIEFILE, "");
  Headers_ = curl_slist_append(curl_slist_append(nullptr, "Content-Type: text/html"),
                               "Accept: text/html, */*");
  return true;
}

std::string THttpClient::Get(const std::string& url) {
  if (!Open()) return {};
  auto* curl = static_cast<CURL*>(Handle_);
  TReplyBuffer reply;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, ConnectTimeoutMs_);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, TotalTimeoutMs_);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(Headers_));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendReply);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
  const CURLcode result = curl_easy_perform(curl);
  if (result != CURLE_OK || reply.TooLong) return {};
  return reply.Body;
}

}  // namespace platform
