#include "HttpClient.h"

#include "CurlLibrary.h"

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
  if (!Curl_) return;
  if (Handle_) Curl_->EasyCleanup(static_cast<CURL*>(Handle_));
  Curl_->SlistFreeAll(static_cast<curl_slist*>(Headers_));
}

// The HTTP library and its TLS library are loaded by the first request, not when the game
// starts: most sessions never send a score, and loading them costs about 5 MB.
bool THttpClient::Open() {
  if (Handle_) return true;
  if (!Curl_) Curl_ = std::make_unique<TCurlLibrary>();
  if (!Curl_->Loaded()) return false;
  Handle_ = Curl_->EasyInit();
  if (!Handle_) return false;
  Curl_->EasySetopt(static_cast<CURL*>(Handle_), CURLOPT_COOKIEFILE, "");
  Headers_ = Curl_->SlistAppend(Curl_->SlistAppend(nullptr, "Content-Type: text/html"),
                                "Accept: text/html, */*");
  return true;
}

std::string THttpClient::Get(const std::string& url) {
  LastRefused_ = false;
  if (!Open()) return {};
  auto* curl = static_cast<CURL*>(Handle_);
  const auto set = Curl_->EasySetopt;
  TReplyBuffer reply;
  set(curl, CURLOPT_URL, url.c_str());
  set(curl, CURLOPT_HTTPGET, 1L);
  set(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  set(curl, CURLOPT_PROXY, "");
  set(curl, CURLOPT_NOSIGNAL, 1L);
  set(curl, CURLOPT_FAILONERROR, 1L);
  set(curl, CURLOPT_CONNECTTIMEOUT_MS, ConnectTimeoutMs_);
  set(curl, CURLOPT_TIMEOUT_MS, TotalTimeoutMs_);
  set(curl, CURLOPT_USERAGENT, kUserAgent);
  set(curl, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(Headers_));
  set(curl, CURLOPT_WRITEFUNCTION, AppendReply);
  set(curl, CURLOPT_WRITEDATA, &reply);
  const CURLcode result = Curl_->EasyPerform(curl);
  LastRefused_ = result == CURLE_HTTP_RETURNED_ERROR;
  if (result != CURLE_OK || reply.TooLong) return {};
  return reply.Body;
}

}  // namespace platform
