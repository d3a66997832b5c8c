#include "ServerOptions.h"

#include <charconv>

namespace server {

namespace {

bool ReadInt(const std::string& text, int low, int high, int& value) {
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && last == end && value >= low && value <= high;
}

}  // namespace

const char* TServerOptions::Usage() {
  return "Usage: comet-score-server --port N --db DB [OPTION...]\n"
         "       comet-score-server admin --db DB list [--name NAME] | remove ID... | ban NAME |"
         " unban NAME\n"
         "  --port N             TCP port to listen on (0 picks a free port)\n"
         "  --db DB              the scores' database: an SQLite file (created when missing)\n"
         "                       or a postgresql:// address\n"
         "  --bind ADDR          address to listen on (default 127.0.0.1)\n"
         "  --threads N          threads answering requests, 1 to 64 (default 4)\n"
         "  --db-connections N   PostgreSQL connections for the page and other calls, each\n"
         "                       with a thread waiting on it, 1 to 64 (default: one per\n"
         "                       core); scores go through one more, pipelined\n"
         "  --max-connections N  open connections in all (default 4096)\n"
         "  --max-connections-per-address N\n"
         "                       open connections from one client address (default 32)\n"
         "  --access-log FILE    append the access log to FILE instead of standard output\n"
         "  --trust-proxy ADDR   take the client address from X-Forwarded-For on connections\n"
         "                       from the proxy at ADDR\n"
         "  --submit-rate N      scores one client address may send a minute (default 10,\n"
         "                       0 for no limit)\n"
         "  --handshake-rate N   handshakes one client address may make a minute (default 10,\n"
         "                       0 for no limit)\n"
         "  --secret-file FILE   sign tokens with the secret in FILE instead of the one kept in\n"
         "                       the database\n"
         "  --port-file FILE     write the port in use to FILE once listening\n"
         "  --help               show this text\n";
}

std::optional<TServerOptions> TServerOptions::Parse(const std::vector<std::string>& args,
                                                    std::string& error) {
  TServerOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      options.Help = true;
      return options;
    } else if (arg == "--port" && hasValue && ReadInt(args[i + 1], 0, 65535, options.Port)) {
      ++i;
    } else if (arg == "--threads" && hasValue && ReadInt(args[i + 1], 1, 64, options.Threads)) {
      ++i;
    } else if (arg == "--db-connections" && hasValue &&
               ReadInt(args[i + 1], 1, 64, options.DatabaseConnections)) {
      ++i;
    } else if (arg == "--max-connections" && hasValue &&
               ReadInt(args[i + 1], 1, 1'000'000, options.MaxConnections)) {
      ++i;
    } else if (arg == "--max-connections-per-address" && hasValue &&
               ReadInt(args[i + 1], 1, 1'000'000, options.MaxConnectionsPerAddress)) {
      ++i;
    } else if (arg == "--access-log" && hasValue && !args[i + 1].empty()) {
      options.AccessLog = args[++i];
    } else if (arg == "--trust-proxy" && hasValue && !args[i + 1].empty()) {
      options.TrustProxy = args[++i];
    } else if (arg == "--secret-file" && hasValue && !args[i + 1].empty()) {
      options.SecretFile = args[++i];
    } else if (arg == "--submit-rate" && hasValue &&
               ReadInt(args[i + 1], 0, 1'000'000'000, options.SubmitRate)) {
      ++i;
    } else if (arg == "--handshake-rate" && hasValue &&
               ReadInt(args[i + 1], 0, 1'000'000'000, options.HandshakeRate)) {
      ++i;
    } else if (arg == "--db" && hasValue && !args[i + 1].empty()) {
      options.Database = args[++i];
    } else if (arg == "--bind" && hasValue && !args[i + 1].empty()) {
      options.Bind = args[++i];
    } else if (arg == "--port-file" && hasValue && !args[i + 1].empty()) {
      options.PortFile = args[++i];
    } else {
      error = "unknown or incomplete option '" + arg + "'";
      return std::nullopt;
    }
  }
  if (options.Port < 0 || options.Database.empty()) {
    error = "--port and --db are required";
    return std::nullopt;
  }
  return options;
}

}  // namespace server
