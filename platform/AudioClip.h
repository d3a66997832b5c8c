#pragma once
// A sound effect decoded once into the mixer's own sample format.

#include <memory>
#include <string>
#include <vector>

namespace platform {

/// The samples of one wave file, converted at load time to interleaved stereo floats at the
/// output rate, with the file's own rate kept so that a playback frequency can resample it.
class TAudioClip {
 public:
  /// Reads and converts a wave file; returns nothing and sets `error` when it cannot.
  static std::shared_ptr<const TAudioClip> LoadWav(const std::string& path, int outputRate,
                                                   std::string& error);
  /// Makes a clip from interleaved stereo samples already at the output rate.
  TAudioClip(std::vector<float> stereo, int sourceRate);

  /// Interleaved stereo samples at the output rate.
  const std::vector<float>& Samples() const { return Samples_; }
  /// Number of stereo frames.
  std::size_t Frames() const { return Samples_.size() / 2; }
  /// The sample rate of the file it came from.
  int SourceRate() const { return SourceRate_; }

 private:
  std::vector<float> Samples_;
  int SourceRate_;
};

}  // namespace platform
