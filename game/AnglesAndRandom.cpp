#include "AnglesAndRandom.h"

#include <algorithm>
#include <cmath>

namespace game {

double CosDeg(double degrees) {
  return std::cos(degrees * DegToRad);
}

double SinDeg(double degrees) {
  return std::sin(degrees * DegToRad);
}

double ArcTanDeg(double value) {
  return std::atan(value) * RadToDeg;
}

double ArcTan2Deg(double y, double x) {
  return std::atan2(y, x) * RadToDeg;
}

int64_t NearestEven(double value) {
  constexpr double kLimit = 9.0e18;
  return static_cast<int64_t>(std::nearbyint(std::clamp(value, -kLimit, kLimit)));
}

int32_t RandomBelow(std::mt19937& random, int32_t range) {
  if (range <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(random()) * static_cast<uint64_t>(range)) >>
                              32);
}

}  // namespace game
