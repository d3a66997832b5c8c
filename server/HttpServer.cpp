#include "HttpServer.h"

#include <boost/asio/strand.hpp>
#include <chrono>
#include <csignal>
#include <memory>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace server {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

namespace {

// Pause before accepting again after a failed accept (out of file descriptors, say).
constexpr std::chrono::milliseconds kAcceptRetry{100};

}  // namespace

THttpServer::THttpServer(const std::string& bind, int port, int threads, int waitingThreads,
                         const THttpLimits& limits, THttpSessionContext context)
    : Counter_(limits.MaxConnections, limits.MaxConnectionsPerAddress, context.TrustedProxy),
      Context_(std::move(context)),
      Limits_(limits),
      Threads_(threads),
      Io_(threads),
      ListenStrand_(boost::asio::make_strand(Io_)),
      Acceptor_(ListenStrand_),
      Signals_(ListenStrand_, SIGINT, SIGTERM),
      RetryTimer_(ListenStrand_),
      Waiting_(static_cast<std::size_t>(waitingThreads)) {
  Context_.Waiting = &Waiting_;
  boost::beast::error_code error;
  const auto address = asio::ip::make_address(bind, error);
  if (error) throw std::runtime_error("cannot listen on " + bind + ": not an IP address");
  const tcp::endpoint endpoint(address, static_cast<unsigned short>(port));
  const auto check = [&](const char* step) {
    if (error) {
      throw std::runtime_error("cannot listen on " + bind + ":" + std::to_string(port) + " (" +
                               step + "): " + error.message());
    }
  };
  Acceptor_.open(endpoint.protocol(), error);
  check("socket");
  Acceptor_.set_option(asio::socket_base::reuse_address(true), error);
  Acceptor_.bind(endpoint, error);
  check("bind");
  Acceptor_.listen(asio::socket_base::max_listen_connections, error);
  check("listen");
  Port_ = Acceptor_.local_endpoint().port();
}

void THttpServer::Run() {
  Signals_.async_wait([this](boost::beast::error_code, int) {
    boost::beast::error_code ignored;
    Acceptor_.close(ignored);
    Io_.stop();
  });
  Accept();
  std::vector<std::thread> workers;
  for (int i = 1; i < Threads_; ++i) workers.emplace_back([this] { Io_.run(); });
  Io_.run();
  for (auto& worker : workers) worker.join();
  // Requests waiting on the handler right now finish; queued ones are dropped with their
  // sessions.
  Waiting_.stop();
  Waiting_.join();
}

void THttpServer::Accept() {
  Acceptor_.async_accept(asio::make_strand(Io_),
                         [this](boost::beast::error_code error, tcp::socket socket) {
                           OnAccept(error, std::move(socket));
                         });
}

void THttpServer::OnAccept(boost::beast::error_code error, tcp::socket socket) {
  if (error == asio::error::operation_aborted || !Acceptor_.is_open()) return;
  if (error) {
    Context_.Log->Error("cannot accept a connection: " + error.message());
    RetryTimer_.expires_after(kAcceptRetry);
    RetryTimer_.async_wait([this](boost::beast::error_code) { Accept(); });
    return;
  }
  boost::beast::error_code ignored;
  const auto peer = socket.remote_endpoint(ignored).address();
  const std::string address =
      peer.is_v6() && peer.to_v6().is_v4_mapped()
          ? asio::ip::make_address_v4(asio::ip::v4_mapped, peer.to_v6()).to_string()
          : peer.to_string();
  TConnectionCounter::TRefusal refusal = TConnectionCounter::TRefusal::kNone;
  auto ticket = Counter_.TryOpen(address, refusal);
  if (!ticket) {
    Context_.Log->Error(refusal == TConnectionCounter::TRefusal::kTotal
                            ? "connection limit of " + std::to_string(Limits_.MaxConnections) +
                                  " reached, closing a new connection from " + address
                            : "connection limit of " +
                                  std::to_string(Limits_.MaxConnectionsPerAddress) +
                                  " per address reached by " + address);
    socket.close(ignored);
  } else {
    socket.set_option(tcp::no_delay(true), ignored);
    std::make_shared<THttpSession>(std::move(socket), address, std::move(ticket), Context_)
        ->Start();
  }
  Accept();
}

}  // namespace server
