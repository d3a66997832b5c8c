// The same sources must give the same pictures, byte for byte.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace arttest {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Reproducible : public ::testing::Test {
 protected:
  void SetUp() override {
    Root = fs::temp_directory_path() / ("art-repro-" + std::to_string(getpid()));
    fs::create_directories(Root);
  }
  void TearDown() override { fs::remove_all(Root); }

  int Generate(const std::string& list, const fs::path& out, const std::string& extra) const {
    const std::string command = std::string("\"") + ART_GEN_EXE + "\" --list \"" + ART_SOURCE_DIR +
                                "/" + list + "\" --out \"" + out.string() + "\" --manifest \"" +
                                (out / "list.pack").string() + "\" " + extra;
    return std::system(command.c_str());
  }

  void ExpectSameFiles(const fs::path& a, const fs::path& b) const {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(a)) {
      const fs::path other = b / entry.path().filename();
      ASSERT_TRUE(fs::exists(other)) << other;
      EXPECT_EQ(ReadAll(entry.path()), ReadAll(other)) << entry.path().filename();
      ++files;
    }
    EXPECT_EQ(files, std::distance(fs::directory_iterator(b), fs::directory_iterator{}));
    EXPECT_GT(files, 1);
  }

  fs::path Root;
};

TEST_F(Reproducible, RaceListComesOutTheSameTwice) {
  const std::string sizes = std::string("--sizes \"") + RACE_SIZES_FILE + "\"";
  ASSERT_EQ(Generate("race.art", Root / "a", sizes), 0);
  ASSERT_EQ(Generate("race.art", Root / "b", sizes), 0);
  ExpectSameFiles(Root / "a", Root / "b");
}

TEST_F(Reproducible, MenuListComesOutTheSameTwice) {
  const std::string inputs = std::string("--inputs \"") + ART_BUILD_DIR + "/tracks\"";
  ASSERT_EQ(Generate("menu.art", Root / "a", inputs), 0);
  ASSERT_EQ(Generate("menu.art", Root / "b", inputs), 0);
  ExpectSameFiles(Root / "a", Root / "b");
}

}  // namespace
}  // namespace arttest
