#include "TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace gametest {

std::string FreshDir(const std::string& tag) {
  namespace fs = std::filesystem;
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("cld-") + tag + "-" + test->test_suite_name() + "-" + test->name();
  // Parameterised tests carry "/" in their names.
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  const fs::path dir = fs::path(::testing::TempDir()) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

}  // namespace gametest
