#include "PromoFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace promo_test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

fs::path FreshDir() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "-" + test->name();
  for (char& c : name) {
    if (c == '/') c = '-';
  }
  const fs::path dir =
      fs::path(::testing::TempDir()) / ("promo-" + std::to_string(getpid())) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

void CopyShipped(const fs::path& from, const fs::path& to) {
  fs::create_directories(to.parent_path());
  fs::copy_file(ShippedDataDir() / from, to, fs::copy_options::overwrite_existing);
}

}  // namespace

std::string JoinLines(const std::vector<std::string>& lines, const std::string& lineEnd) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += lineEnd;
    text += lines[i];
  }
  return text;
}

std::string ShippedLayoutText() {
  return ReadText(ShippedDataDir() / "wdata" / "config.ini");
}

fs::path ShippedDataDir() {
  return CLD_DATA_DIR;
}

TPromoFolder::TPromoFolder(TContent content) : Dir(FreshDir()) {
  if (content == TContent::Shipped) {
    fs::copy(ShippedDataDir() / "wdata", Dir / "wdata", fs::copy_options::recursive);
    for (const char* name : {"moregames.url", "website.url"}) CopyShipped(name, Dir / name);
    return;
  }
  const std::pair<const char*, const char*> pictures[] = {{"back", "promo_back"},
                                                          {"b1", "promo_more"},
                                                          {"b1_hover", "promo_more_hover"},
                                                          {"b2", "promo_exit"},
                                                          {"b2_hover", "promo_exit_hover"},
                                                          {"exit", "promo_exit"},
                                                          {"exit_hover", "promo_exit_hover"},
                                                          {"exit_wait", "promo_exit_wait"}};
  for (const auto& [name, shipped] : pictures) {
    CopyShipped(fs::path("wdata") / (std::string(shipped) + ".png"),
                Dir / "wdata" / (std::string(name) + ".png"));
  }
  Write("first.url", "[InternetShortcut]\r\nURL=https://example.org/first\r\n");
  Write("setup/installer.sh", "#!/bin/sh\n");
  WriteLayout(kLayoutLines);
}

TPromoFolder::~TPromoFolder() {
  std::error_code error;
  fs::remove_all(Dir, error);
}

void TPromoFolder::Write(const std::string& relative, const std::string& bytes) const {
  const fs::path file = Dir / relative;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

void TPromoFolder::WriteLayout(const std::vector<std::string>& lines) const {
  Write("wdata/config.ini", JoinLines(lines, "\r\n") + "\r\n");
}

void TPromoFolder::Remove(const std::string& relative) const {
  fs::remove(Dir / relative);
}

}  // namespace promo_test
