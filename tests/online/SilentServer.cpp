#include "SilentServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace onlinetest {

namespace {

// A TCP socket bound to a free port of 127.0.0.1; the port goes into `port`.
int BoundSocket(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (fd >= 0) close(fd);
    throw std::runtime_error("cannot bind a test socket");
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

TSilentServer::TSilentServer() {
  Socket_ = BoundSocket(Port_);
  if (listen(Socket_, 8) != 0) {
    close(Socket_);
    throw std::runtime_error("cannot listen on a test socket");
  }
  fcntl(Socket_, F_SETFL, fcntl(Socket_, F_GETFL) | O_NONBLOCK);
}

TSilentServer::~TSilentServer() {
  close(Socket_);
}

std::string TSilentServer::Address() const {
  return "http://127.0.0.1:" + std::to_string(Port_);
}

bool TSilentServer::WasContacted() {
  const int connection = accept4(Socket_, nullptr, nullptr, SOCK_NONBLOCK);
  if (connection < 0) return false;
  close(connection);
  return true;
}

std::string ClosedPortAddress() {
  int port = 0;
  close(BoundSocket(port));
  return "http://127.0.0.1:" + std::to_string(port);
}

}  // namespace onlinetest
