#pragma once
// The engine's sound component: output paths, sound effects and music modules.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "AudioPathListCollection.h"
#include "ModListCollection.h"
#include "SoundListCollection.h"
#include "platform/AudioOutput.h"

namespace vexel {

/// Owns the audio output, the paths sounds play into, the named sounds and the named modules,
/// and the listener position. Without an audio device it stays silent: it says why once on
/// standard error, and every sound and music call does nothing.
class TVexelSound3D {
 public:
  /// Opens the audio output.
  TVexelSound3D();
  /// Unloads the modules and sounds, frees the paths and closes the output.
  ~TVexelSound3D();
  TVexelSound3D(const TVexelSound3D&) = delete;
  TVexelSound3D& operator=(const TVexelSound3D&) = delete;

  /// Makes the mixer path of every item of AudioPathList, in order; sounds play only after.
  void CreateAudioPaths();

  /// The mixer, or none when there is no audio device.
  platform::TAudioMixer* Mixer() const { return Output_->Mixer(); }
  /// Whether sound can be heard (the output device is open).
  bool Audible() const { return Output_->IsOpen(); }
  /// Why the output is closed (empty when it is open).
  const std::string& OutputError() const { return Output_->Error(); }

  /// Turns a file name of a sound or module into a path on disk.
  std::string ResolveFile(const std::string& fileName) const;
  /// Shows an audio failure message (through OnMessage).
  void Report(const std::string& text) const;
  /// Milliseconds of the system clock, for the path busy rule.
  uint32_t Milliseconds() const;
  /// Makes every path forget `sound` as its current sound.
  void ForgetSound(const TSoundListItem* sound);

  /// Sets a listener coordinate; a change is passed to every path.
  void SetListenerPositionX(float value);
  void SetListenerPositionY(float value);
  void SetListenerPositionZ(float value);
  /// The listener coordinates last set.
  float ListenerPositionX() const { return ListenerX_; }
  float ListenerPositionY() const { return ListenerY_; }
  float ListenerPositionZ() const { return ListenerZ_; }

  /// Marks the component as being destroyed (set by the game's shutdown).
  void SetDestroying() { Destroying_ = true; }
  /// Whether the game's shutdown has begun.
  bool Destroying() const { return Destroying_; }

  /// Maps a file name to a path on disk (default: the name itself).
  std::function<std::string(const std::string&)> FileResolver;
  /// Shows a failure text (default: a message box, or standard error when headless).
  std::function<void(const std::string&)> OnMessage;

 private:
  void UpdateListener();

  // Declared first so that it is closed last, after every path, sound and module is gone.
  std::unique_ptr<platform::TAudioOutput> Output_;

 public:
  TAudioPathListCollection AudioPathList{*this};
  TSoundListCollection SoundList{*this};
  TModListCollection ModList{*this};

 private:
  float ListenerX_ = 0, ListenerY_ = 0, ListenerZ_ = 0;
  bool Destroying_ = false;
};

}  // namespace vexel
