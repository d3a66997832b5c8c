#include "ServerLog.h"

#include <algorithm>
#include <ctime>
#include <stdexcept>

namespace server {

namespace {

// "[10/Oct/2026:13:55:36 +0000]", the time as Common Log Format writes it, in UTC.
std::string LogTime() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[40];
  std::strftime(text, sizeof text, "[%d/%b/%Y:%H:%M:%S +0000]", &parts);
  return text;
}

// The text with quotes, backslashes and control bytes written as \xHH, so a line stays one line.
std::string Quoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F || c == '"' || c == '\\') {
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

TServerLog::TServerLog(const std::string& accessFile) {
  if (accessFile.empty()) {
    Access_ = stdout;
    return;
  }
  Access_ = std::fopen(accessFile.c_str(), "a");
  if (!Access_) throw std::runtime_error("cannot open the access log " + accessFile);
  OwnsAccess_ = true;
}

TServerLog::~TServerLog() {
  if (OwnsAccess_) std::fclose(Access_);
}

void TServerLog::Access(std::string_view address, std::string_view requestLine, int status,
                        std::size_t bodyBytes) {
  std::string line(address);
  line.append(" - - ").append(LogTime()).append(" \"").append(Quoted(Redacted(requestLine)));
  line.append("\" ").append(std::to_string(status)).append(" ").append(std::to_string(bodyBytes));
  line.append("\n");
  const std::lock_guard lock(Mutex_);
  std::fputs(line.c_str(), Access_);
  std::fflush(Access_);
}

void TServerLog::Error(std::string_view message) {
  std::string line("comet-score-server: ");
  line.append(Quoted(message)).append("\n");
  const std::lock_guard lock(Mutex_);
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

std::string TServerLog::Redacted(std::string_view requestLine) {
  std::string out;
  size_t from = 0;
  for (size_t at = requestLine.find("inf="); at != std::string_view::npos;
       at = requestLine.find("inf=", std::max(at + 4, from))) {
    if (at == 0 || (requestLine[at - 1] != '?' && requestLine[at - 1] != '&')) continue;
    out.append(requestLine.substr(from, at + 4 - from)).append("-");
    from = std::min(requestLine.find_first_of("& ", at + 4), requestLine.size());
  }
  out.append(requestLine.substr(from));
  return out;
}

}  // namespace server
