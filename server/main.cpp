// comet-score-server: the score service the game's handshake, submission and score page talk to.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "AdminCommand.h"
#include "HttpServer.h"
#include "ScoreService.h"
#include "ScoreStore.h"
#include "ServerLog.h"
#include "ServerOptions.h"
#include "TokenSigner.h"
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

// The answer to one request: the service for its one path, 404 for anything else. Nothing when
// the answer needs the database and may not wait for it.
std::optional<server::TServiceReply> Answer(server::TScoreService& service,
                                            const server::THttpRequest& request, bool mayWait) {
  const std::string_view target = request.Target;
  const size_t mark = target.find('?');
  if (target.substr(0, mark) != online::kScorePath) {
    return server::TServiceReply{404, "text/plain; charset=utf-8", "ERROR|not found"};
  }
  const std::string_view query = mark == std::string_view::npos ? "" : target.substr(mark + 1);
  const auto now = server::TScoreService::TClock::now();
  const int64_t wallSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                                  std::chrono::system_clock::now().time_since_epoch())
                                  .count();
  if (mayWait) return service.Handle(query, request.ClientAddress, now, wallSeconds);
  return service.HandleWithoutWaiting(query, request.ClientAddress, now, wallSeconds);
}

// Hands a submission to the store's queue when the store has one (see TScoreService::HandleLater);
// false when the request must wait for a thread instead.
bool AnswerLater(server::TScoreService& service, const server::THttpRequest& request,
                 server::TScoreService::TReplyDone done) {
  const std::string_view target = request.Target;
  const size_t mark = target.find('?');
  if (mark == std::string_view::npos || target.substr(0, mark) != online::kScorePath) return false;
  const int64_t wallSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                                  std::chrono::system_clock::now().time_since_epoch())
                                  .count();
  return service.HandleLater(target.substr(mark + 1), request.ClientAddress,
                             server::TScoreService::TClock::now(), wallSeconds, std::move(done));
}

// The database connections to keep: the option's number, else one per core.
int DatabaseConnections(const server::TServerOptions& options) {
  if (options.DatabaseConnections > 0) return options.DatabaseConnections;
  return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
}

// The token secret: the file's contents when one is given, else the one kept in the database.
std::string TokenSecret(const server::TServerOptions& options, server::TScoreStore& store) {
  if (options.SecretFile.empty()) return store.Secret();
  std::ifstream file(options.SecretFile, std::ios::binary);
  std::string secret((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (!file.good() && !file.eof()) {
    throw std::runtime_error("cannot read the secret file " + options.SecretFile);
  }
  while (!secret.empty() && (secret.back() == '\n' || secret.back() == '\r')) secret.pop_back();
  if (secret.size() < 16) {
    throw std::runtime_error("the secret file " + options.SecretFile +
                             " is missing or holds fewer than 16 bytes");
  }
  return secret;
}

// Runs the service until a stop signal; returns the exit code.
int Serve(const server::TServerOptions& options) {
  std::signal(SIGPIPE, SIG_IGN);
  RaiseDescriptorLimit();
  server::TServerLog log(options.AccessLog);
  const int connections = DatabaseConnections(options);
  const auto store =
      server::OpenScoreStore(options.Database, static_cast<std::size_t>(connections));
  const server::TTokenSigner tokens(TokenSecret(options, *store));
  server::TServiceLimits serviceLimits;
  serviceLimits.HandshakesPerMinute = options.HandshakeRate;
  serviceLimits.SubmissionsPerMinute = options.SubmitRate;
  server::TScoreService service(*store, tokens, serviceLimits, &log);
  server::THttpSessionContext context;
  context.Log = &log;
  context.TrustedProxy = options.TrustProxy;
  context.Handler = [&service](const server::THttpRequest& request) {
    return *Answer(service, request, true);
  };
  context.Quick = [&service](const server::THttpRequest& request) {
    return Answer(service, request, false);
  };
  context.Later = [&service](const server::THttpRequest& request,
                             server::TScoreService::TReplyDone done) {
    return AnswerLater(service, request, std::move(done));
  };
  server::THttpLimits limits;
  limits.MaxConnections = options.MaxConnections;
  limits.MaxConnectionsPerAddress = options.MaxConnectionsPerAddress;
  // A waiting thread per call the store can run at once: more would only queue inside it, and
  // each would hold up a stop.
  server::THttpServer http(options.Bind, options.Port, options.Threads,
                           static_cast<int>(store->Parallelism()), limits, context);
  if (!options.PortFile.empty()) std::ofstream(options.PortFile) << http.Port() << '\n';
  log.Error("listening on http://" + options.Bind + ":" + std::to_string(http.Port()));
  http.Run();
  // Before the connections' sessions go: no queued write may answer one afterwards.
  store->DropQueuedWrites();
  log.Error("stopped");
  return 0;
}

// Runs "comet-score-server admin ..."; returns the exit code.
int Administer(const std::vector<std::string>& args) {
  std::string error;
  const auto command = server::TAdminCommand::Parse(args, error);
  if (!command) {
    std::fprintf(stderr, "comet-score-server: %s\n%s", error.c_str(),
                 server::TServerOptions::Usage());
    return 2;
  }
  try {
    const auto store = server::OpenScoreStore(command->Database);
    command->Run(*store, std::cout);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "comet-score-server: %s\n", e.what());
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "admin") {
    return Administer(std::vector<std::string>(argv + 2, argv + argc));
  }
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
