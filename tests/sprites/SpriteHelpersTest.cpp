// World-to-pixel rounding and the colour packing helpers.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>

#include "engine/VexelSprite.h"

namespace {

struct TRoundCase {
  long double Value;
  int32_t Expected;
  friend void PrintTo(const TRoundCase& c, std::ostream* os) {
    *os << static_cast<double>(c.Value) << " -> " << c.Expected;
  }
};

class RoundCoordTest : public ::testing::TestWithParam<TRoundCase> {};

TEST_P(RoundCoordTest, RoundsHalfAwayFromZeroToTheTenThousandth) {
  EXPECT_EQ(vexel::RoundCoord(GetParam().Value), GetParam().Expected)
      << static_cast<double>(GetParam().Value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RoundCoordTest,
    ::testing::Values(TRoundCase{0.0L, 0}, TRoundCase{-0.0L, 0}, TRoundCase{2.5L, 3},
                      TRoundCase{-2.5L, -3}, TRoundCase{0.5L, 1}, TRoundCase{-0.5L, -1},
                      TRoundCase{1.5L, 2}, TRoundCase{3.7L, 4}, TRoundCase{-3.7L, -4},
                      TRoundCase{3.2L, 3}, TRoundCase{-3.2L, -3},
                      // Within half of one ten-thousandth below a half counts as the half
                      // (2.49995 lands on a tie that rounds to the even 30000).
                      TRoundCase{2.49995, 3}, TRoundCase{-2.49995, -3}, TRoundCase{0.49999L, 1},
                      TRoundCase{2.49996L, 3}, TRoundCase{2.4999L, 2}, TRoundCase{-2.4999L, -2},
                      TRoundCase{0.4999L, 0}, TRoundCase{1000000.5L, 1000001},
                      TRoundCase{-1000000.4L, -1000000}, TRoundCase{2147483.5L, 2147484},
                      TRoundCase{-123456789.25L, -123456789},
                      TRoundCase{2147483647.0L, std::numeric_limits<int32_t>::max()},
                      TRoundCase{-2147483648.0L, std::numeric_limits<int32_t>::min()},
                      TRoundCase{1e15L, std::numeric_limits<int32_t>::max()},
                      TRoundCase{-1e15L, std::numeric_limits<int32_t>::min()}));

TEST(RoundCoord, SinglePrecisionPositionsRoundByTheirStoredValue) {
  // 2.49995f is stored as 2.4999499..., more than half a ten-thousandth below 2.5.
  EXPECT_EQ(vexel::RoundCoord(2.49995f), 2);
  EXPECT_EQ(vexel::RoundCoord(-64.5f), -65);
}

struct TArgbCase {
  int32_t Red, Green, Blue, Alpha;
  uint32_t Expected;
  friend void PrintTo(const TArgbCase& c, std::ostream* os) {
    *os << c.Red << "," << c.Green << "," << c.Blue << "," << c.Alpha << " -> " << std::hex
        << c.Expected;
  }
};

class ARGBColorTest : public ::testing::TestWithParam<TArgbCase> {};

TEST_P(ARGBColorTest, PacksTheLowByteOfEachComponent) {
  const TArgbCase& c = GetParam();
  EXPECT_EQ(vexel::ARGBColor(c.Red, c.Green, c.Blue, c.Alpha), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ARGBColorTest,
                         ::testing::Values(TArgbCase{255, 255, 255, 255, 0xFFFFFFFFu},
                                           TArgbCase{0x12, 0x34, 0x56, 0x78, 0x78123456u},
                                           TArgbCase{0x1FF, 0x80, -1, 0x7F, 0x7FFF80FFu},
                                           TArgbCase{256, 0, 0, 100, 0x64000000u}));

struct TSystemColorCase {
  uint32_t Color;
  uint32_t Expected;
  friend void PrintTo(const TSystemColorCase& c, std::ostream* os) {
    *os << std::hex << c.Color << " -> " << c.Expected;
  }
};

class ColorToARGBTest : public ::testing::TestWithParam<TSystemColorCase> {};

TEST_P(ColorToARGBTest, SwapsRedAndBlueAndMakesOpaque) {
  EXPECT_EQ(vexel::ColorToARGB(GetParam().Color), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColorToARGBTest,
    ::testing::Values(
        TSystemColorCase{0x00000000u, 0xFF000000u}, TSystemColorCase{0x000000FFu, 0xFFFF0000u},
        TSystemColorCase{0x00FF0000u, 0xFF0000FFu}, TSystemColorCase{0x00336699u, 0xFF996633u},
        TSystemColorCase{0x00FFFFFFu, 0xFFFFFFFFu},
        // Above 0xFFFFFF the value passes through: -1 is opaque white.
        TSystemColorCase{static_cast<uint32_t>(-1), 0xFFFFFFFFu},
        TSystemColorCase{0x01000000u, 0x01000000u}, TSystemColorCase{0x80000005u, 0x80000005u}));

}  // namespace
