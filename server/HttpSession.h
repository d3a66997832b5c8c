#pragma once
// One client connection of the score service's HTTP layer.

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/thread_pool.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>
#include <memory>
#include <optional>
#include <string>

#include "ConnectionCounter.h"
#include "HttpRequest.h"
#include "ServerLog.h"

namespace server {

/// The settings every session of one server shares.
struct THttpSessionContext {
  THttpHandler Handler;
  /// Answers what needs no waiting; when set, everything else goes to the handler on Waiting.
  THttpQuickHandler Quick;
  /// Takes, when set, what the quick handler could not answer, before the waiting threads do.
  THttpLaterHandler Later;
  /// The threads the handler may wait on (set by the server).
  boost::asio::thread_pool* Waiting = nullptr;
  TServerLog* Log = nullptr;
  /// The address whose X-Forwarded-For header is believed; empty for none.
  std::string TrustedProxy;
};

/// Reads requests one after the other from a connection and writes their replies in the same
/// order (pipelined requests wait in the buffer). Waiting costs no thread: every step is an
/// asynchronous operation with a deadline. Refuses everything but bodiless GET requests and
/// closes the connection after any refusal of the request's form.
class THttpSession : public std::enable_shared_from_this<THttpSession> {
 public:
  /// A session over an accepted socket, holding its place in the connection counter.
  THttpSession(boost::asio::ip::tcp::socket socket, std::string peer,
               std::unique_ptr<TConnectionCounter::TTicket> ticket,
               const THttpSessionContext& context);

  /// Starts waiting for the first request.
  void Start();

 private:
  void WaitForRequest();
  void ReadHeader();
  void OnHeader(boost::beast::error_code error, std::size_t headerBytes);
  void Answer();
  std::optional<TServiceReply> Call(const THttpRequest& request, bool mayWait);
  bool TakenLater(const THttpRequest& request, bool close, const std::string& line);
  void RefuseBrokenHeader(boost::beast::error_code error);
  void Send(TServiceReply reply, bool close, std::string_view requestLine);
  void OnSent(bool close, boost::beast::error_code error);
  void Close();
  std::string ClientAddress() const;

  boost::beast::tcp_stream Stream_;
  std::string Peer_;
  std::unique_ptr<TConnectionCounter::TTicket> Ticket_;
  const THttpSessionContext& Context_;
  boost::beast::flat_buffer Buffer_;
  std::optional<boost::beast::http::request_parser<boost::beast::http::empty_body>> Parser_;
  boost::beast::http::response<boost::beast::http::string_body> Response_;
  std::size_t LingerBytes_ = 0;
};

}  // namespace server
