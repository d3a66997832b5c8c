#pragma once
// A named wave-file sound effect.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/AudioClip.h"

namespace vexel {

class TVexelSound3D;
class TAudioPathListItem;

/// How a sound chooses its path: the path at its index, or a pool path of a type.
enum class TAudioPathPool { appUseIndex, app3D, appMono, appStereo };

/// One sound effect of the sound component: loaded from its wave file on first play and kept
/// until unloaded; each play starts over whatever already sounds on the chosen path.
class TSoundListItem {
 public:
  /// An unloaded sound of `owner`.
  explicit TSoundListItem(TVexelSound3D& owner);
  /// Makes every path forget the sound and unloads it.
  ~TSoundListItem();
  TSoundListItem(const TSoundListItem&) = delete;
  TSoundListItem& operator=(const TSoundListItem&) = delete;

  /// Reads and converts the wave file; on failure says so once and stays unloaded.
  bool Load();
  /// Plays the sound on its path (loading it first); returns that path, or none when no path
  /// was found or the sound cannot be loaded.
  TAudioPathListItem* Play();
  /// Stops every play of the sound at once; the paths forget it.
  void Stop();
  /// Stops and releases the samples; the next play reads the file again.
  void Unload();

  /// Whether the samples are in memory.
  bool Loaded() const { return Loaded_; }
  /// The samples, or none while unloaded.
  const platform::TAudioClip* Clip() const { return Clip_.get(); }
  /// The path chosen by the last play, or none.
  TAudioPathListItem* LastPath() const { return LastPath_; }

  /// The wave file; a loaded sound keeps playing the file it loaded until it is unloaded.
  const std::string& FileName() const { return FileName_; }
  /// Names another wave file (used from the next load on); a failed file may be retried.
  void SetFileName(const std::string& fileName);
  /// Repeats without end.
  bool Loop() const { return Loop_; }
  /// Sets looping for the plays that follow.
  void SetLoop(bool loop) { Loop_ = loop; }
  /// Extra repetitions when not looping.
  uint32_t RepeatCount() const { return RepeatCount_; }
  /// Sets the extra repetitions for the plays that follow.
  void SetRepeatCount(uint32_t count) { RepeatCount_ = count; }

  std::string Name;
  /// 0..100: 100 plays at full level, 90 at -10 dB.
  int32_t Volume = 100;
  /// Playback frequency in Hz; 0 plays at the file's own rate.
  int32_t Frequency = 0;
  /// Kept for the data; playback does not apply it.
  int32_t Pan = 0;
  float SoundPositionX = 0, SoundPositionY = 0, SoundPositionZ = 0;
  int32_t AudioPathIndex = 0;
  TAudioPathPool AudioPathPool = TAudioPathPool::appUseIndex;

 private:
  TAudioPathListItem* ChoosePath() const;

  TVexelSound3D& Owner_;
  std::string FileName_;
  bool Loop_ = false;
  uint32_t RepeatCount_ = 0;
  bool Loaded_ = false;
  // Set when loading failed and was reported, so the sound stays quiet instead of retrying.
  bool LoadFailed_ = false;
  std::shared_ptr<const platform::TAudioClip> Clip_;
  TAudioPathListItem* LastPath_ = nullptr;
};

}  // namespace vexel
