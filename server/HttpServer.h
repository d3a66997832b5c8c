#pragma once
// The score service's HTTP/1.1 server: event-driven, a few threads, every connection bounded.

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/asio/thread_pool.hpp>
#include <string>

#include "ConnectionCounter.h"
#include "HttpLimits.h"
#include "HttpSession.h"

namespace server {

/// Listens on one address and port and runs every connection as a THttpSession on a small pool
/// of threads; requests the context's quick handler cannot answer wait for the handler on a
/// second pool, so that those threads never wait. Connections past the limits are closed as
/// soon as they are accepted. SIGINT and SIGTERM stop it: the listening socket closes, open
/// connections are dropped and requests still queued for the second pool are not answered.
class THttpServer {
 public:
  /// Binds and listens at once (port 0 picks a free one); throws std::runtime_error when it
  /// cannot. Catches SIGINT and SIGTERM from here on. The threads serve the connections; the
  /// waiting threads run the context's handler when the context has a quick handler.
  THttpServer(const std::string& bind, int port, int threads, int waitingThreads,
              const THttpLimits& limits, THttpSessionContext context);

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
  /// The acceptor, the stop signals and the retry timer complete on this one strand: a stop
  /// closes the acceptor while connections are being accepted on another thread.
  boost::asio::strand<boost::asio::io_context::executor_type> ListenStrand_;
  boost::asio::ip::tcp::acceptor Acceptor_;
  boost::asio::signal_set Signals_;
  boost::asio::steady_timer RetryTimer_;
  // Stopped and joined before the context goes, so no waiting request outlives its session's
  // socket.
  boost::asio::thread_pool Waiting_;
};

}  // namespace server
