// The promotion layout must read as the game reads it: number lines of single-blank
// separated integers, text lines naming files that exist, and pictures the size of their
// button boxes. The web shortcuts are Internet Shortcut files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "PngImage.h"

namespace arttest {
namespace {

namespace fs = std::filesystem;

class PromoLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(fs::path(CLD_DATA_DIR) / "wdata" / "config.ini", std::ios::binary);
    ASSERT_TRUE(in) << "wdata/config.ini missing";
    std::string line;
    while (std::getline(in, line)) Lines.push_back(line);
  }

  std::string Text() {
    EXPECT_LT(Next, Lines.size()) << "layout ends early";
    return Next < Lines.size() ? Lines[Next++] : std::string{};
  }

  std::vector<int> Numbers(std::size_t count) {
    const std::string line = Text();
    EXPECT_TRUE(std::regex_match(line, std::regex(R"(-?\d+( -?\d+)*)"))) << "\"" << line << "\"";
    std::istringstream in(line);
    std::vector<int> v;
    int n = 0;
    while (in >> n) v.push_back(n);
    EXPECT_GE(v.size(), count) << line;
    v.resize(std::max(v.size(), count));
    return v;
  }

  // The data-folder file a game path names ("wdata\back.png" is <data>/wdata/back.png).
  static fs::path GameFile(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return fs::path(CLD_DATA_DIR) / name;
  }

  PngImage Picture() {
    const fs::path file = GameFile(Text());
    EXPECT_TRUE(fs::exists(file)) << file;
    return PngImage(file);
  }

  std::vector<std::string> Lines;
  std::size_t Next = 0;
};

TEST_F(PromoLayout, ReadsToTheEndWithEveryFilePresent) {
  const int buttons = Numbers(1)[0];
  ASSERT_GE(buttons, 2);
  const PngImage back = Picture();
  EXPECT_EQ(back.Width, 800);
  EXPECT_EQ(back.Height, 600);
  std::vector<int> idle;
  PngImage idlePicture(fs::path{});
  for (int b = 1; b <= buttons; ++b) {
    SCOPED_TRACE("button " + std::to_string(b));
    const auto hover = Numbers(4);
    const auto box = Numbers(4);
    const bool exit = b == buttons;
    if (exit) idle = Numbers(4);
    const PngImage normal = Picture();
    const PngImage lit = Picture();
    for (const PngImage* p : {&normal, &lit}) {
      EXPECT_EQ(p->Width, box[2]);
      EXPECT_EQ(p->Height, box[3]);
    }
    EXPECT_GE(box[0], 0);
    EXPECT_LE(box[0] + box[2], 800);
    EXPECT_LE(box[1] + box[3], 600);
    EXPECT_EQ(hover[0], box[0]);
    EXPECT_EQ(hover[1], box[1]);
    if (exit) {
      idlePicture = Picture();
    } else {
      const fs::path action = GameFile(Text());
      EXPECT_TRUE(fs::exists(action)) << action;
      EXPECT_EQ(action.filename(), "moregames.url");
    }
  }
  const auto centre = Numbers(2);
  EXPECT_GE(centre[0], idle[0]);
  EXPECT_LE(centre[0], idle[0] + idlePicture.Width) << "countdown off the exit button";
  EXPECT_GE(centre[1], idle[1]);
  EXPECT_LE(centre[1], idle[1] + idlePicture.Height) << "countdown off the exit button";
  EXPECT_GE(Numbers(1)[0], 2) << "countdown length";
  for (const int c : Numbers(3)) {
    EXPECT_GE(c, 0);
    EXPECT_LE(c, 255);
  }
  if (Text() == "TRUE") {
    EXPECT_GT(Numbers(1)[0], 0) << "font size";
  }
  EXPECT_EQ(Next, Lines.size()) << "lines left over";
}

TEST(WebShortcuts, AreInternetShortcutsAndNoExitPageIsShipped) {
  for (const char* name : {"moregames.url", "website.url"}) {
    std::ifstream in(fs::path(CLD_DATA_DIR) / name);
    ASSERT_TRUE(in) << name;
    std::string header, url;
    std::getline(in, header);
    std::getline(in, url);
    EXPECT_EQ(header, "[InternetShortcut]") << name;
    EXPECT_EQ(url.rfind("URL=http://127.0.0.1:8080/", 0), 0u) << name << ": " << url;
  }
  EXPECT_FALSE(fs::exists(fs::path(CLD_DATA_DIR) / "play.url"));
}

}  // namespace
}  // namespace arttest
