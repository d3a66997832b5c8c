// The score service address: command line first, then the settings file, then the default.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ScoreServerProcess.h"
#include "online/ScoreServerAddress.h"

namespace {

struct AddressCase {
  const char* Name;
  std::string Option;
  bool WriteFile;
  std::string FileText;
  std::string Expected;
};

const AddressCase kCases[] = {
    {"Default", "", false, "", "http://127.0.0.1:8080"},
    {"Option", "http://scores.example:9000", false, "", "http://scores.example:9000"},
    {"OptionWinsOverFile", "http://a:1", true, "http://b:2\n", "http://a:1"},
    {"OptionTrailingSlash", "http://a:1/", false, "", "http://a:1"},
    {"File", "", true, "http://b:2\n", "http://b:2"},
    {"FileWithBlanksAndCrLf", "", true, "  https://b.example/ \r\nsecond line\n",
     "https://b.example"},
    {"FileWithoutNewline", "", true, "http://b:2", "http://b:2"},
    {"EmptyFile", "", true, "", "http://127.0.0.1:8080"},
    {"FileNotAnAddress", "", true, "scores.example\n", "http://127.0.0.1:8080"},
    {"FileOtherScheme", "", true, "ftp://b:2\n", "http://127.0.0.1:8080"},
    {"FileSchemeOnly", "", true, "http://\n", "http://127.0.0.1:8080"},
    {"FileBlankInside", "", true, "http://a b\n", "http://127.0.0.1:8080"},
};

class ScoreServerAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(ScoreServerAddress, Resolves) {
  const auto& c = GetParam();
  servertest::TTempFolder folder;
  if (c.WriteFile) std::ofstream(folder.Path() + "/score-server") << c.FileText;
  EXPECT_EQ(online::ResolveScoreServer(c.Option, folder.Path()), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Settings, ScoreServerAddress, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(ScoreServerAddressFile, AFolderInItsPlaceGivesTheDefault) {
  servertest::TTempFolder folder;
  std::filesystem::create_directory(folder.Path() + "/score-server");
  EXPECT_EQ(online::ResolveScoreServer("", folder.Path()), online::kDefaultScoreServer);
}

}  // namespace
