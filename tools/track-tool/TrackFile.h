#pragma once
// Track files: headerless sequences of 128-byte records, each placing one thing of a race.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tracktool {

/// Bytes in one record: five 32-bit little-endian integers, then 108 reserved zero bytes.
inline constexpr std::size_t RecordSize = 128;
/// Largest track file the tools accept; real tracks are a few hundred records.
inline constexpr std::size_t MaxTrackFileBytes = 4 * 1024 * 1024;

/// Record kinds of a track file.
namespace Kind {
inline constexpr int32_t PathPoint = 0;
inline constexpr int32_t RoadHorizontal = 1;
inline constexpr int32_t RoadVertical = 2;
inline constexpr int32_t RoadPatchFirst = 3;
inline constexpr int32_t RoadPatchLast = 10;
inline constexpr int32_t RoadCornerFirst = 11;
inline constexpr int32_t RoadCornerLast = 14;
inline constexpr int32_t Obstacle = 20;
inline constexpr int32_t PaintFlowersHorizontal = 53;
inline constexpr int32_t PaintFlowersVertical = 54;
inline constexpr int32_t GridSlot = 88;
inline constexpr int32_t PaintStartLine = 99;
inline constexpr int32_t CheckLine = 101;
inline constexpr int32_t FinishLine = 105;
inline constexpr int32_t PaintDecal = 160;
}  // namespace Kind

/// One record as stored: y first, then x, the kind and its two parameters.
struct TrackRecord {
  int32_t PosY = 0;
  int32_t PosX = 0;
  int32_t Kind = 0;
  int32_t ParamA = 0;
  int32_t ParamB = 0;

  bool operator==(const TrackRecord&) const = default;
};

/// The records of a track file and the size of the file they came from.
struct TrackFileData {
  std::vector<TrackRecord> Records;
  /// Bytes of the file, including a trailing piece shorter than a record.
  std::size_t ByteSize = 0;
};

/// Raised when a track file cannot be read or written.
class TrackFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Short lower-case name of a record kind, e.g. "path" or "checkpoint".
std::string KindName(int32_t kind);

/// Encodes records as the bytes of a track file.
std::vector<uint8_t> EncodeRecords(const std::vector<TrackRecord>& records);

/// Decodes whole records from file bytes; a trailing piece shorter than a record is not read.
TrackFileData DecodeRecords(std::span<const uint8_t> bytes);

/// Reads a track file; throws TrackFileError when it cannot be read or is absurdly large.
TrackFileData ReadTrackFile(const std::filesystem::path& file);

/// Writes records to a track file; throws TrackFileError on failure.
void WriteTrackFile(const std::filesystem::path& file, const std::vector<TrackRecord>& records);

}  // namespace tracktool
