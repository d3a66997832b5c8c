#pragma once
// The game's software mixer: effect voices on paths, and module streams.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "AudioClip.h"
#include "AudioStream.h"

namespace platform {

/// Sums every playing voice of every path, each with its path's gain and playback frequency,
/// and every playing stream resampled to the output rate, then limits the sum to a ceiling of
/// -1 dBFS: the gain drops at once when a frame would go over and recovers over a fraction of
/// a second, so the output never clips. Game threads change
/// paths, voices and streams under the mixer's lock, which they hold only for a copy; Mix never
/// allocates and never touches the file system.
class TAudioMixer {
 public:
  static constexpr int kMaxPaths = 16;
  static constexpr int kMaxVoices = 64;
  static constexpr int kMaxStreams = 8;
  /// The highest sample magnitude the mixer writes: -1 dBFS.
  static constexpr float kCeiling = 0.891251f;
  /// Time constant in which the limiter's gain climbs back towards 1 after a peak.
  static constexpr float kLimiterReleaseSeconds = 0.15f;

  /// A mixer producing interleaved stereo at `outputRate`.
  explicit TAudioMixer(int outputRate);

  /// The output rate in frames per second.
  int OutputRate() const { return OutputRate_; }

  /// Makes a path with gain 1 at the clips' own frequency; returns its id, or -1 when all
  /// paths are taken.
  int AddPath();
  /// Stops the voices of a path and frees it.
  void RemovePath(int path);
  /// Sets a path's linear gain.
  void SetPathGain(int path, float gain);
  /// Sets a path's playback frequency in Hz (0: each clip's own).
  void SetPathFrequency(int path, int frequency);

  /// Starts a clip on a path, over whatever already plays there; `repeats` extra times, or
  /// without end when negative. The oldest voice gives way when every voice is busy.
  void Play(int path, std::shared_ptr<const TAudioClip> clip, int repeats);
  /// Stops every voice of a clip at once.
  void Stop(const TAudioClip* clip);
  /// Whether a voice of the clip still sounds.
  bool IsPlaying(const TAudioClip* clip) const;
  /// Number of voices that still sound on a path.
  int ActiveVoices(int path) const;

  /// Lets the mixer read a stream (it must outlive its registration).
  void AddStream(TAudioStream* stream);
  /// Stops reading a stream; after the call Mix no longer touches it.
  void RemoveStream(TAudioStream* stream);
  /// Starts or stops the reading of a registered stream, keeping its position.
  void SetStreamPlaying(TAudioStream* stream, bool playing);

  /// Writes `frames` interleaved stereo frames: the sum of all voices and streams, limited.
  void Mix(float* out, std::size_t frames);
  /// Frames mixed since the mixer was made: the output's clock.
  std::uint64_t MixedFrames() const { return MixedFrames_.load(); }

 private:
  struct TPath {
    bool Used = false;
    float Gain = 1.0f;
    int Frequency = 0;
  };
  struct TVoice {
    bool Active = false;
    int Path = 0;
    int Repeats = 0;
    double Position = 0.0;
    std::uint64_t Started = 0;
    // Kept after the voice ends and released by a game thread, so Mix never frees memory.
    std::shared_ptr<const TAudioClip> Clip;
  };

  bool ValidPath(int path) const { return path >= 0 && path < kMaxPaths && Paths_[path].Used; }
  TVoice& FreeVoice();
  void MixVoice(TVoice& voice, float* out, std::size_t frames);
  void MixStream(TAudioStream& stream, float* out, std::size_t frames);
  void Limit(float* out, std::size_t frames);

  int OutputRate_;
  mutable std::mutex Lock_;
  std::array<TPath, kMaxPaths> Paths_{};
  std::array<TVoice, kMaxVoices> Voices_{};
  std::array<TAudioStream*, kMaxStreams> Streams_{};
  std::uint64_t StartCount_ = 0;
  // Only the mixing thread touches it.
  float LimiterGain_ = 1.0f;
  std::atomic<std::uint64_t> MixedFrames_{0};
};

}  // namespace platform
