#pragma once
// A media song of the music component.

#include <cstdint>
#include <string>

namespace vexel {

/// One song of the music component, with its volume and balance in hundredths of a decibel.
/// Nothing in this game opens a song's media, so a song stays unloaded and its Play does
/// nothing; the volume and pan mappings still apply.
class TSongListItem {
 public:
  /// Sets the pan, clamped to -100..100 (negative cuts the right side, positive the left).
  void SetPan(int32_t value);
  /// The pan last set.
  int32_t Pan() const { return Pan_; }
  /// Sets the volume, clamped to 0..100.
  void SetVolume(int32_t value);
  /// The volume last set.
  int32_t Volume() const { return Volume_; }
  /// The balance the pan gives, in hundredths of a decibel (-10000..10000).
  static int32_t BalanceOf(int32_t pan);
  /// The level the volume gives, in hundredths of a decibel (0 down to -10000).
  static int32_t LevelOf(int32_t volume);

  /// Whether the song's media is open.
  bool Loaded() const { return Loaded_; }
  /// Plays a loaded song from its start.
  void Play();
  /// Whether a loaded song has not reached its end.
  bool Playing() const { return Loaded_ && Position_ < Duration_; }
  /// Puts the song back to its start (the frame's update does this for looping songs).
  void Rewind() { Position_ = 0.0; }

  std::string FileName;
  std::string Name;
  bool Loop = false;

 private:
  int32_t Pan_ = 0;
  int32_t Volume_ = 100;
  bool Loaded_ = false;
  double Position_ = 0.0;
  double Duration_ = 0.0;
};

}  // namespace vexel
