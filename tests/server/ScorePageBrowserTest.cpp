// The world score page as a player sees it: Debian's Chromium renders it headless.

#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "ScoreServerProcess.h"
#include "online/ScoreSubmission.h"
#include "online/TextCodec.h"

namespace {

using servertest::TScoreServerProcess;
using servertest::TTempFolder;

const char* FindChromium() {
  for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"}) {
    if (std::filesystem::exists(path)) return path;
  }
  return nullptr;
}

void Submit(httplib::Client& http, const std::string& name, int64_t score) {
  const auto handshake = http.Get("/cgi/version.pl?version&prg=CometLaneDerby");
  ASSERT_TRUE(handshake);
  const std::string plain =
      online::PlainSubmissionText(name, score, online::HandshakeToken(handshake->body), "");
  const auto stored =
      http.Get("/cgi/version.pl?hs&prg=CometLaneDerby&inf=" + online::EncodeText(plain));
  ASSERT_TRUE(stored);
  ASSERT_EQ(stored->status, 200);
}

// Runs Chromium headless with the given extra arguments on the address; its standard output.
std::string RunChromium(const char* chromium, const std::string& profile,
                        const std::string& arguments, const std::string& address) {
  const std::string command = std::string("timeout 120 ") + chromium +
                              " --headless --no-sandbox --disable-gpu --no-first-run"
                              " --disable-extensions --user-data-dir=" +
                              profile + " " + arguments + " '" + address + "' 2>/dev/null";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    pclose(pipe);
  }
  return output;
}

TEST(ScorePageBrowser, ChromiumRendersTheTable) {
  const char* chromium = FindChromium();
  if (!chromium) GTEST_SKIP() << "Debian's chromium is not installed (scripts/install-deps.sh)";
  TTempFolder folder;
  TScoreServerProcess server(folder.Path() + "/scores.db");
  httplib::Client http("127.0.0.1", server.Port());
  Submit(http, "Ann", 1200);
  Submit(http, "<b>Bob</b>", 3400);
  Submit(http, "\xC0\xED\xED\xE0", 800);  // "Анна" in code page 1251
  const std::string address =
      server.Address() + "/cgi/version.pl?" + std::string(online::kScorePageQuery);

  const std::string dom = RunChromium(chromium, folder.Path() + "/profile", "--dump-dom", address);
  ASSERT_NE(dom.find("<table id=\"scores\">"), std::string::npos) << dom;
  const size_t bob = dom.find("<td class=\"name\">&lt;b&gt;Bob&lt;/b&gt;</td>");
  const size_t ann = dom.find("<td class=\"name\">Ann</td>");
  const size_t anna = dom.find("<td class=\"name\">\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0</td>");
  EXPECT_NE(bob, std::string::npos) << dom;
  EXPECT_NE(anna, std::string::npos) << dom;
  EXPECT_LT(bob, ann);
  EXPECT_LT(ann, anna);
  EXPECT_EQ(dom.find("<b>"), std::string::npos) << "a name became markup";

  const std::string shot = SCORE_PAGE_SCREENSHOT;
  std::filesystem::remove(shot);
  RunChromium(chromium, folder.Path() + "/profile",
              "--hide-scrollbars --window-size=800,600 --screenshot=" + shot, address);
  ASSERT_TRUE(std::filesystem::exists(shot));
  EXPECT_GT(std::filesystem::file_size(shot), 1000u);
}

}  // namespace
