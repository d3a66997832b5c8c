#pragma once
// Test support: a fresh folder per running test, so tests can run side by side.

#include <string>

namespace gametest {

/// A new empty folder under the test temporary directory, named after the running test and
/// `tag`; whatever an earlier run left there is removed first.
std::string FreshDir(const std::string& tag);

}  // namespace gametest
