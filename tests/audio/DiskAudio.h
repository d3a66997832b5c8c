#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// The real audio output, written to a file by SDL's disk driver and read back.
namespace audio_test {

/// A new empty folder for the running test (tests run side by side).
std::string FreshTestDir();

/// Sends SDL's audio output to `dir`/output.raw through the disk driver: paced like a real
/// device, or as fast as the mixer can go when `unpaced`. Call before the output opens.
void UseDiskAudio(const std::string& dir, bool unpaced);

/// Makes the next audio output fail to open.
void UseMissingAudioDriver();

/// The interleaved stereo float samples written to `dir`/output.raw.
std::vector<float> ReadDiskAudio(const std::string& dir);

/// One channel of interleaved stereo.
std::vector<float> Channel(std::span<const float> stereo, int channel);

/// Index of the first sample whose magnitude exceeds `threshold` (the size when none does).
std::size_t FirstAbove(std::span<const float> samples, float threshold);

/// Index one past the last sample whose magnitude exceeds `threshold` (0 when none does).
std::size_t EndAbove(std::span<const float> samples, float threshold);

/// Samples from the first to the last one whose magnitude exceeds `threshold`.
std::size_t HeardLength(std::span<const float> samples, float threshold);

/// Writes interleaved stereo float samples as a 16-bit WAV file, for listening.
void WriteWav(const std::string& path, std::span<const float> stereo, int rate);

}  // namespace audio_test
