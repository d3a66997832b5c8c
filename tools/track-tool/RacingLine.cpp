#include "RacingLine.h"

#include <algorithm>
#include <cmath>

namespace tracktool {

namespace {

constexpr double SampleStep = 2.0;

/// The closed line resampled at SampleStep-pixel spacing, without repeating the first point.
std::vector<TVec2> EvenSamples(const std::vector<TVec2>& closedLine) {
  const double length = PolylineLength(closedLine);
  const int n = std::max(3, static_cast<int>(std::lround(length / SampleStep)));
  std::vector<TVec2> samples = ResampleLoop(closedLine, n);
  std::rotate(samples.rbegin(), samples.rbegin() + 1, samples.rend());
  return samples;
}

}  // namespace

double PolylineLength(const std::vector<TVec2>& line) {
  double length = 0;
  for (std::size_t i = 1; i < line.size(); ++i) length += Distance(line[i - 1], line[i]);
  return length;
}

std::vector<TVec2> SmoothLoop(const std::vector<TVec2>& closedLine, double window) {
  const std::vector<TVec2> samples = EvenSamples(closedLine);
  const int n = static_cast<int>(samples.size());
  const int reach = std::min(n / 2 - 1, static_cast<int>(std::lround(window / SampleStep)));
  std::vector<TVec2> smooth;
  smooth.reserve(samples.size() + 1);
  for (int i = 0; i < n; ++i) {
    TVec2 sum;
    for (int k = -reach; k <= reach; ++k)
      sum = sum + samples[static_cast<std::size_t>((i + k + n) % n)];
    smooth.push_back(sum * (1.0 / (2 * reach + 1)));
  }
  smooth.push_back(smooth.front());
  return smooth;
}

std::vector<TVec2> ResampleLoop(const std::vector<TVec2>& closedLine, int n) {
  const double length = PolylineLength(closedLine);
  std::vector<TVec2> points;
  points.reserve(static_cast<std::size_t>(n));
  std::size_t segment = 1;
  double segmentStart = 0;
  for (int k = 1; k <= n; ++k) {
    const double target = length * k / n;
    while (segment + 1 < closedLine.size() &&
           segmentStart + Distance(closedLine[segment - 1], closedLine[segment]) < target) {
      segmentStart += Distance(closedLine[segment - 1], closedLine[segment]);
      ++segment;
    }
    const TVec2 a = closedLine[segment - 1];
    const TVec2 b = closedLine[segment];
    const double span = Distance(a, b);
    const double t = span > 0 ? std::clamp((target - segmentStart) / span, 0.0, 1.0) : 0.0;
    points.push_back(a + (b - a) * t);
  }
  return points;
}

}  // namespace tracktool
