// Checks of the desktop icons that art-gen draws from the logo: square at the sizes the
// hicolor theme gets, a rounded plate with see-through corners, and one drawing at every size.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "PngImage.h"

namespace arttest {
namespace {

PngImage Icon(int size) {
  return PngImage(std::string(DESKTOP_ICON_DIR) + "/icon_" + std::to_string(size) + ".png");
}

// The area of a picture of the given size that one square of a grid x grid split covers.
Area GridSquare(int size, int grid, int column, int row) {
  const int step = size / grid;
  return {column * step, row * step, step, step};
}

class DesktopIcon : public ::testing::TestWithParam<int> {};

TEST_P(DesktopIcon, IsASquareOfItsSizeWithAnOpaquePlateAndClearCorners) {
  const int size = GetParam();
  const PngImage icon = Icon(size);
  ASSERT_TRUE(icon.Valid());
  EXPECT_EQ(icon.Width, size);
  EXPECT_EQ(icon.Height, size);
  const int quarter = size / 4;
  EXPECT_EQ(icon.OpaqueShare({quarter, quarter, 2 * quarter, 2 * quarter}, 250), 1.0);
  for (const auto& [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}}) {
    EXPECT_LT(icon.At(x, y).A, 64) << "corner " << x << "," << y << " of the " << size << " icon";
  }
}

TEST_P(DesktopIcon, ShowsTheSameDrawingAsTheLargestIcon) {
  const int size = GetParam();
  const PngImage icon = Icon(size);
  const PngImage largest = Icon(256);
  ASSERT_TRUE(icon.Valid() && largest.Valid());
  constexpr int kGrid = 4;
  for (int row = 0; row < kGrid; ++row) {
    for (int column = 0; column < kGrid; ++column) {
      const double small = icon.MeanLuminance(GridSquare(size, kGrid, column, row));
      const double large = largest.MeanLuminance(GridSquare(256, kGrid, column, row));
      EXPECT_NEAR(small, large, 12.0)
          << "square " << column << "," << row << " of the " << size << " icon";
    }
  }
}

TEST(DesktopIconLook, InitialsStandOutBrightlyFromThePlate) {
  const PngImage icon = Icon(256);
  ASSERT_TRUE(icon.Valid());
  const double letters = icon.MeanLuminance({40, 140, 176, 60});
  const double sky = icon.MeanLuminance({40, 200, 176, 36});
  EXPECT_GT(letters, sky + 60);
}

INSTANTIATE_TEST_SUITE_P(HicolorSizes, DesktopIcon, ::testing::Values(48, 128, 256));

}  // namespace
}  // namespace arttest
