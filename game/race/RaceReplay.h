#pragma once
// A recorded race: what it takes to run the same race again, frame for frame.

#include <cstdint>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "game/race/RaceWorld.h"
#include "game/race/ReplayError.h"

namespace game {

/// One stretch of frames with the same control flags.
struct TReplayRun {
  uint16_t Flags = 0;
  uint32_t Frames = 0;
};

/// A race as the race world needs it to run again exactly: the random generator's state before
/// the race was set up, the track and car, the catalogue's open tracks and cars, the opponents'
/// car types, and the player's control flags for every race frame (run-length coded). The file
/// carries a format version, the track file's hash and a check sum over everything, so a
/// replay of another version, of a track whose file changed, or a cut or damaged file is
/// refused with a message instead of playing a different race.
///
/// File layout (integers little-endian): "CLDRPLAY", u32 format version, u32 body length,
/// body, u64 FNV-1a hash of the body. Body: u8 track slot, u8 car, u8 open tracks, u8 open
/// cars, u8 mode (0 race, 1 time trial; not in version 1, whose replays are all races),
/// u16 length + track file name, u64 FNV-1a hash of the track file, u16 count + the
/// generator state's numbers as u32 each, u8 opponent count + one u8 car type each, u32 frame
/// count, u32 run count, and per run a varint of (frames << 14 | flags).
class TRaceReplay {
 public:
  /// The format this game writes; it plays this one and version 1 (races only, no mode byte).
  static constexpr uint32_t kFormatVersion = 2;
  /// The oldest format it plays.
  static constexpr uint32_t kOldestVersion = 1;
  /// Bits of the control flags: keys held (low seven bits), the same keys let go (next seven).
  static constexpr uint16_t kFlagsMask = 0x3fff;

  /// Track slot in the catalogue (0 is "Track 1").
  int32_t TrackSlot = 0;
  /// The player's car type.
  int32_t Car = 0;
  /// The catalogue's open tracks and cars (the profile's, or all of them).
  int32_t TracksAvailable = 0;
  int32_t CarsAvailable = 0;
  /// The track file's game path ("Data\data3.prd") and the FNV-1a hash of its bytes.
  std::string TrackFile;
  uint64_t TrackHash = 0;
  /// The random generator's state just before the race was set up, as the generator writes it.
  std::string RandomState;
  /// The opponents' car types in index order, as the race set them up.
  std::vector<int32_t> OpponentCars;
  /// A time trial (the player alone) rather than a race.
  bool TimeTrial = false;

  /// The control flags the race reads from the player: the key-held and key-let-go flags of
  /// throttle, brake, steering, handbrake and back to the track (R).
  static uint16_t CaptureFlags(const TKeyTable& keyDown, const TKeyTable& keyReleased);
  /// Puts flags back into the key tables, over whatever the keys of the car controls held.
  static void ApplyFlags(uint16_t flags, TKeyTable& keyDown, TKeyTable& keyReleased);

  /// Stores the generator's state and the world's track, car, catalogue and mode; call before
  /// the race is set up.
  void BeginRecording(const TRaceWorld& world, const std::mt19937& random);
  /// Stores the opponents the race was set up with and the hash of the track file it read; call
  /// after the set-up. Throws TReplayError when the track file cannot be read.
  void RecordOpponents(const TRaceWorld& world);
  /// Appends one frame's control flags.
  void RecordFrame(uint16_t flags);
  /// Frames recorded.
  uint32_t FrameCount() const { return FrameCount_; }
  /// The runs of flags.
  const std::vector<TReplayRun>& Runs() const { return Runs_; }

  /// Throws TReplayError when the catalogue's track of the replay is another file now, or its
  /// file in the data folder is not the recorded one.
  void CheckTrack(const TGameCatalogue& catalogue, const std::string& dataDir) const;
  /// Sets the generator to the recorded state, the catalogue to the recorded track, car and
  /// open tracks and cars, and the world to the recorded mode. Throws TReplayError when the track
  /// file in the world's data folder is not the recorded one.
  void PrepareRace(TRaceWorld& world, std::mt19937& random) const;
  /// Throws TReplayError when the race was set up with other opponents than recorded.
  void CheckOpponents(const TRaceWorld& world) const;

  /// The file's bytes.
  std::string Serialize() const;
  /// A replay from a file's bytes; throws TReplayError naming what is wrong.
  static TRaceReplay Parse(const std::string& bytes);
  /// Writes the replay to path the safe way (temporary file and rename); throws TReplayError.
  void Save(const std::string& path) const;
  /// Reads a replay file; throws TReplayError naming the file and what is wrong.
  static TRaceReplay Load(const std::string& path);
  /// A file name that says what the replay is: "track-3_0-46-65_2026-12-11_03-40-12.rpl" for a
  /// race of "Track 3" in 0:46:65 finished at that local time.
  static std::string ReadableName(const std::string& trackTitle, const TRaceTime& time,
                                  std::time_t when);
  /// The 64-bit FNV-1a hash of bytes.
  static uint64_t Hash(const std::string& bytes);
  /// The hash of a file's bytes; throws TReplayError when it cannot be read.
  static uint64_t HashFile(const std::string& path);

 private:
  /// The car types of the world's opponents, in their order.
  static std::vector<int32_t> OpponentsOf(const TRaceWorld& world);
  static TRaceReplay ParseBody(const std::string& body, uint64_t version);

  std::vector<TReplayRun> Runs_;
  uint32_t FrameCount_ = 0;
};

}  // namespace game
