#include "RawConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

namespace servertest {

namespace {

using TClock = std::chrono::steady_clock;

int MillisecondsLeft(TClock::time_point end) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - TClock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

TRawConnection::TRawConnection(int port) {
  Socket_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (Socket_ < 0 || connect(Socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (Socket_ >= 0) close(Socket_);
    throw std::runtime_error("cannot connect to 127.0.0.1:" + std::to_string(port));
  }
}

TRawConnection::~TRawConnection() {
  close(Socket_);
}

bool TRawConnection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(Socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

std::string TRawConnection::ReadWhile(std::chrono::milliseconds limit,
                                      const std::function<bool(const std::string&)>& more) {
  std::string text;
  const auto end = TClock::now() + limit;
  while (!Closed_ && more(text)) {
    pollfd poll{Socket_, POLLIN, 0};
    if (::poll(&poll, 1, MillisecondsLeft(end)) <= 0) break;
    char buffer[65536];
    const ssize_t got = recv(Socket_, buffer, sizeof buffer, 0);
    if (got <= 0) {
      Closed_ = true;
      break;
    }
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

std::string TRawConnection::ReadUntilClosed(std::chrono::milliseconds limit) {
  return ReadWhile(limit, [](const std::string&) { return true; });
}

std::string TRawConnection::ReadReplies(int count, std::chrono::milliseconds limit) {
  return ReadWhile(limit, [count](const std::string& text) { return CountReplies(text) < count; });
}

bool TRawConnection::ClosedWithin(std::chrono::milliseconds limit) {
  ReadUntilClosed(limit);
  return Closed_;
}

int CountReplies(std::string_view text) {
  int replies = 0;
  while (true) {
    const size_t headerEnd = text.find("\r\n\r\n");
    if (headerEnd == std::string_view::npos) return replies;
    const std::string_view header = text.substr(0, headerEnd);
    size_t length = 0;
    const size_t field = header.find("Content-Length: ");
    if (field != std::string_view::npos)
      length = std::stoul(std::string(header.substr(field + 16)));
    if (text.size() < headerEnd + 4 + length) return replies;
    ++replies;
    text.remove_prefix(headerEnd + 4 + length);
  }
}

long ResidentKilobytes(int pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string word;
  while (status >> word) {
    if (word == "VmRSS:") {
      long kilobytes = 0;
      status >> kilobytes;
      return kilobytes;
    }
  }
  return -1;
}

}  // namespace servertest
