#pragma once
// A profile's best time-trial run on one track with one car: the record and its ghost.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace game {

/// Where the recorded car was on one frame of the fixed 90-per-second step: its centre in the
/// track's own coordinates (those of the track file, independent of the world shift that keeps
/// the player in the middle of the screen) and its heading as the car sprite draws it.
struct TGhostFrame {
  float X = 0;
  float Y = 0;
  float Angle = 0;
  bool operator==(const TGhostFrame&) const = default;
};

/// A time-trial record with the run that set it. The file carries a format version, the track
/// file's hash and a check sum, so a cut, damaged or foreign file is refused with a message
/// (TReplayError) and the time trial goes on without a ghost.
///
/// Files live in the settings folder, one per profile slot, track and car:
/// "ghosts/profile-P/track-T-car-C.ghost" (P, T, C counted from 1). Deleting a profile removes
/// its folder and moves the later profiles' folders one slot down, as the profile list does.
class TGhostRun {
 public:
  /// The format this game writes and reads.
  static constexpr uint32_t kFormatVersion = 1;
  /// The most frames a file may hold, and its longest time: half an hour of the 90-per-second
  /// step.
  static constexpr int32_t kMaxFrames = 90 * 60 * 30;

  /// Track slot in the catalogue (0 is "Track 1") and the track file's game path and FNV-1a hash.
  int32_t TrackSlot = 0;
  std::string TrackFile;
  uint64_t TrackHash = 0;
  /// The car type driven.
  int32_t Car = 0;
  /// The run's time and its best lap, in frames of the fixed 90-per-second step.
  int32_t TimeFrames = 0;
  int32_t BestLapFrames = 0;
  /// When the run was driven (seconds since the epoch).
  std::time_t Date = 0;
  /// The car's place on every frame from the start lights' green to the finish.
  std::vector<TGhostFrame> Frames;

  /// Hundredths of a second of a count of frames: frames × 100 / 90, rounded down (held to the
  /// range of int32_t).
  static int32_t Hundredths(int32_t frames);

  /// The file's bytes.
  std::string Serialize() const;
  /// A run from a file's bytes; throws TReplayError naming what is wrong.
  static TGhostRun Parse(const std::string& bytes);
  /// Writes the run to path the safe way (temporary file, rename), making its folder when
  /// missing; throws TReplayError.
  void Save(const std::string& path) const;
  /// Reads a ghost file; throws TReplayError naming the file and what is wrong.
  static TGhostRun Load(const std::string& path);

  /// The file of a profile slot's record on a track slot with a car type (slots from 0).
  static std::string PathFor(const std::string& configDir, int32_t profileSlot, int32_t trackSlot,
                             int32_t car);
  /// Removes a deleted profile slot's ghosts and moves the later slots' folders one down, up to
  /// profileCount (the count before the deletion). Problems are reported on standard error.
  static void DeleteProfileGhosts(const std::string& configDir, int32_t profileSlot,
                                  int32_t profileCount);

 private:
  /// Throws TReplayError when a field is out of its range (what a damaged file would hold).
  void Check() const;
  static TGhostRun ParseBody(const std::string& body);
};

}  // namespace game
