// The service's command line: required settings, defaults and refused values.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/ServerOptions.h"

namespace {

using Args = std::vector<std::string>;

TEST(ServerOptions, ReadsEverySetting) {
  std::string error;
  const auto options =
      server::TServerOptions::Parse({"--port", "8080", "--db", "s.db", "--bind", "0.0.0.0",
                                     "--threads", "4", "--port-file", "p", "--db-connections", "3"},
                                    error);
  ASSERT_TRUE(options.has_value()) << error;
  EXPECT_EQ(options->Port, 8080);
  EXPECT_EQ(options->Database, "s.db");
  EXPECT_EQ(options->Bind, "0.0.0.0");
  EXPECT_EQ(options->Threads, 4);
  EXPECT_EQ(options->PortFile, "p");
  EXPECT_EQ(options->DatabaseConnections, 3);
}

TEST(ServerOptions, ReadsTheLimitsAndDeploymentSettings) {
  std::string error;
  const auto options = server::TServerOptions::Parse(
      {"--port", "1", "--db", "postgresql://scores@/scores", "--max-connections", "100",
       "--max-connections-per-address", "5", "--access-log", "a.log", "--trust-proxy", "127.0.0.1",
       "--submit-rate", "0", "--handshake-rate", "30", "--secret-file", "s"},
      error);
  ASSERT_TRUE(options.has_value()) << error;
  EXPECT_EQ(options->Database, "postgresql://scores@/scores");
  EXPECT_EQ(options->MaxConnections, 100);
  EXPECT_EQ(options->MaxConnectionsPerAddress, 5);
  EXPECT_EQ(options->AccessLog, "a.log");
  EXPECT_EQ(options->TrustProxy, "127.0.0.1");
  EXPECT_EQ(options->SubmitRate, 0);
  EXPECT_EQ(options->HandshakeRate, 30);
  EXPECT_EQ(options->SecretFile, "s");
}

TEST(ServerOptions, LimitsHaveSafeDefaults) {
  std::string error;
  const auto options = server::TServerOptions::Parse({"--port", "0", "--db", "s.db"}, error);
  ASSERT_TRUE(options.has_value()) << error;
  EXPECT_EQ(options->SubmitRate, 10);
  EXPECT_EQ(options->HandshakeRate, 10);
  EXPECT_EQ(options->MaxConnectionsPerAddress, 32);
  EXPECT_EQ(options->MaxConnections, 4096);
  EXPECT_TRUE(options->TrustProxy.empty());
  EXPECT_EQ(options->DatabaseConnections, 0);
}

TEST(ServerOptions, BindsToLoopbackByDefault) {
  std::string error;
  const auto options = server::TServerOptions::Parse({"--port", "0", "--db", "s.db"}, error);
  ASSERT_TRUE(options.has_value()) << error;
  EXPECT_EQ(options->Bind, "127.0.0.1");
  EXPECT_EQ(options->Port, 0);
}

struct RefusedCase {
  const char* Name;
  Args Arguments;
};

const RefusedCase kRefused[] = {
    {"Nothing", {}},
    {"NoDatabase", {"--port", "1"}},
    {"NoPort", {"--db", "s.db"}},
    {"PortTooHigh", {"--port", "65536", "--db", "s.db"}},
    {"NegativePort", {"--port", "-1", "--db", "s.db"}},
    {"PortNotANumber", {"--port", "80x", "--db", "s.db"}},
    {"NoThreads", {"--port", "1", "--db", "s.db", "--threads", "0"}},
    {"TooManyThreads", {"--port", "1", "--db", "s.db", "--threads", "65"}},
    {"NoDatabaseConnections", {"--port", "1", "--db", "s.db", "--db-connections", "0"}},
    {"TooManyDatabaseConnections", {"--port", "1", "--db", "s.db", "--db-connections", "65"}},
    {"MissingValue", {"--port", "1", "--db"}},
    {"UnknownOption", {"--port", "1", "--db", "s.db", "--verbose"}},
    {"NoConnections", {"--port", "1", "--db", "s.db", "--max-connections", "0"}},
    {"NegativeRate", {"--port", "1", "--db", "s.db", "--submit-rate", "-1"}},
    {"RateNotANumber", {"--port", "1", "--db", "s.db", "--handshake-rate", "ten"}},
    {"EmptyProxy", {"--port", "1", "--db", "s.db", "--trust-proxy", ""}},
    {"MissingSecretFile", {"--port", "1", "--db", "s.db", "--secret-file"}},
};

class RefusedOptions : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedOptions, GiveAReason) {
  std::string error;
  EXPECT_FALSE(server::TServerOptions::Parse(GetParam().Arguments, error).has_value());
  EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(Lines, RefusedOptions, ::testing::ValuesIn(kRefused),
                         [](const auto& test) { return std::string(test.param.Name); });

}  // namespace
