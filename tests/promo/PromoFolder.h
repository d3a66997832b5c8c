#pragma once
// Shared pieces of the promotion tests: a test layout, and a data folder of its own for each
// test holding the shipped promotion pictures and shortcuts.

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

namespace promo_test {

/// A layout with two link buttons and the exit button, naming pictures a TPromoFolder holds.
inline const std::vector<std::string> kLayoutLines = {
    "3",
    "wdata\\back.png",
    "10 20 30 40",
    "11 21 100 50",
    "wdata\\b1.png",
    "wdata\\b1_hover.png",
    "first.url",
    "200 20 0 0",
    "200 21 120 60",
    "wdata\\b2.png",
    "wdata\\b2_hover.png",
    "setup\\installer.sh",
    "310 480 0 0",
    "312 482 180 54",
    "314 484 7 8",
    "wdata\\exit.png",
    "wdata\\exit_hover.png",
    "wdata\\exit_wait.png",
    "400 502",
    "5",
    "255 210 120",
    "TRUE",
    "22",
};

/// Names a parameterised test after the letters and digits of its case's Name.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& testCase) {
  std::string name;
  for (const char c : std::string(testCase.param.Name)) {
    if (std::isalnum(static_cast<unsigned char>(c))) name += c;
  }
  return name;
}

/// Lines joined with the given line end after each but the last.
std::string JoinLines(const std::vector<std::string>& lines, const std::string& lineEnd);

/// The text of the layout file the build ships.
std::string ShippedLayoutText();

/// The data folder the build fills.
std::filesystem::path ShippedDataDir();

/// A fresh data folder for one test (removed afterwards): either a copy of the shipped
/// promotion files, or the test layout with the shipped pictures under its own names, the
/// shortcut "first.url" and the file "setup/installer.sh".
class TPromoFolder {
 public:
  enum class TContent { Shipped, TestLayout };

  explicit TPromoFolder(TContent content);
  ~TPromoFolder();
  TPromoFolder(const TPromoFolder&) = delete;
  TPromoFolder& operator=(const TPromoFolder&) = delete;

  /// Writes a file (folders made as needed) below the data folder.
  void Write(const std::string& relative, const std::string& bytes) const;
  /// Writes the layout file from lines.
  void WriteLayout(const std::vector<std::string>& lines) const;
  /// Removes a file below the data folder.
  void Remove(const std::string& relative) const;

  std::filesystem::path Dir;
};

}  // namespace promo_test
