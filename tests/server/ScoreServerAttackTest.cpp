// The real comet-score-server on 127.0.0.1 under the attacks of the open internet: slow, idle
// and flooding connections, smuggled and pipelined requests, floods of scores, broken databases.

#include <gtest/gtest.h>
#include <httplib.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "RawConnection.h"
#include "ScoreServerProcess.h"
#include "ServiceRequests.h"
#include "online/ScoreSubmission.h"
#include "online/TextCodec.h"

namespace {

using namespace std::chrono_literals;

// "P0", "P1", ...: a name per player of a test.
std::string PlayerName(int i) {
  std::string name = std::to_string(i);
  name.insert(name.begin(), 'P');
  return name;
}
using servertest::Get;
using servertest::Page;
using servertest::Submit;
using servertest::SubmitWith;
using servertest::TokenFrom;
using servertest::TRawConnection;
using servertest::TScoreServerProcess;
using servertest::TTempFolder;
using TClock = std::chrono::steady_clock;

// The service's memory must stay under this whatever the clients send.
constexpr long kMaxResidentKilobytes = 64 * 1024;

const std::string kPageRequest =
    "GET /cgi/version.pl?prg=CometLaneDerby&show&type=0 HTTP/1.1\r\nHost: t\r\n\r\n";
const std::string kHandshakeRequest =
    "GET /cgi/version.pl?version&prg=CometLaneDerby HTTP/1.1\r\nHost: t\r\n\r\n";

// Lets the test process hold a thousand sockets.
void RaiseDescriptorLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  limit.rlim_cur = limit.rlim_max;
  setrlimit(RLIMIT_NOFILE, &limit);
}

// Whether a fresh client gets the score page within a second.
bool PageAnsweredWithinASecond(int port) {
  TRawConnection client(port);
  client.Send(kPageRequest);
  return client.ReadReplies(1, 1s).starts_with("HTTP/1.1 200 OK");
}

// Runs a command and returns its exit status.
int RunCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// ---- Connections that hold on: the service keeps answering everyone else.

struct THoldingCase {
  const char* Name;
  int Connections;
  // The bytes each connection sends at first and then one more every second; empty for idle.
  std::string Start;
};

const THoldingCase kHolding[] = {
    {"SlowClients", 8, "GET /cgi/version.pl?ver"},
    {"ManySlowClients", 200, "GET /cgi/version.pl?prg=CometLaneDerby&show"},
    {"IdleConnections", 1000, ""},
};

class HoldingConnections : public ::testing::TestWithParam<THoldingCase> {
 protected:
  void SetUp() override { RaiseDescriptorLimit(); }

  // Opens the case's connections and keeps them trickling on a thread until the test ends.
  void Hold(int port) {
    for (int i = 0; i < GetParam().Connections; ++i) {
      Holders.push_back(std::make_unique<TRawConnection>(port));
      if (!GetParam().Start.empty()) Holders.back()->Send(GetParam().Start);
    }
    if (GetParam().Start.empty()) return;
    Trickler = std::thread([this] {
      while (!Done) {
        std::this_thread::sleep_for(1s);
        for (auto& holder : Holders) holder->Send("x");
      }
    });
  }

  void TearDown() override {
    Done = true;
    if (Trickler.joinable()) Trickler.join();
  }

  TTempFolder Folder;
  TScoreServerProcess Server{Folder.Path() + "/scores.db",
                             {"--max-connections-per-address", "2000"}};
  std::vector<std::unique_ptr<TRawConnection>> Holders;
  std::atomic<bool> Done{false};
  std::thread Trickler;
};

TEST_P(HoldingConnections, OthersAreAnsweredWithinASecond) {
  Hold(Server.Port());
  for (int round = 0; round < 3; ++round) {
    EXPECT_TRUE(PageAnsweredWithinASecond(Server.Port())) << "round " << round;
    EXPECT_EQ(Submit(Server.Port(), "Ann", 10 + round), 200);
    std::this_thread::sleep_for(500ms);
  }
  EXPECT_LT(servertest::ResidentKilobytes(Server.Pid()), kMaxResidentKilobytes);
}

TEST_P(HoldingConnections, SigtermStopsTheServiceWithinTwoSeconds) {
  Hold(Server.Port());
  const auto start = TClock::now();
  const int status = Server.Stop();
  EXPECT_LT(TClock::now() - start, 2s);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

INSTANTIATE_TEST_SUITE_P(Attacks, HoldingConnections, ::testing::ValuesIn(kHolding),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(RequestDeadline, ATrickledRequestIsCutOffAfterTenSeconds) {
  TTempFolder folder;
  TScoreServerProcess server(folder.Path() + "/scores.db");
  TRawConnection slow(server.Port());
  const auto start = TClock::now();
  slow.Send("GET /cgi/version.pl?version&prg=CometLaneDerby HTTP/1.1\r\n");
  bool closed = false;
  while (!closed && TClock::now() - start < 13s) {
    slow.Send("X");
    closed = slow.ClosedWithin(1s);
  }
  EXPECT_TRUE(closed);
  EXPECT_GE(TClock::now() - start, 9s);
  // The stream closes the socket when its deadline passes and the session logs it just after,
  // so the line may come a moment after the client sees the close.
  const auto closedAt = TClock::now();
  while (server.ErrorLog().find("deadline passed") == std::string::npos &&
         TClock::now() - closedAt < 2s) {
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_NE(server.ErrorLog().find("deadline passed"), std::string::npos) << server.ErrorLog();
}

TEST(IdleTimeout, AKeptAliveConnectionIsClosedAfterThirtyIdleSeconds) {
  TTempFolder folder;
  TScoreServerProcess server(folder.Path() + "/scores.db");
  TRawConnection client(server.Port());
  client.Send(kHandshakeRequest);
  ASSERT_EQ(servertest::CountReplies(client.ReadReplies(1, 2s)), 1);
  EXPECT_FALSE(client.ClosedWithin(28s));
  EXPECT_TRUE(client.ClosedWithin(4s));
}

TEST(ConnectionLimits, ConnectionsPastTheLimitPerAddressAreClosedAtOnce) {
  TTempFolder folder;
  TScoreServerProcess server(folder.Path() + "/scores.db", {"--max-connections-per-address", "4"});
  std::vector<std::unique_ptr<TRawConnection>> held;
  for (int i = 0; i < 4; ++i) held.push_back(std::make_unique<TRawConnection>(server.Port()));
  std::this_thread::sleep_for(200ms);
  TRawConnection fifth(server.Port());
  EXPECT_TRUE(fifth.ClosedWithin(2s));
  EXPECT_NE(server.ErrorLog().find("per address reached by 127.0.0.1"), std::string::npos);
  held.clear();
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(PageAnsweredWithinASecond(server.Port()));
}

// ---- Floods: refused early, memory bounded, connection closed.

struct TFloodCase {
  const char* Name;
  std::string Head;
  std::string Filler;
  size_t FillerBytes;
  const char* Status;
};

const TFloodCase kFloods[] = {
    {"ChunkedPostBody",
     "POST /cgi/version.pl HTTP/1.1\r\nHost: t\r\nTransfer-Encoding: chunked\r\n\r\n",
     "10000\r\n" + std::string(0x10000, 'b') + "\r\n", 64u << 20, "HTTP/1.1 405"},
    {"GetWithHugeBody",
     "GET /cgi/version.pl?version&prg=CometLaneDerby HTTP/1.1\r\nHost: t\r\n"
     "Content-Length: 1000000000\r\n\r\n",
     std::string(65536, 'b'), 64u << 20, "HTTP/1.1 413"},
    {"TwoMillionHeaderLines",
     "GET /cgi/version.pl?version&prg=CometLaneDerby HTTP/1.1\r\nHost: t\r\n", "X: y\r\n",
     2'000'000u * 6, "HTTP/1.1 431"},
    {"SixtyFiveHeaderLines",
     "GET /cgi/version.pl?version&prg=CometLaneDerby HTTP/1.1\r\nHost: t\r\n", "X: y\r\n", 65u * 6,
     "HTTP/1.1 431"},
    {"OneHugeHeaderLine",
     "GET /cgi/version.pl?version&prg=CometLaneDerby HTTP/1.1\r\nHost: t\r\nX: ",
     std::string(65536, 'h'), 32u << 20, "HTTP/1.1 431"},
    {"HugeRequestLine", "GET /cgi/version.pl?version&prg=CometLaneDerby&pad=",
     std::string(65536, 'p'), 32u << 20, "HTTP/1.1 414"},
};

class Floods : public ::testing::TestWithParam<TFloodCase> {
 protected:
  TTempFolder Folder;
  TScoreServerProcess Server{Folder.Path() + "/scores.db"};
};

TEST_P(Floods, AreRefusedWithBoundedMemory) {
  const TFloodCase& flood = GetParam();
  TRawConnection attacker(Server.Port());
  std::atomic<long> peak{0};
  std::thread sender([&] {
    bool open = attacker.Send(flood.Head);
    for (size_t sent = 0; open && sent < flood.FillerBytes; sent += flood.Filler.size()) {
      open = attacker.Send(flood.Filler);
      peak = std::max(peak.load(), servertest::ResidentKilobytes(Server.Pid()));
    }
    // The header of a finite flood ends, so that the service answers it.
    if (open) attacker.Send("\r\n\r\n");
  });
  const std::string reply = attacker.ReadUntilClosed(15s);
  sender.join();
  EXPECT_TRUE(reply.starts_with(flood.Status)) << reply.substr(0, 200);
  EXPECT_NE(reply.find("Connection: close"), std::string::npos) << reply.substr(0, 200);
  EXPECT_LT(peak.load(), kMaxResidentKilobytes);
  EXPECT_TRUE(PageAnsweredWithinASecond(Server.Port()));
}

INSTANTIATE_TEST_SUITE_P(Attacks, Floods, ::testing::ValuesIn(kFloods),
                         [](const auto& test) { return std::string(test.param.Name); });

// ---- One connection, several requests: in order, and no request hidden in another's body.

struct TStreamCase {
  const char* Name;
  std::string Bytes;
  // The start of each reply expected, in order; the connection is closed after the last when
  // the case says so.
  std::vector<std::string> Replies;
  bool Closed;
};

const std::string kSmuggled = kHandshakeRequest;

const TStreamCase kStreams[] = {
    {"ThreePipelinedRequests",
     kHandshakeRequest + kPageRequest +
         "GET /cgi/version.pl?version&prg=CometLaneDerby HTTP/1.1\r\nHost: t\r\n"
         "Connection: close\r\n\r\n",
     {"OK|CometLaneDerby|", "<!DOCTYPE html>", "OK|CometLaneDerby|"},
     true},
    {"KeepAliveAfterPipelining",
     kHandshakeRequest + kHandshakeRequest,
     {"OK|CometLaneDerby|", "OK|CometLaneDerby|"},
     false},
    {"GetWithContentLengthSmuggling",
     "GET /cgi/version.pl?prg=CometLaneDerby&show&type=0 HTTP/1.1\r\nHost: t\r\n"
     "Content-Length: " +
         std::to_string(kSmuggled.size()) + "\r\n\r\n" + kSmuggled,
     {"ERROR|requests carry no body"},
     true},
    {"GetWithChunkedSmuggling",
     "GET /cgi/version.pl?prg=CometLaneDerby&show&type=0 HTTP/1.1\r\nHost: t\r\n"
     "Transfer-Encoding: chunked\r\n\r\n0\r\n\r\n" +
         kSmuggled,
     {"ERROR|requests carry no body"},
     true},
    {"ConflictingLengths",
     "GET /cgi/version.pl?version&prg=CometLaneDerby HTTP/1.1\r\nHost: t\r\nContent-Length: 4\r\n"
     "Transfer-Encoding: chunked\r\n\r\n0\r\n\r\n" +
         kSmuggled,
     {"ERROR|"},
     true},
    {"PostIsRefused",
     "POST /cgi/version.pl?version&prg=CometLaneDerby HTTP/1.1\r\nHost: t\r\n"
     "Content-Length: 0\r\n\r\n" +
         kSmuggled,
     {"ERROR|only GET is answered"},
     true},
};

// The bodies of the replies in the text, in order.
std::vector<std::string> ReplyBodies(std::string_view text) {
  std::vector<std::string> bodies;
  while (true) {
    const size_t headerEnd = text.find("\r\n\r\n");
    if (headerEnd == std::string_view::npos) return bodies;
    const size_t field = text.substr(0, headerEnd).find("Content-Length: ");
    const size_t length =
        field == std::string_view::npos ? 0 : std::stoul(std::string(text.substr(field + 16)));
    bodies.emplace_back(text.substr(headerEnd + 4, length));
    text.remove_prefix(std::min(text.size(), headerEnd + 4 + length));
  }
}

class RequestStreams : public ::testing::TestWithParam<TStreamCase> {
 protected:
  TTempFolder Folder;
  TScoreServerProcess Server{Folder.Path() + "/scores.db"};
};

TEST_P(RequestStreams, AreAnsweredInOrderAndNoFurther) {
  const TStreamCase& stream = GetParam();
  TRawConnection client(Server.Port());
  client.Send(stream.Bytes);
  const std::string text = stream.Closed
                               ? client.ReadUntilClosed(5s)
                               : client.ReadReplies(static_cast<int>(stream.Replies.size()), 5s);
  const auto bodies = ReplyBodies(text);
  ASSERT_EQ(bodies.size(), stream.Replies.size()) << text;
  for (size_t i = 0; i < bodies.size(); ++i) {
    EXPECT_TRUE(bodies[i].starts_with(stream.Replies[i])) << i << ": " << bodies[i];
  }
  if (!stream.Closed) {
    EXPECT_FALSE(client.ClosedWithin(300ms));
    client.Send(kHandshakeRequest);
    EXPECT_EQ(servertest::CountReplies(client.ReadReplies(1, 2s)), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Attacks, RequestStreams, ::testing::ValuesIn(kStreams),
                         [](const auto& test) { return std::string(test.param.Name); });

// ---- Floods of scores and tokens from one address.

TEST(RateLimits, SubmissionsPastTheRateAreRefusedWith429) {
  TTempFolder folder;
  TScoreServerProcess server(folder.Path() + "/scores.db", {"--submit-rate", "3"});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Submit(server.Port(), "Ann", 100 + i), 200) << i;
  EXPECT_EQ(Submit(server.Port(), "Ann", 1'000'000'000), 429);
  EXPECT_EQ(Page(server.Port()).find("1000000000"), std::string::npos);
  EXPECT_NE(server.ErrorLog().find("submission rate limit hit by 127.0.0.1"), std::string::npos);
}

TEST(RateLimits, HandshakesPastTheRateAreRefusedWith429) {
  TTempFolder folder;
  TScoreServerProcess server(folder.Path() + "/scores.db", {"--handshake-rate", "2"});
  EXPECT_EQ(Get(server.Port(), std::string(online::kHandshakeQuery)).first, 200);
  EXPECT_EQ(Get(server.Port(), std::string(online::kHandshakeQuery)).first, 200);
  EXPECT_EQ(Get(server.Port(), std::string(online::kHandshakeQuery)).first, 429);
  // The page is not limited.
  EXPECT_EQ(Get(server.Port(), std::string(online::kScorePageQuery)).first, 200);
}

struct TProxyCase {
  const char* Name;
  std::vector<std::string> ExtraArgs;
  // Handshakes answered for three requests from 10.0.0.1 and then one from 10.0.0.2.
  int AnsweredFromFirst;
  bool AnsweredFromSecond;
};

const TProxyCase kProxies[] = {
    {"TrustedProxy", {"--trust-proxy", "127.0.0.1"}, 2, true},
    {"UntrustedHeaderIsIgnored", {}, 2, false},
    {"OtherProxyIsNotTrusted", {"--trust-proxy", "10.9.9.9"}, 2, false},
};

class ForwardedAddresses : public ::testing::TestWithParam<TProxyCase> {};

TEST_P(ForwardedAddresses, CountAgainstTheRightClient) {
  TTempFolder folder;
  auto args = GetParam().ExtraArgs;
  args.insert(args.end(), {"--handshake-rate", "2"});
  TScoreServerProcess server(folder.Path() + "/scores.db", args);
  int answered = 0;
  for (int i = 0; i < 3; ++i) {
    answered +=
        Get(server.Port(), std::string(online::kHandshakeQuery), "1.2.3.4, 10.0.0.1").first == 200
            ? 1
            : 0;
  }
  EXPECT_EQ(answered, GetParam().AnsweredFromFirst);
  EXPECT_EQ(Get(server.Port(), std::string(online::kHandshakeQuery), "10.0.0.2").first == 200,
            GetParam().AnsweredFromSecond);
  if (GetParam().AnsweredFromSecond) {
    EXPECT_NE(server.AccessLog().find("10.0.0.2 - - ["), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Attacks, ForwardedAddresses, ::testing::ValuesIn(kProxies),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(OneRowPerName, APlayerKeepsOnlyTheBestScoreOnThePage) {
  TTempFolder folder;
  TScoreServerProcess server(folder.Path() + "/scores.db");
  for (const int64_t score : {100, 300, 200}) EXPECT_EQ(Submit(server.Port(), "Ann", score), 200);
  EXPECT_EQ(Submit(server.Port(), "Bob", 250), 200);
  const std::string page = Page(server.Port());
  EXPECT_NE(
      page.find("<td class=\"rank\">1</td><td class=\"name\">Ann</td><td class=\"score\">300"),
      std::string::npos)
      << page;
  EXPECT_NE(page.find("<td class=\"rank\">2</td><td class=\"name\">Bob</td>"), std::string::npos);
  EXPECT_EQ(page.find(">100<"), std::string::npos);
  EXPECT_EQ(page.find(">200<"), std::string::npos);
}

// ---- Moderation through "comet-score-server admin".

class Moderation : public ::testing::Test {
 protected:
  std::string Admin(const std::string& arguments) {
    const std::string out = Folder.Path() + "/admin.out";
    RunCommand(std::string(COMET_SCORE_SERVER) + " admin --db " + Database + " " + arguments +
               " > " + out + " 2>&1");
    std::ifstream file(out);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  // The page once every process's cached copy has run out.
  std::string FreshPage() {
    std::this_thread::sleep_for(1100ms);
    return Page(Server.Port());
  }

  TTempFolder Folder;
  std::string Database = Folder.Path() + "/scores.db";
  TScoreServerProcess Server{Database};
};

TEST_F(Moderation, ABannedNameIsAcknowledgedButNeverShown) {
  EXPECT_EQ(Submit(Server.Port(), "Cheat", 1'000'000'000), 200);
  EXPECT_EQ(Submit(Server.Port(), "Ann", 50), 200);
  EXPECT_EQ(Admin("ban Cheat"), "banned Cheat\n");
  EXPECT_EQ(FreshPage().find("Cheat"), std::string::npos);
  EXPECT_EQ(Submit(Server.Port(), "Cheat", 999), 200);
  EXPECT_EQ(FreshPage().find("Cheat"), std::string::npos);
  EXPECT_NE(Admin("list --name Cheat").find("\tCheat\t999\t"), std::string::npos);
  EXPECT_NE(Admin("list --name Cheat").find("\tbanned"), std::string::npos);
  EXPECT_EQ(Admin("unban Cheat"), "unbanned Cheat\n");
  EXPECT_NE(FreshPage().find("<td class=\"name\">Cheat</td><td class=\"score\">1000000000"),
            std::string::npos);
}

TEST_F(Moderation, RemovingTheBestScoreShowsTheNextBestOfTheName) {
  EXPECT_EQ(Submit(Server.Port(), "Ann", 70), 200);
  EXPECT_EQ(Submit(Server.Port(), "Ann", 900), 200);
  const std::string listing = Admin("list --name Ann");
  ASSERT_NE(listing.find("\tAnn\t900\t"), std::string::npos) << listing;
  const std::string id = listing.substr(0, listing.find('\t'));
  EXPECT_EQ(Admin("remove " + id), "removed 1 of 1 scores\n");
  const std::string page = FreshPage();
  EXPECT_NE(page.find("<td class=\"name\">Ann</td><td class=\"score\">70"), std::string::npos)
      << page;
}

TEST_F(Moderation, MistakesAreRefused) {
  for (const char* arguments : {"frobnicate", "remove", "remove x1", "ban", "list --name"}) {
    EXPECT_EQ(RunCommand(std::string(COMET_SCORE_SERVER) + " admin --db " + Database + " " +
                         arguments + " > /dev/null 2>&1"),
              2)
        << arguments;
  }
}

// ---- Databases that cannot be used: refused at start, or 500 and a log line, never silence.

TEST(BrokenDatabase, ADamagedFileRefusesToStart) {
  TTempFolder folder;
  const std::string database = folder.Path() + "/scores.db";
  {
    TScoreServerProcess server(database);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(Submit(server.Port(), PlayerName(i), i), 200);
  }
  // Overwrite the pages after the first with garbage, keeping the header.
  const auto size = std::filesystem::file_size(database);
  ASSERT_GT(size, 8192u);
  std::fstream file(database, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(4096);
  file << std::string(size - 4096, '\x5a');
  file.close();
  EXPECT_THROW(TScoreServerProcess{database}, std::runtime_error);
  const int status = RunCommand(std::string(COMET_SCORE_SERVER) + " --port 0 --db " + database +
                                " 2> " + folder.Path() + "/err");
  EXPECT_EQ(status, 1);
  std::ifstream err(folder.Path() + "/err");
  const std::string message{std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>()};
  EXPECT_NE(message.find(database), std::string::npos) << message;
}

TEST(BrokenDatabase, NotADatabaseRefusesToStart) {
  TTempFolder folder;
  const std::string database = folder.Path() + "/scores.db";
  std::ofstream(database) << std::string(10000, 'n');
  EXPECT_THROW(TScoreServerProcess{database}, std::runtime_error);
}

TEST(BrokenDatabase, AReadOnlyFileRefusesToStartNamingTheFile) {
  TTempFolder folder;
  const std::string database = folder.Path() + "/scores.db";
  { TScoreServerProcess server(database); }
  chmod(database.c_str(), 0444);
  chmod(folder.Path().c_str(), 0755);
  // Root may write anything: the service then runs as an ordinary user.
  const std::string user = geteuid() == 0 ? "runuser -u nobody -- " : "";
  const std::string err = folder.Path() + "/err";
  const int status =
      RunCommand(user + COMET_SCORE_SERVER + " --port 0 --db " + database + " 2> " + err);
  EXPECT_EQ(status, 1);
  std::ifstream file(err);
  const std::string message{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  EXPECT_NE(message.find(database + " is read-only"), std::string::npos) << message;
}

TEST(BrokenDatabase, ErrorsWhileRunningAnswer500AndAreLogged) {
  TTempFolder folder;
  const std::string database = folder.Path() + "/scores.db";
  TScoreServerProcess server(database);
  EXPECT_EQ(Submit(server.Port(), "Ann", 5), 200);
  sqlite3* db = nullptr;
  sqlite3_open(database.c_str(), &db);
  sqlite3_exec(db, "DROP TABLE best", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  std::this_thread::sleep_for(1100ms);
  const auto [pageStatus, pageBody] = Get(server.Port(), std::string(online::kScorePageQuery));
  EXPECT_EQ(pageStatus, 500) << pageBody;
  EXPECT_EQ(Submit(server.Port(), "Bob", 6), 500);
  const std::string errors = server.ErrorLog();
  EXPECT_NE(errors.find("score page not made"), std::string::npos) << errors;
  EXPECT_NE(errors.find("score from 127.0.0.1 not stored"), std::string::npos) << errors;
}

// ---- Logs: one line per request, never a token.

TEST(AccessLog, HasACommonLogFormatLinePerRequestAndNoToken) {
  TTempFolder folder;
  TScoreServerProcess server(folder.Path() + "/scores.db");
  const std::string token = TokenFrom(server.Port());
  EXPECT_EQ(SubmitWith(server.Port(), token, "Ann", 5), 200);
  Page(server.Port());
  const std::string log = server.AccessLog();
  EXPECT_NE(log.find("127.0.0.1 - - ["), std::string::npos) << log;
  EXPECT_NE(log.find("\"GET /cgi/version.pl?version&prg=CometLaneDerby HTTP/1.1\" 200 57\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("\"GET /cgi/version.pl?hs&prg=CometLaneDerby&inf=- HTTP/1.1\" 200 2\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);
  EXPECT_EQ(log.find(token), std::string::npos);
  EXPECT_EQ(server.ErrorLog().find(token), std::string::npos);
}

TEST(SecretFile, InstancesWithTheSameSecretFileShareTokens) {
  TTempFolder folder;
  const std::string secret = folder.Path() + "/secret";
  std::ofstream(secret) << "a-shared-secret-of-some-length\n";
  TScoreServerProcess first(folder.Path() + "/one.db", {"--secret-file", secret});
  TScoreServerProcess second(folder.Path() + "/two.db", {"--secret-file", secret});
  TScoreServerProcess other(folder.Path() + "/three.db");
  EXPECT_EQ(SubmitWith(second.Port(), TokenFrom(first.Port()), "Ann", 1), 200);
  EXPECT_EQ(SubmitWith(other.Port(), TokenFrom(first.Port()), "Ann", 1), 403);
}

}  // namespace
