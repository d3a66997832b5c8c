// The libcurl wrapper: fixed request headers, body on success, nothing on any failure.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "FakeScoreServer.h"
#include "SilentServer.h"
#include "platform/HttpClient.h"

namespace {

using onlinetest::TFakeScoreServer;

TEST(HttpClient, SendsTheFixedRequestHeaders) {
  TFakeScoreServer server("OK");
  server.SetEcho("hello", 200);
  platform::THttpClient client;
  EXPECT_EQ(client.Get(server.Address() + "/echo"), "hello");
  const auto headers = server.LastHeaders();
  const auto header = [&](const char* name) {
    const auto it = headers.find(name);
    return it == headers.end() ? std::string("(none)") : it->second;
  };
  EXPECT_EQ(header("User-Agent"), "Mozilla/3.0 (compatible; CometLaneDerby)");
  EXPECT_EQ(header("Accept"), "text/html, */*");
  EXPECT_EQ(header("Content-Type"), "text/html");
}

// Whether the HTTP library is mapped into this process.
bool HttpLibraryLoaded() {
  std::ifstream maps("/proc/self/maps");
  std::stringstream text;
  text << maps.rdbuf();
  return text.str().find("libcurl") != std::string::npos;
}

TEST(HttpClient, TheLibraryIsLoadedByTheFirstRequestNotByTheClient) {
  // Once loaded the library stays for the process: CTest runs every test in a process of its own.
  if (HttpLibraryLoaded()) GTEST_SKIP() << "an earlier test in this process loaded the library";
  TFakeScoreServer server("OK");
  server.SetEcho("hello", 200);
  {
    platform::THttpClient client;
    EXPECT_FALSE(HttpLibraryLoaded()) << "a client that has sent nothing holds no library";
    EXPECT_EQ(client.Get(server.Address() + "/echo"), "hello");
    EXPECT_TRUE(HttpLibraryLoaded());
    EXPECT_EQ(client.Get(server.Address() + "/echo"), "hello") << "the second request as well";
  }
  platform::THttpClient again;
  EXPECT_EQ(again.Get(server.Address() + "/echo"), "hello") << "opened again after the first";
}

struct FailureCase {
  const char* Name;
  std::string Body;
  int Status;
  std::string Expected;
};

const FailureCase kReplies[] = {
    {"Ok", "OK|1|2|3|T|", 200, "OK|1|2|3|T|"},
    {"EmptyBody", "", 200, ""},
    {"NotFound", "OK but not found", 404, ""},
    {"ServerError", "OK|1|2|3|T|", 500, ""},
    {"LongestAccepted", std::string(platform::THttpClient::kMaxReplyBytes, 'x'), 200,
     std::string(platform::THttpClient::kMaxReplyBytes, 'x')},
    {"TooLong", std::string(platform::THttpClient::kMaxReplyBytes + 1, 'x'), 200, ""},
};

class HttpReply : public ::testing::TestWithParam<FailureCase> {};

TEST_P(HttpReply, GivesTheBodyOnlyOnSuccess) {
  TFakeScoreServer server("OK");
  server.SetEcho(GetParam().Body, GetParam().Status);
  platform::THttpClient client;
  EXPECT_EQ(client.Get(server.Address() + "/echo"), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Replies, HttpReply, ::testing::ValuesIn(kReplies),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(HttpClient, NothingForUnusableAddresses) {
  platform::THttpClient client;
  for (const std::string& address :
       {onlinetest::ClosedPortAddress() + "/echo", std::string("file:///etc/hostname"),
        std::string("not a url"), std::string()}) {
    EXPECT_EQ(client.Get(address), "") << address;
  }
}

}  // namespace
