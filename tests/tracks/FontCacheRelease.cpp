// Track pictures draw their labels with Cairo, whose font caches (and fontconfig's) live as long
// as the process; they are released once the tests are done, so leak checks see a clean heap.

#include <gtest/gtest.h>

#include "TrackRender.h"

namespace {

/// Releases the font caches after the last test of the process.
class TFontCacheRelease : public ::testing::Environment {
 public:
  void TearDown() override { tracktool::ReleaseFontCaches(); }
};

[[maybe_unused]] const ::testing::Environment* const kFontCacheRelease =
    ::testing::AddGlobalTestEnvironment(new TFontCacheRelease);

}  // namespace
