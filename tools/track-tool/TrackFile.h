#pragma once
// Track files: headerless sequences of 128-byte records, each placing one thing of a race.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/TrackFormat.h"

namespace tracktool {

/// Bytes in one record: five 32-bit little-endian integers, then 108 reserved zero bytes.
inline constexpr std::size_t RecordSize = game::TrackRecordSize;
/// Largest track file the tools accept; real tracks are a few hundred records.
inline constexpr std::size_t MaxTrackFileBytes = 4 * 1024 * 1024;

/// Record kinds of a track file.
namespace Kind = game::TrackKind;

/// One record as stored: y first, then x, the kind and its two parameters.
using TrackRecord = game::TTrackRecord;

/// The records of a track file and the size of the file they came from.
struct TTrackFileData {
  std::vector<TrackRecord> Records;
  /// Bytes of the file, including a trailing piece shorter than a record.
  std::size_t ByteSize = 0;
};

/// Raised when a track file cannot be read or written.
class TTrackFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Short lower-case name of a record kind, e.g. "path" or "checkpoint".
std::string KindName(int32_t kind);

/// Encodes records as the bytes of a track file.
std::vector<uint8_t> EncodeRecords(const std::vector<TrackRecord>& records);

/// Decodes whole records from file bytes; a trailing piece shorter than a record is not read.
TTrackFileData DecodeRecords(std::span<const uint8_t> bytes);

/// Reads a track file; throws TTrackFileError when it cannot be read or is absurdly large.
TTrackFileData ReadTrackFile(const std::filesystem::path& file);

/// Writes records to a track file; throws TTrackFileError on failure.
void WriteTrackFile(const std::filesystem::path& file, const std::vector<TrackRecord>& records);

}  // namespace tracktool
