#pragma once
// A named tracker module of the sound component.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "ModPlugEventThread.h"
#include "platform/AudioStream.h"
#include "platform/ModuleDecoder.h"

namespace vexel {

class TVexelSound3D;

/// One music module: read into memory on first play and rendered to 22050 Hz 16-bit stereo by
/// its own streaming thread, which refills one half of a two-second looping buffer while the
/// mixer plays the other. Stop keeps the position; Play goes on from there.
class TModListItem {
 public:
  /// An unloaded module of `owner`.
  explicit TModListItem(TVexelSound3D& owner);
  /// Unloads the module.
  ~TModListItem();
  TModListItem(const TModListItem&) = delete;
  TModListItem& operator=(const TModListItem&) = delete;

  /// Reads the file and gives it to the module player; on failure says so once and stays
  /// unloaded.
  bool Load();
  /// Plays from the current position (loading first): the buffer restarts from silence and the
  /// thread refills it. A module without Loop stops by itself at its end.
  void Play();
  /// Stops the buffer and suspends the thread; the player keeps its position.
  void Stop();
  /// Stops, ends and joins the thread and releases the player.
  void Unload();

  /// Whether the module is in memory.
  bool Loaded() const { return Loaded_; }
  /// Whether the mixer is playing the module's buffer.
  bool Playing() const;
  /// Whether the streaming thread exists.
  bool HasThread() const { return Thread_ != nullptr; }
  /// The player's position in seconds (ahead of what is heard by up to the buffer's length).
  double PositionSeconds() const;

  std::string Name;
  /// The module file; a loaded module keeps its data until unloaded.
  std::string FileName;
  /// Applied to the player at each Play.
  bool Loop = false;
  /// Kept for the data only.
  int32_t Volume = 100;
  uint32_t RepeatCount = 0;

 private:
  void WaitAndRefill();
  void Refill(int half);

  TVexelSound3D& Owner_;
  // Held while the player renders and while the buffer is cleared.
  mutable std::mutex Lock_;
  std::unique_ptr<platform::TModuleDecoder> Player_;
  std::unique_ptr<platform::TAudioStream> Buffer_;
  std::unique_ptr<TModPlugEventThread> Thread_;
  std::atomic<bool> Loaded_{false};
  bool LoadFailed_ = false;
  // The last refill found the module ended: the next request stops it, once the tail has played.
  bool Draining_ = false;
};

}  // namespace vexel
