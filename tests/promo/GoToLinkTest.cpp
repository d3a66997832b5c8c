// Link files: a ".url" shortcut opens the web address on its URL= line, any other file beside
// the game is handed to the desktop as it is, and a missing file opens nothing. The desktop
// is a recorder here; the real opener never runs in tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PromoFolder.h"
#include "online/GoToLink.h"

namespace {

namespace fs = std::filesystem;
using promo_test::TPromoFolder;

class GoToLinkTest : public ::testing::Test {
 protected:
  GoToLinkTest()
      : Folder(TPromoFolder::TContent::Shipped),
        Links(Folder.Dir, [this](const std::string& target) {
          Opened.push_back(target);
          return OpenerStarts;
        }) {}

  TPromoFolder Folder;
  std::vector<std::string> Opened;
  bool OpenerStarts = true;
  online::TGoToLink Links;
};

struct TShortcutCase {
  const char* Name;
  const char* Text;
  const char* Url;  // empty: nothing may be opened
};

const std::vector<TShortcutCase> kShortcuts = {
    {"plain", "[InternetShortcut]\nURL=http://127.0.0.1:8080/more\n", "http://127.0.0.1:8080/more"},
    {"windows line ends", "[InternetShortcut]\r\nURL=https://example.org/a?b=c\r\n",
     "https://example.org/a?b=c"},
    {"key in any case and blanks", "[internetshortcut]\n  url = HTTPS://example.org/x  \n",
     "HTTPS://example.org/x"},
    {"other keys first", "[InternetShortcut]\nIDList=\nIconIndex=0\nURL=http://h/p\n",
     "http://h/p"},
    {"base address of another section is skipped",
     "[DEFAULT]\nBASEURL=http://wrong/\nURL=http://wrong/\n[InternetShortcut]\nURL=http://right/\n",
     "http://right/"},
    {"address in another section only", "[InternetShortcut]\nIconIndex=0\n[Other]\nURL=http://x/\n",
     ""},
    {"no URL line", "[InternetShortcut]\nIconIndex=0\n", ""},
    {"empty address", "[InternetShortcut]\nURL=\n", ""},
    {"local file address", "[InternetShortcut]\nURL=file:///etc/passwd\n", ""},
    {"script address", "[InternetShortcut]\nURL=javascript:alert(1)\n", ""},
    {"address looking like an option", "[InternetShortcut]\nURL=--help\n", ""},
    {"address with a blank inside", "[InternetShortcut]\nURL=http://a b/\n", ""},
    {"address without a host", "[InternetShortcut]\nURL=http:///path\n", ""},
    {"not a shortcut at all", "\x89PNG\r\n\x1a\n\0\0binary", ""},
};

void PrintTo(const TShortcutCase& c, std::ostream* out) {
  *out << c.Name;
}

class ShortcutCases : public GoToLinkTest, public ::testing::WithParamInterface<TShortcutCase> {};

TEST_P(ShortcutCases, OpenTheAddressOnTheirUrlLineOrNothing) {
  Folder.Write("link.url", GetParam().Text);
  const std::string url = GetParam().Url;
  EXPECT_EQ(Links.OpenLinkFile("link.url"), !url.empty());
  if (url.empty()) {
    EXPECT_TRUE(Opened.empty()) << Opened.front();
  } else {
    EXPECT_EQ(Opened, std::vector<std::string>{url});
  }
}

INSTANTIATE_TEST_SUITE_P(Shortcuts, ShortcutCases, ::testing::ValuesIn(kShortcuts),
                         promo_test::CaseName<TShortcutCase>);

TEST_F(GoToLinkTest, ShippedShortcutsOpenTheirAddresses) {
  EXPECT_TRUE(Links.OpenLinkFile("moregames.url"));
  EXPECT_TRUE(Links.OpenLinkFile("website.url"));
  EXPECT_EQ(Opened, (std::vector<std::string>{"http://127.0.0.1:8080/moregames",
                                              "http://127.0.0.1:8080/"}));
}

TEST_F(GoToLinkTest, OtherFilesAreHandedOverAsTheyAreByTheirFullPath) {
  Folder.Write("setup/Installer.SH", "#!/bin/sh\n");
  Folder.Write("notes.URL.txt", "[InternetShortcut]\nURL=http://not-followed/\n");
  EXPECT_TRUE(Links.OpenLinkFile("setup\\Installer.SH"));
  EXPECT_TRUE(Links.OpenLinkFile("notes.URL.txt"));
  ASSERT_EQ(Opened.size(), 2u);
  EXPECT_EQ(fs::path(Opened[0]), fs::absolute(Folder.Dir / "setup" / "Installer.SH"));
  EXPECT_EQ(fs::path(Opened[1]), fs::absolute(Folder.Dir / "notes.URL.txt"));
}

TEST_F(GoToLinkTest, ShortcutExtensionInCapitalsIsStillAShortcut) {
  Folder.Write("BIG.URL", "[InternetShortcut]\nURL=http://big/\n");
  EXPECT_TRUE(Links.OpenLinkFile("BIG.URL"));
  EXPECT_EQ(Opened, std::vector<std::string>{"http://big/"});
}

TEST_F(GoToLinkTest, MissingOrOutsideFilesOpenNothing) {
  Folder.Write("../outside.txt", "x");
  fs::create_directories(Folder.Dir / "folder.url");
  for (const char* name : {"play.url", "missing.exe", "wdata\\missing.url", "folder.url",
                           "..\\outside.txt", "wdata/../../outside.txt", "/etc/hostname", ""}) {
    EXPECT_FALSE(Links.OpenLinkFile(name)) << name;
  }
  EXPECT_FALSE(Links.OpenPlayLink());
  EXPECT_TRUE(Opened.empty());
}

TEST_F(GoToLinkTest, PlayLinkOpensWhenItExists) {
  Folder.Write("play.url", "[InternetShortcut]\nURL=http://127.0.0.1:8080/play\n");
  EXPECT_TRUE(Links.OpenPlayLink());
  EXPECT_EQ(Opened, std::vector<std::string>{"http://127.0.0.1:8080/play"});
}

TEST_F(GoToLinkTest, OpenerThatCannotStartIsReported) {
  OpenerStarts = false;
  EXPECT_FALSE(Links.OpenLinkFile("moregames.url"));
  EXPECT_EQ(Opened.size(), 1u);
}

TEST(GameDataFile, ResolvesGamePathsInsideTheDataFolderOnly) {
  const fs::path data = "/games/cld/data";
  EXPECT_EQ(online::GameDataFile(data, "wdata\\promo_back.png"), data / "wdata/promo_back.png");
  EXPECT_EQ(online::GameDataFile(data, "moregames.url"), data / "moregames.url");
  EXPECT_EQ(online::GameDataFile(data, "a\\..b\\c"), data / "a/..b/c");
  for (const char* outside : {"", "..", "..\\x", "wdata\\..\\..\\x", "/etc/passwd", "\\x"}) {
    EXPECT_EQ(online::GameDataFile(data, outside), std::nullopt) << outside;
  }
}

}  // namespace
