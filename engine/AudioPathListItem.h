#pragma once
// An output path of the sound component.

#include <cstdint>
#include <string>

namespace vexel {

class TVexelSound3D;
class TSoundListItem;

/// The kind of an audio path.
enum class TAudioPathType { apt3D, aptMono, aptStereo };

/// One output path: a mixer path with a volume, a playback frequency and a sound position,
/// into which sounds are played over one another. A 3D path is also quieter the farther its
/// sound is from the listener: full within MinDistance, then falling as MinDistance over the
/// distance (-6 dB for each doubling), and silent from MaxDistance on.
class TAudioPathListItem {
 public:
  /// A path of `owner`; the mixer path is made by CreatePath.
  explicit TAudioPathListItem(TVexelSound3D& owner);
  /// Stops everything playing on the path and frees its mixer path.
  ~TAudioPathListItem();
  TAudioPathListItem(const TAudioPathListItem&) = delete;
  TAudioPathListItem& operator=(const TAudioPathListItem&) = delete;

  /// Makes the mixer path (nothing without an audio device, or when it exists already).
  void CreatePath();
  /// Whether the mixer path exists.
  bool Created() const { return MixerPath_ >= 0; }

  /// Sets the volume from 0..100 (clamped): value x 100 - 10000 hundredths of a decibel.
  void SetVolume(int32_t value);
  /// The volume last set, in hundredths of a decibel (0 is full, -10000 silent).
  int32_t Volume() const { return Volume_; }
  /// The linear gain of a volume in hundredths of a decibel.
  static float GainOf(int32_t hundredths);

  /// Sets the playback frequency in Hz (negative counts as 0, the file's own rate).
  void SetFrequency(int32_t value);
  /// The playback frequency last set.
  int32_t Frequency() const { return Frequency_; }

  /// Stores the position of the sounds played on this path (a 3D path's level follows it).
  void SetPosition(float x, float y, float z);
  /// The stored sound position, one coordinate each.
  float PositionX() const { return PositionX_; }
  float PositionY() const { return PositionY_; }
  float PositionZ() const { return PositionZ_; }
  /// Stores the listener position seen from this path (a 3D path's level follows it).
  void SetListenerPosition(float x, float y, float z);
  /// The factor the distance from sound to listener puts on the level: 1 on other paths.
  float DistanceGain() const;

  /// Whether the path still counts as busy with its current sound at `now` (milliseconds):
  /// started less than 250 ms ago, or still sounding. A path found idle forgets its sound.
  bool Busy(uint32_t now);
  /// Records that `sound` was started on this path at `now`.
  void Started(TSoundListItem* sound, uint32_t now);
  /// Forgets `sound` if it is the path's current sound.
  void Forget(const TSoundListItem* sound);
  /// The sound last started on this path, if any.
  TSoundListItem* CurrentSound() const { return CurrentSound_; }
  /// The mixer path id (-1 before CreatePath).
  int MixerPath() const { return MixerPath_; }

  std::string Name;
  TAudioPathType AudioPathType = TAudioPathType::apt3D;
  /// May be picked by pooled sounds.
  bool Pool = false;
  int32_t Channels = 16;
  /// Distance up to which a 3D path plays at its full volume.
  float MinDistance = 1.0f;
  /// Distance from which a 3D path is silent.
  float MaxDistance = 1e9f;

 private:
  void ApplyGain();

  TVexelSound3D& Owner_;
  int MixerPath_ = -1;
  int32_t Volume_ = 0;
  int32_t Frequency_ = 22050;
  float PositionX_ = 0, PositionY_ = 0, PositionZ_ = 0;
  float ListenerX_ = 0, ListenerY_ = 0, ListenerZ_ = 0;
  TSoundListItem* CurrentSound_ = nullptr;
  uint32_t StartTime_ = 0;
};

}  // namespace vexel
