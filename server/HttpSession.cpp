#include "HttpSession.h"

#include <boost/asio/dispatch.hpp>
#include <boost/asio/post.hpp>
#include <boost/beast/core/error.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>
#include <chrono>
#include <exception>
#include <iterator>
#include <utility>

#include "HttpLimits.h"

namespace server {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

namespace {

// Bytes read at once while waiting for a request.
constexpr std::size_t kReadChunk = 4096;
// How long a closing connection's unread input is drained, so that the reply is not lost to a
// reset, and how much of it.
constexpr std::chrono::seconds kLingerTime{2};
constexpr std::size_t kLingerBytes = 64 * 1024;

// Beast's string views as the standard library's.
std::string_view View(boost::beast::string_view text) {
  return {text.data(), text.size()};
}

TServiceReply Refusal(int status, const char* reason) {
  return {status, "text/plain; charset=utf-8", std::string("ERROR|") + reason};
}

std::string RequestLine(const http::request<http::empty_body>& request) {
  const unsigned version = request.version();
  return std::string(View(request.method_string())) + " " + std::string(View(request.target())) +
         " HTTP/" + std::to_string(version / 10) + "." + std::to_string(version % 10);
}

}  // namespace

THttpSession::THttpSession(asio::ip::tcp::socket socket, std::string peer,
                           std::unique_ptr<TConnectionCounter::TTicket> ticket,
                           const THttpSessionContext& context)
    : Stream_(std::move(socket)),
      Peer_(std::move(peer)),
      Ticket_(std::move(ticket)),
      Context_(context),
      Buffer_(2 * THttpLimits::kMaxHeaderBytes) {}

void THttpSession::Start() {
  asio::dispatch(Stream_.get_executor(), [self = shared_from_this()] { self->WaitForRequest(); });
}

void THttpSession::WaitForRequest() {
  if (Buffer_.size() > 0) {
    ReadHeader();
    return;
  }
  Stream_.expires_after(THttpLimits::kIdleTimeout);
  Stream_.async_read_some(Buffer_.prepare(kReadChunk),
                          [self = shared_from_this()](beast::error_code error, std::size_t bytes) {
                            // An idle connection that timed out or a client that left.
                            if (error) return self->Stream_.close();
                            self->Buffer_.commit(bytes);
                            self->ReadHeader();
                          });
}

void THttpSession::ReadHeader() {
  // The deadline runs from the request's first byte, which is in the buffer now.
  Stream_.expires_after(THttpLimits::kRequestDeadline);
  Parser_.emplace();
  Parser_->header_limit(static_cast<std::uint32_t>(THttpLimits::kMaxHeaderBytes));
  http::async_read_header(Stream_, Buffer_, *Parser_,
                          [self = shared_from_this()](beast::error_code error, std::size_t bytes) {
                            self->OnHeader(error, bytes);
                          });
}

void THttpSession::OnHeader(beast::error_code error, std::size_t headerBytes) {
  if (error == beast::error::timeout) {
    Context_.Log->Error("request deadline passed, closing the connection of " + Peer_);
    return Stream_.close();
  }
  if (error == http::error::end_of_stream || error == asio::error::eof ||
      error == asio::error::connection_reset || error == asio::error::operation_aborted) {
    return Stream_.close();
  }
  if (error) return RefuseBrokenHeader(error);
  // The parser bounds the request line and the fields each; together they must fit too.
  if (headerBytes > THttpLimits::kMaxHeaderBytes) {
    return RefuseBrokenHeader(http::error::header_limit);
  }
  Answer();
}

void THttpSession::RefuseBrokenHeader(beast::error_code error) {
  if (error == http::error::header_limit) {
    // The parser fills in the target once the request line is complete.
    const bool lineTooLong = Parser_->get().target().empty();
    Context_.Log->Error(std::string(lineTooLong ? "request line" : "header") +
                        " over the size limit from " + Peer_);
    Send(lineTooLong ? Refusal(414, "request line too long")
                     : Refusal(431, "header fields too large"),
         true, "-");
    return;
  }
  if (error == http::error::body_limit) {
    Context_.Log->Error("request with a body refused from " + Peer_);
    return Send(Refusal(413, "requests carry no body"), true, "-");
  }
  Send(Refusal(400, "malformed request"), true, "-");
}

void THttpSession::Answer() {
  const auto& request = Parser_->get();
  const std::string line = RequestLine(request);
  if (request.method() != http::verb::get) {
    return Send(Refusal(405, "only GET is answered"), true, line);
  }
  const auto length = Parser_->content_length();
  if (Parser_->chunked() || (length && *length > 0)) {
    Context_.Log->Error("request with a body refused from " + Peer_);
    return Send(Refusal(413, "requests carry no body"), true, line);
  }
  if (static_cast<std::size_t>(std::distance(request.begin(), request.end())) >
      THttpLimits::kMaxHeaderLines) {
    Context_.Log->Error("too many header fields from " + Peer_);
    return Send(Refusal(431, "too many header fields"), true, line);
  }
  const THttpRequest call{View(request.target()), ClientAddress()};
  const bool close = !request.keep_alive();
  const bool mayWait = !Context_.Quick || !Context_.Waiting;
  auto reply = Call(call, mayWait);
  if (reply) return Send(std::move(*reply), close, line);
  if (TakenLater(call, close, line)) return;
  // The request's target lives in the parser, which stays untouched until the reply is sent:
  // the session reads nothing more meanwhile.
  asio::post(*Context_.Waiting, [self = shared_from_this(), call, close, line]() {
    auto slowReply = self->Call(call, true);
    asio::post(self->Stream_.get_executor(),
               [self, reply = std::move(*slowReply), close, line]() mutable {
                 self->Send(std::move(reply), close, line);
               });
  });
}

bool THttpSession::TakenLater(const THttpRequest& request, bool close, const std::string& line) {
  if (!Context_.Later) return false;
  try {
    return Context_.Later(request, [self = shared_from_this(), close, line](TServiceReply reply) {
      asio::post(self->Stream_.get_executor(),
                 [self, reply = std::move(reply), close, line]() mutable {
                   self->Send(std::move(reply), close, line);
                 });
    });
  } catch (const std::exception& e) {
    Context_.Log->Error(std::string("request from ") + Peer_ + " failed: " + e.what());
    Send(Refusal(500, "internal error"), close, line);
    return true;
  }
}

std::optional<TServiceReply> THttpSession::Call(const THttpRequest& request, bool mayWait) {
  try {
    if (mayWait) return Context_.Handler(request);
    return Context_.Quick(request);
  } catch (const std::exception& e) {
    // Nothing a request does may end the process: it gets a 500 and the reason is logged.
    Context_.Log->Error(std::string("request from ") + Peer_ + " failed: " + e.what());
    return Refusal(500, "internal error");
  }
}

void THttpSession::Send(TServiceReply reply, bool close, std::string_view requestLine) {
  Context_.Log->Access(ClientAddress(), requestLine, reply.Status, reply.Body.size());
  const bool parsed = Parser_ && Parser_->is_header_done();
  Response_ = {};
  Response_.version(parsed ? Parser_->get().version() : 11);
  Response_.result(static_cast<unsigned>(reply.Status));
  Response_.set(http::field::content_type, reply.ContentType);
  if (reply.Status == 405) Response_.set(http::field::allow, "GET");
  Response_.body() = std::move(reply.Body);
  Response_.keep_alive(!close);
  Response_.prepare_payload();
  http::async_write(Stream_, Response_,
                    [self = shared_from_this(), close](beast::error_code error, std::size_t) {
                      self->OnSent(close, error);
                    });
}

void THttpSession::OnSent(bool close, beast::error_code error) {
  if (error) return Stream_.close();
  if (close) return Close();
  Parser_.reset();
  WaitForRequest();
}

void THttpSession::Close() {
  beast::error_code ignored;
  Stream_.socket().shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
  // Input the client sent after the refused request (a body, more requests) is read and dropped
  // for a moment: closing with unread input would reset the connection and could destroy the
  // reply before the client read it.
  Buffer_.clear();
  Stream_.expires_after(kLingerTime);
  Stream_.async_read_some(
      Buffer_.prepare(kReadChunk),
      [self = shared_from_this()](beast::error_code drainError, std::size_t bytes) {
        self->Buffer_.clear();
        self->LingerBytes_ += bytes;
        if (drainError || self->LingerBytes_ > kLingerBytes) {
          return self->Stream_.close();
        }
        self->Close();
      });
}

std::string THttpSession::ClientAddress() const {
  if (Context_.TrustedProxy.empty() || Peer_ != Context_.TrustedProxy || !Parser_ ||
      !Parser_->is_header_done()) {
    return Peer_;
  }
  const auto& request = Parser_->get();
  const auto forwarded = request.find("X-Forwarded-For");
  if (forwarded == request.end()) return Peer_;
  // The last entry is the one the proxy added; earlier ones come from the client unchecked.
  std::string_view list = View(forwarded->value());
  const size_t comma = list.rfind(',');
  if (comma != std::string_view::npos) list.remove_prefix(comma + 1);
  while (!list.empty() && list.front() == ' ') list.remove_prefix(1);
  while (!list.empty() && list.back() == ' ') list.remove_suffix(1);
  beast::error_code error;
  const auto address = asio::ip::make_address(std::string(list), error);
  return error ? Peer_ : address.to_string();
}

}  // namespace server
