// comet-score-server: the score service the game's handshake, submission and score page talk to.

#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <exception>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ScoreDatabase.h"
#include "ScoreQuery.h"
#include "ScoreService.h"
#include "ServerOptions.h"
#include "TokenStore.h"
#include "online/ScoreSubmission.h"

namespace {

// Stops the server on SIGINT or SIGTERM, waited for on a thread of its own. A signal that comes
// before the server listens waits for it to listen (stopping it earlier would do nothing), unless
// listening has already ended.
std::thread StopOnSignal(httplib::Server& http, const sigset_t& signals,
                         const std::atomic<bool>& listenDone) {
  return std::thread([&http, &listenDone, signals] {
    int signal = 0;
    sigwait(&signals, &signal);
    while (!http.is_running() && !listenDone) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    http.stop();
  });
}

// Hands the raw query of a request to the service and writes its answer back.
void Answer(server::TScoreService& service, const httplib::Request& request,
            httplib::Response& response) {
  const size_t mark = request.target.find('?');
  const std::string query = mark == std::string::npos ? "" : request.target.substr(mark + 1);
  const auto now = std::chrono::system_clock::now();
  const server::TServiceReply reply = service.Handle(
      query, server::TTokenStore::TClock::now(),
      std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count());
  response.status = reply.Status;
  response.set_content(reply.Body, reply.ContentType.c_str());
}

// Worker threads, limits, time-outs and the one route of the service.
void Configure(httplib::Server& http, server::TScoreService& service, int threads) {
  http.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
  http.set_payload_max_length(server::TScoreQuery::kMaxLength);
  http.set_read_timeout(5);
  http.set_write_timeout(5);
  http.set_keep_alive_max_count(1000);
  // Headers and body go out in separate writes: without TCP_NODELAY every reply would wait for
  // the client's delayed acknowledgement.
  http.set_socket_options([](socket_t socket) {
    httplib::default_socket_options(socket);
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  });
  http.Get(std::string(online::kScorePath),
           [&service](const httplib::Request& request, httplib::Response& response) {
             Answer(service, request, response);
           });
}

// Runs the service until a stop signal; returns the exit code.
int Serve(const server::TServerOptions& options) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  server::TScoreDatabase database(options.Database);
  server::TTokenStore tokens;
  server::TScoreService service(database, tokens);
  httplib::Server http;
  Configure(http, service, options.Threads);
  const int port = options.Port == 0
                       ? http.bind_to_any_port(options.Bind)
                       : (http.bind_to_port(options.Bind, options.Port) ? options.Port : -1);
  if (port <= 0) {
    std::fprintf(stderr, "comet-score-server: cannot listen on %s:%d\n", options.Bind.c_str(),
                 options.Port);
    return 1;
  }
  if (!options.PortFile.empty()) std::ofstream(options.PortFile) << port << '\n';
  std::printf("comet-score-server listening on http://%s:%d\n", options.Bind.c_str(), port);
  std::fflush(stdout);
  std::atomic<bool> listenDone = false;
  std::thread stopper = StopOnSignal(http, signals, listenDone);
  http.listen_after_bind();
  listenDone = true;
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options =
      server::TServerOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "comet-score-server: %s\n%s", error.c_str(),
                 server::TServerOptions::Usage());
    return 2;
  }
  if (options->Help) {
    std::fputs(server::TServerOptions::Usage(), stdout);
    return 0;
  }
  try {
    return Serve(*options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "comet-score-server: %s\n", e.what());
    return 1;
  }
}
