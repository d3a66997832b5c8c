#pragma once
// Tracker modules rendered to PCM.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace openmpt {
class module;
}

namespace platform {

/// One tracker module held in memory and rendered to 16-bit stereo at 22050 Hz, from its
/// current position on. Not thread-safe: its owner renders it under a lock of its own.
class TModuleDecoder {
 public:
  static constexpr int kRate = 22050;

  TModuleDecoder();
  ~TModuleDecoder();
  TModuleDecoder(const TModuleDecoder&) = delete;
  TModuleDecoder& operator=(const TModuleDecoder&) = delete;

  /// Takes the module from its file bytes; false (with the player's reason) when the data is
  /// not a module it can play.
  bool Load(std::span<const std::uint8_t> data, std::string& error);
  /// Whether a module is loaded.
  bool Loaded() const { return Module_ != nullptr; }
  /// Whether the module starts again at its end instead of ending.
  void SetLoop(bool loop);
  /// Renders up to `frames` interleaved stereo frames; returns how many (0 once it has ended).
  std::size_t Render(std::int16_t* interleaved, std::size_t frames);
  /// The play position in seconds from the start of the song.
  double PositionSeconds() const;
  /// The length of one pass through the song, in seconds.
  double DurationSeconds() const;

 private:
  std::unique_ptr<openmpt::module> Module_;
};

}  // namespace platform
