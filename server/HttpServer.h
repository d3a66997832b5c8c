#pragma once
// The score service's HTTP/1.1 server: event-driven, a few threads, every connection bounded.

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <string>

#include "ConnectionCounter.h"
#include "HttpLimits.h"
#include "HttpSession.h"

namespace server {

/// Listens on one address and port and runs every connection as a THttpSession on a small pool
/// of threads. Connections past the limits are closed as soon as they are accepted. SIGINT and
/// SIGTERM stop it: the listening socket closes and open connections are dropped.
class THttpServer {
 public:
  /// Binds and listens at once (port 0 picks a free one); throws std::runtime_error when it
  /// cannot. Catches SIGINT and SIGTERM from here on.
  THttpServer(const std::string& bind, int port, int threads, const THttpLimits& limits,
              THttpSessionContext context);

  /// The port it listens on.
  int Port() const { return Port_; }

  /// Answers connections until a stop signal.
  void Run();

 private:
  void Accept();
  void OnAccept(boost::beast::error_code error, boost::asio::ip::tcp::socket socket);

  TConnectionCounter Counter_;
  THttpSessionContext Context_;
  THttpLimits Limits_;
  int Threads_;
  int Port_ = 0;
  // Declared after what the sessions refer to: destroying the context destroys the sessions.
  boost::asio::io_context Io_;
  boost::asio::ip::tcp::acceptor Acceptor_;
  boost::asio::signal_set Signals_;
  boost::asio::steady_timer RetryTimer_;
};

}  // namespace server
