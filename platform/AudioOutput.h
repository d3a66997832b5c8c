#pragma once
// The game's one audio output device.

#include <cstdint>
#include <memory>
#include <string>

#include "AudioMixer.h"

namespace platform {

/// Opens the one SDL audio output and feeds it from the game's mixer. When no device can be
/// opened the output stays closed, says why in Error, and has no mixer.
class TAudioOutput {
 public:
  /// Opens the default output device at about `rate` frames per second, stereo.
  explicit TAudioOutput(int rate = 44100);
  ~TAudioOutput();
  TAudioOutput(const TAudioOutput&) = delete;
  TAudioOutput& operator=(const TAudioOutput&) = delete;

  /// Whether the device is open and playing.
  bool IsOpen() const { return Device_ != 0; }
  /// Why the device could not be opened (empty when it is open).
  const std::string& Error() const { return Error_; }
  /// The mixer that feeds the device, or none when the device is closed.
  TAudioMixer* Mixer() const { return Mixer_.get(); }

 private:
  static void Callback(void* self, std::uint8_t* stream, int bytes);

  std::uint32_t Device_ = 0;
  std::string Error_;
  std::unique_ptr<TAudioMixer> Mixer_;
};

}  // namespace platform
