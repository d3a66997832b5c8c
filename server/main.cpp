// comet-score-server: the score service the game's handshake, submission and score page talk to.

#include <sys/resource.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "HttpServer.h"
#include "ScoreDatabase.h"
#include "ScoreService.h"
#include "ServerLog.h"
#include "ServerOptions.h"
#include "TokenStore.h"
#include "online/ScoreSubmission.h"

namespace {

// Lets the process hold as many sockets as the system allows it: idle connections must run
// into the service's own limits, not the descriptor limit.
void RaiseDescriptorLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
}

// The answer to one request: the service for its one path, 404 for anything else.
server::TServiceReply Answer(server::TScoreService& service, const server::THttpRequest& request) {
  const std::string_view target = request.Target;
  const size_t mark = target.find('?');
  if (target.substr(0, mark) != online::kScorePath) {
    return {404, "text/plain; charset=utf-8", "ERROR|not found"};
  }
  const std::string_view query = mark == std::string_view::npos ? "" : target.substr(mark + 1);
  const auto now = std::chrono::system_clock::now();
  return service.Handle(
      query, server::TTokenStore::TClock::now(),
      std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count());
}

// Runs the service until a stop signal; returns the exit code.
int Serve(const server::TServerOptions& options) {
  std::signal(SIGPIPE, SIG_IGN);
  RaiseDescriptorLimit();
  server::TServerLog log(options.AccessLog);
  server::TScoreDatabase database(options.Database);
  server::TTokenStore tokens;
  server::TScoreService service(database, tokens);
  server::THttpSessionContext context;
  context.Log = &log;
  context.Handler = [&service](const server::THttpRequest& request) {
    return Answer(service, request);
  };
  server::THttpLimits limits;
  limits.MaxConnections = options.MaxConnections;
  limits.MaxConnectionsPerAddress = options.MaxConnectionsPerAddress;
  server::THttpServer http(options.Bind, options.Port, options.Threads, limits, context);
  if (!options.PortFile.empty()) std::ofstream(options.PortFile) << http.Port() << '\n';
  log.Error("listening on http://" + options.Bind + ":" + std::to_string(http.Port()));
  http.Run();
  log.Error("stopped");
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
