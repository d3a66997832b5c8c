#include "AudioMeasure.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace audio_test {

Levels MeasureLevels(std::span<const float> samples) {
  Levels levels;
  double sum = 0.0;
  for (float sample : samples) {
    levels.Peak = std::max(levels.Peak, static_cast<double>(std::abs(sample)));
    sum += static_cast<double>(sample) * sample;
  }
  if (!samples.empty()) levels.Rms = std::sqrt(sum / static_cast<double>(samples.size()));
  return levels;
}

double ToDecibels(double amplitude) {
  return amplitude > 1e-10 ? 20.0 * std::log10(amplitude) : -200.0;
}

double ZeroCrossingFrequency(std::span<const float> samples, int rate) {
  double first = -1.0;
  double last = -1.0;
  int crossings = 0;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    if (samples[i - 1] < 0.0f && samples[i] >= 0.0f) {
      const double fraction = samples[i - 1] / (samples[i - 1] - samples[i]);
      const double position = static_cast<double>(i - 1) + fraction;
      if (first < 0.0) first = position;
      last = position;
      ++crossings;
    }
  }
  if (crossings < 2) return 0.0;
  return (crossings - 1) * rate / (last - first);
}

std::size_t LongestRunAtOrAbove(std::span<const float> samples, float threshold) {
  std::size_t longest = 0;
  std::size_t run = 0;
  for (float sample : samples) {
    run = std::abs(sample) >= threshold ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return longest;
}

std::vector<std::uint8_t> ReadBinaryFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace audio_test
