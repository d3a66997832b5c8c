// The nginx site of server/deploy in front of two service processes on one database, all on
// 127.0.0.1: the game's requests pass, spread over both, and the proxy's address handling holds.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "RawConnection.h"
#include "ScoreServerProcess.h"
#include "ServiceRequests.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

// "P0", "P1", ...: a name per player of a test.
std::string PlayerName(int i) {
  std::string name = std::to_string(i);
  name.insert(name.begin(), 'P');
  return name;
}
using servertest::TScoreServerProcess;

constexpr const char* kNginx = "/usr/sbin/nginx";

// A port of 127.0.0.1 that was free a moment ago.
int FreePort() {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

std::string FileText(const std::string& path) {
  std::ifstream file(path);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// nginx with the deployment's site file, its instance addresses and listening address changed
// to the test's, run in the foreground until destroyed.
class TNginx {
 public:
  TNginx(const std::string& folder, int port, int first, int second) : Port_(port) {
    std::string site = FileText(SCORE_NGINX_SITE);
    site = std::regex_replace(site, std::regex("127\\.0\\.0\\.1:8081"),
                              "127.0.0.1:" + std::to_string(first));
    site = std::regex_replace(site, std::regex("127\\.0\\.0\\.1:8082"),
                              "127.0.0.1:" + std::to_string(second));
    site = std::regex_replace(site, std::regex("listen 80;"),
                              "listen 127.0.0.1:" + std::to_string(port) + ";");
    site = std::regex_replace(site, std::regex("listen \\[::\\]:80;"), "");
    std::ofstream(folder + "/site.conf") << site;
    std::ofstream(folder + "/nginx.conf")
        << "daemon off;\nworker_processes 1;\npid " << folder << "/nginx.pid;\nerror_log " << folder
        << "/error.log;\nevents { worker_connections 256; }\nhttp {\n access_log " << folder
        << "/access.log;\n client_body_temp_path " << folder << "/body;\n"
        << " proxy_temp_path " << folder << "/proxy;\n include " << folder << "/site.conf;\n}\n";
    std::vector<std::string> args = {kNginx, "-p", folder, "-c", folder + "/nginx.conf"};
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&Pid_, kNginx, nullptr, nullptr, argv.data(), environ) != 0) {
      throw std::runtime_error("cannot start nginx");
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
      try {
        servertest::TRawConnection probe(port);
        return;
      } catch (const std::runtime_error&) {
        std::this_thread::sleep_for(50ms);
      }
    }
    throw std::runtime_error("nginx did not start: " + FileText(folder + "/error.log"));
  }

  ~TNginx() {
    kill(Pid_, SIGTERM);
    waitpid(Pid_, nullptr, 0);
  }

  TNginx(const TNginx&) = delete;
  TNginx& operator=(const TNginx&) = delete;

  int Port() const { return Port_; }

 private:
  pid_t Pid_ = -1;
  int Port_;
};

class NginxDeployment : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kNginx)) GTEST_SKIP() << "nginx is not installed";
    const std::vector<std::string> trusted = {"--trust-proxy", "127.0.0.1", "--submit-rate", "100"};
    First = std::make_unique<TScoreServerProcess>(Database, trusted, Folder.Path());
    Second = std::make_unique<TScoreServerProcess>(Database, trusted, Folder.Path());
    std::filesystem::create_directory(Folder.Path() + "/nginx");
    Proxy = std::make_unique<TNginx>(Folder.Path() + "/nginx", FreePort(), First->Port(),
                                     Second->Port());
  }

  servertest::TTempFolder Folder;
  std::string Database = Folder.Path() + "/scores.db";
  std::unique_ptr<TScoreServerProcess> First;
  std::unique_ptr<TScoreServerProcess> Second;
  std::unique_ptr<TNginx> Proxy;
};

TEST_F(NginxDeployment, TheGamesRequestsPassAndSpreadOverBothInstances) {
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(servertest::Submit(Proxy->Port(), PlayerName(i), 100 + i), 200) << i;
  }
  std::this_thread::sleep_for(1100ms);
  const std::string page = servertest::Page(Proxy->Port());
  for (int i = 0; i < 10; ++i) {
    EXPECT_NE(page.find(std::string(">").append(PlayerName(i)).append("<")), std::string::npos)
        << i;
  }
  // Both answered: a handshake on one instance is often redeemed on the other.
  const auto requests = [](const std::string& log) {
    return std::count(log.begin(), log.end(), '\n');
  };
  EXPECT_GT(requests(First->AccessLog()), 0);
  EXPECT_GT(requests(Second->AccessLog()), 0);
  EXPECT_EQ(requests(First->AccessLog()) + requests(Second->AccessLog()), 21);
}

TEST_F(NginxDeployment, AClientCannotForgeItsAddress) {
  EXPECT_EQ(
      servertest::Get(Proxy->Port(), std::string("version&prg=CometLaneDerby"), "6.6.6.6").first,
      200);
  const std::string logs = First->AccessLog() + Second->AccessLog();
  EXPECT_NE(logs.find("127.0.0.1 - - ["), std::string::npos) << logs;
  EXPECT_EQ(logs.find("6.6.6.6"), std::string::npos) << logs;
}

TEST_F(NginxDeployment, RequestsWithABodyOrOtherPathsAreStoppedAtTheProxy) {
  servertest::TRawConnection post(Proxy->Port());
  post.Send(
      "POST /cgi/version.pl?version&prg=CometLaneDerby HTTP/1.1\r\nHost: t\r\n"
      "Content-Length: 3\r\nConnection: close\r\n\r\nabc");
  EXPECT_TRUE(post.ReadUntilClosed(3s).starts_with("HTTP/1.1 403")) << "POST";
  servertest::TRawConnection other(Proxy->Port());
  other.Send("GET /admin HTTP/1.1\r\nHost: t\r\nConnection: close\r\n\r\n");
  EXPECT_TRUE(other.ReadUntilClosed(3s).starts_with("HTTP/1.1 404"));
}

}  // namespace
