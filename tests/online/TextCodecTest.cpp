// The settings files and the score submission share this encoding; these cases pin it down.

#include <gtest/gtest.h>

#include <string>

#include "online/TextCodec.h"

namespace {

struct CodecCase {
  const char* Name;
  std::string Plain;
  std::string Encoded;
};

// Encoded forms worked out from the bit strings, five bits a symbol.
const CodecCase kCases[] = {
    {"FiveZeroBytes", std::string(5, '\0'), "QQQQQQQQ"},
    {"FiveFFBytes", std::string(5, '\xFF'), "11111111"},
    {"False", "false", "G7LM845Y"},
};

class TextCodecTable : public ::testing::TestWithParam<CodecCase> {};

TEST_P(TextCodecTable, EncodesAndDecodesBack) {
  const auto& c = GetParam();
  EXPECT_EQ(online::EncodeText(c.Plain), c.Encoded);
  EXPECT_EQ(online::DecodeText(c.Encoded), c.Plain);
}

INSTANTIATE_TEST_SUITE_P(Known, TextCodecTable, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(TextCodec, FiveBytesGiveEightSymbols) {
  EXPECT_EQ(online::EncodeText("Ann%%").size(), 8u);
  EXPECT_EQ(online::EncodeText("0123456789").size(), 16u);
}

TEST(TextCodec, TrueComesBackWithALeadingZeroByte) {
  // Four bytes are 32 bits: padded to 35 in front, which decodes to 40 bits, one byte too many.
  EXPECT_EQ(online::DecodeText(online::EncodeText("true")), std::string("\0true", 5));
}

TEST(TextCodec, CharactersOutsideTheAlphabetAreDropped) {
  const std::string encoded = online::EncodeText("Name%");
  std::string noisy;
  for (char c : encoded) {
    noisy += c;
    noisy += "-iOz ";
  }
  EXPECT_EQ(online::DecodeText(noisy), "Name%");
}

TEST(TextCodec, ShortInputsDecodeToNothing) {
  EXPECT_EQ(online::DecodeText(""), "");
  EXPECT_EQ(online::DecodeText("Q"), "");
  EXPECT_EQ(online::DecodeText("not encoded"), "");
}

TEST(TextCodec, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int i = 0; i < 255; ++i) all.push_back(static_cast<char>(i));
  EXPECT_EQ(online::DecodeText(online::EncodeText(all)), all);
}

}  // namespace
