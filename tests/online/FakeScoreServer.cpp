#include "FakeScoreServer.h"

#include <chrono>
#include <stdexcept>
#include <utility>

namespace onlinetest {

TFakeScoreServer::TFakeScoreServer(std::string handshakeReply, int handshakeStatus,
                                   int submissionStatus)
    : HandshakeReply_(std::move(handshakeReply)),
      HandshakeStatus_(handshakeStatus),
      SubmissionStatus_(submissionStatus) {
  Http_.new_task_queue = [] { return new httplib::ThreadPool(2); };
  Http_.Get(
      "/cgi/version.pl", [this](const httplib::Request& request, httplib::Response& response) {
        const std::lock_guard lock(Mutex_);
        const size_t mark = request.target.find('?');
        const std::string query = mark == std::string::npos ? "" : request.target.substr(mark + 1);
        Queries_.push_back(query);
        LastHeaders_ = request.headers;
        const bool handshake = query.rfind("version", 0) == 0;
        response.status = handshake ? HandshakeStatus_ : SubmissionStatus_;
        response.set_content(handshake ? HandshakeReply_ : "OK", "text/plain");
      });
  Http_.Get("/echo", [this](const httplib::Request& request, httplib::Response& response) {
    const std::lock_guard lock(Mutex_);
    LastHeaders_ = request.headers;
    response.status = EchoStatus_;
    response.set_content(EchoBody_, "text/plain");
  });
  Port_ = Http_.bind_to_any_port("127.0.0.1");
  if (Port_ <= 0) throw std::runtime_error("fake score server cannot listen");
  Thread_ = std::thread([this] { Http_.listen_after_bind(); });
  // stop() only works once the loop runs.
  while (!Http_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TFakeScoreServer::~TFakeScoreServer() {
  Http_.stop();
  Thread_.join();
}

std::string TFakeScoreServer::Address() const {
  return "http://127.0.0.1:" + std::to_string(Port_);
}

std::vector<std::string> TFakeScoreServer::Queries() {
  const std::lock_guard lock(Mutex_);
  return Queries_;
}

httplib::Headers TFakeScoreServer::LastHeaders() {
  const std::lock_guard lock(Mutex_);
  return LastHeaders_;
}

void TFakeScoreServer::SetEcho(std::string body, int status) {
  const std::lock_guard lock(Mutex_);
  EchoBody_ = std::move(body);
  EchoStatus_ = status;
}

}  // namespace onlinetest
