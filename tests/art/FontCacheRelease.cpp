// The pictures are drawn with Cairo, whose font caches (and fontconfig's) live as long as the
// process; they are released once the tests are done, so leak checks see a clean heap.

#include <gtest/gtest.h>

#include "FontCheck.h"

namespace {

/// Releases the font caches after the last test of the process.
class TFontCacheRelease : public ::testing::Environment {
 public:
  void TearDown() override { artgen::ReleaseFontCaches(); }
};

[[maybe_unused]] const ::testing::Environment* const kFontCacheRelease =
    ::testing::AddGlobalTestEnvironment(new TFontCacheRelease);

}  // namespace
