// The bookkeeping of the OpenGL device's resampled copies: lookups, the texel budget with the
// least recently used copy dropped first, and forgetting the copies of a deleted picture.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ResampledCopies.h"

namespace {

using platform::TResampledCopies;
using platform::TResampledKey;

TResampledKey Key(uint32_t source, int32_t width, int32_t height) {
  TResampledKey key;
  key.Source = source;
  key.Width = width;
  key.Height = height;
  key.Corners = {0, 0, 1, 0, 1, 1, 0, 1};
  return key;
}

TEST(ResampledCopiesTest, FindsACopyOnlyByItsWholeKey) {
  TResampledCopies copies(1000);
  copies.Add(Key(1, 10, 10), {50, true, 0});
  ASSERT_NE(copies.Find(Key(1, 10, 10), 1), nullptr);
  EXPECT_EQ(copies.Find(Key(1, 10, 10), 1)->Name, 50u);
  TResampledKey mirrored = Key(1, 10, 10);
  mirrored.Corners = {1, 0, 0, 0, 0, 1, 1, 1};
  TResampledKey lifted = Key(1, 10, 10);
  lifted.Lifted = true;
  for (const TResampledKey& other : {Key(2, 10, 10), Key(1, 10, 11), mirrored, lifted}) {
    EXPECT_EQ(copies.Find(other, 1), nullptr);
  }
}

TEST(ResampledCopiesTest, StaysWithinItsBudgetDroppingTheLeastRecentlyUsedFirst) {
  TResampledCopies copies(300);
  EXPECT_TRUE(copies.Add(Key(1, 10, 10), {51, false, 1}).empty());
  EXPECT_TRUE(copies.Add(Key(2, 10, 10), {52, false, 2}).empty());
  EXPECT_TRUE(copies.Add(Key(3, 10, 10), {53, false, 3}).empty());
  copies.Find(Key(1, 10, 10), 4);  // the first is used again: the second is now the oldest
  EXPECT_EQ(copies.Add(Key(4, 10, 10), {54, false, 5}), std::vector<uint32_t>{52});
  EXPECT_EQ(copies.Texels(), 300u);
  // A copy of the whole budget drops every other.
  auto dropped = copies.Add(Key(5, 10, 30), {55, false, 6});
  std::sort(dropped.begin(), dropped.end());
  EXPECT_EQ(dropped, (std::vector<uint32_t>{51, 53, 54}));
  EXPECT_EQ(copies.Count(), 1u);
  EXPECT_FALSE(copies.Fits(Key(6, 10, 31)));
  EXPECT_TRUE(copies.Fits(Key(6, 10, 30)));
}

TEST(ResampledCopiesTest, ForgetsEveryCopyOfADeletedPictureAndNoOther) {
  TResampledCopies copies(1000);
  copies.Add(Key(1, 10, 10), {51, false, 0});
  copies.Add(Key(2, 10, 10), {52, false, 0});
  copies.Add(Key(1, 5, 5), {53, false, 0});
  auto dropped = copies.ForgetSource(1);
  std::sort(dropped.begin(), dropped.end());
  EXPECT_EQ(dropped, (std::vector<uint32_t>{51, 53}));
  EXPECT_EQ(copies.Texels(), 100u);
  EXPECT_EQ(copies.Find(Key(1, 10, 10), 1), nullptr);
  EXPECT_NE(copies.Find(Key(2, 10, 10), 1), nullptr);
  EXPECT_EQ(copies.Clear(), std::vector<uint32_t>{52});
  EXPECT_EQ(copies.Texels(), 0u);
}

}  // namespace
