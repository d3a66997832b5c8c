#include "ServiceRequests.h"

#include <httplib.h>

#include "online/ScoreSubmission.h"
#include "online/TextCodec.h"

namespace servertest {

std::pair<int, std::string> Get(int port, const std::string& query,
                                const std::string& forwardedFor) {
  httplib::Client http("127.0.0.1", port);
  http.set_read_timeout(5);
  httplib::Headers headers;
  if (!forwardedFor.empty()) headers.emplace("X-Forwarded-For", forwardedFor);
  const auto result = http.Get("/cgi/version.pl?" + query, headers);
  if (!result) return {-1, ""};
  return {result->status, result->body};
}

std::string TokenFrom(int port) {
  return online::HandshakeToken(Get(port, std::string(online::kHandshakeQuery)).second);
}

int SubmitWith(int port, const std::string& token, const std::string& name, int64_t score) {
  return Get(port, std::string(online::kSubmissionQueryPrefix) +
                       online::EncodeText(online::PlainSubmissionText(name, score, token, "")))
      .first;
}

int Submit(int port, const std::string& name, int64_t score) {
  return SubmitWith(port, TokenFrom(port), name, score);
}

std::string Page(int port) {
  return Get(port, std::string(online::kScorePageQuery)).second;
}

}  // namespace servertest
