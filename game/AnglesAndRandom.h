#pragma once
// Degree trigonometry, rounding and the game's random numbers, as the race arithmetic uses them.

#include <cstdint>
#include <numbers>
#include <random>

namespace game {

/// Degrees to radians (π/180) and back.
inline constexpr double DegToRad = std::numbers::pi / 180.0;
inline constexpr double RadToDeg = 180.0 / std::numbers::pi;

/// Cosine of an angle in degrees.
double CosDeg(double degrees);
/// Sine of an angle in degrees.
double SinDeg(double degrees);
/// Arc tangent in degrees.
double ArcTanDeg(double value);
/// Angle of (x, y) in degrees, -180 .. 180.
double ArcTan2Deg(double y, double x);
/// The nearest integer, ties to even, as a 64-bit integer.
int64_t NearestEven(double value);
/// A random integer 0 .. range - 1 from the game's generator (0 when range is 0 or less).
int32_t RandomBelow(std::mt19937& random, int32_t range);

}  // namespace game
