// Tokens guard the scores: ten minutes at most, and none made up by a client or another secret.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "server/TokenSigner.h"

namespace {

using server::TTokenSigner;

constexpr int64_t kNow = 1'800'000'000;
const TTokenSigner kSigner(std::string(32, 'k'));

TEST(TokenSigner, TokensAre32HexDigitsAndDiffer) {
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) {
    const std::string token = kSigner.Issue(kNow);
    ASSERT_EQ(token.size(), 32u);
    ASSERT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos);
    seen.insert(token);
  }
  EXPECT_EQ(seen.size(), 1000u);
}

TEST(TokenSigner, ATokenHoldsForItsLifetimeOnly) {
  const std::string token = kSigner.Issue(kNow);
  EXPECT_EQ(kSigner.Check(token, kNow), kNow + TTokenSigner::kLifetimeSeconds);
  EXPECT_TRUE(kSigner.Check(token, kNow + TTokenSigner::kLifetimeSeconds - 1));
  EXPECT_FALSE(kSigner.Check(token, kNow + TTokenSigner::kLifetimeSeconds));
}

TEST(TokenSigner, AnotherProcessWithTheSameSecretAcceptsIt) {
  const TTokenSigner other(std::string(32, 'k'));
  EXPECT_TRUE(other.Check(kSigner.Issue(kNow), kNow + 1));
}

struct ForgedCase {
  const char* Name;
  std::string Token;
};

std::string Flipped(std::string token, size_t at) {
  token[at] = token[at] == '0' ? '1' : '0';
  return token;
}

class ForgedTokens : public ::testing::TestWithParam<ForgedCase> {};

TEST_P(ForgedTokens, AreRefused) {
  EXPECT_FALSE(kSigner.Check(GetParam().Token, kNow));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ForgedTokens,
    ::testing::Values(ForgedCase{"Empty", ""}, ForgedCase{"AllZero", std::string(32, '0')},
                      ForgedCase{"OtherSecret", TTokenSigner(std::string(32, 'x')).Issue(kNow)},
                      ForgedCase{"LaterExpiry", Flipped(kSigner.Issue(kNow), 6)},
                      ForgedCase{"OtherRandomPart", Flipped(kSigner.Issue(kNow), 12)},
                      ForgedCase{"OtherSignature", Flipped(kSigner.Issue(kNow), 31)},
                      ForgedCase{"UpperCase",
                                 [] {
                                   std::string token = kSigner.Issue(kNow);
                                   for (char& c : token) c = static_cast<char>(std::toupper(c));
                                   return token;
                                 }()},
                      ForgedCase{"Truncated", kSigner.Issue(kNow).substr(0, 31)},
                      ForgedCase{"Longer", kSigner.Issue(kNow) + "0"},
                      ForgedCase{"ExpiryBeyondLifetime",
                                 TTokenSigner(std::string(32, 'k')).Issue(kNow + 3600)}),
    [](const auto& test) { return std::string(test.param.Name); });

TEST(TokenSigner, RefusesAShortSecret) {
  EXPECT_THROW(TTokenSigner(std::string(15, 'k')), std::runtime_error);
}

}  // namespace
