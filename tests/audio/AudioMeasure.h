#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Measurements on rendered or decoded audio, shared by the audio tests.
namespace audio_test {

/// Peak and RMS of a block of samples in full-scale units (1.0 = 0 dBFS).
struct Levels {
  double Peak = 0.0;
  double Rms = 0.0;
};

/// Peak and RMS of `samples`.
Levels MeasureLevels(std::span<const float> samples);

/// Converts a full-scale amplitude to dBFS (-200 for silence).
double ToDecibels(double amplitude);

/// Frequency of a tone from its rising zero crossings, at `rate` samples per second.
double ZeroCrossingFrequency(std::span<const float> samples, int rate);

/// Length of the longest run of consecutive samples at or above `threshold` in magnitude.
std::size_t LongestRunAtOrAbove(std::span<const float> samples, float threshold);

/// Reads a whole file; an empty result means it could not be read.
std::vector<std::uint8_t> ReadBinaryFile(const std::string& path);

}  // namespace audio_test
