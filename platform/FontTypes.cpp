#include "FontTypes.h"

#include <cstdlib>

namespace platform {

int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator) {
  if (denominator == 0) return 0;
  const int64_t product = static_cast<int64_t>(number) * numerator;
  const int64_t magnitude = (std::llabs(product) * 2 + std::llabs(denominator)) /
                            (2 * std::llabs(static_cast<int64_t>(denominator)));
  const bool negative = (product < 0) != (denominator < 0);
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

int32_t PointsToPixels(int32_t points, int32_t dotsPerInch) {
  return MulDiv(points, dotsPerInch, 72);
}

}  // namespace platform
