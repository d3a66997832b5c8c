#pragma once
// Track files: headerless sequences of 128-byte records, each placing one thing of a race.
// The game reads them; the track tools write and check them with the same definitions.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace game {

/// Bytes in one record: five 32-bit little-endian integers, then 108 reserved zero bytes.
inline constexpr std::size_t TrackRecordSize = 128;

/// Record kinds of a track file.
namespace TrackKind {
inline constexpr int32_t PathPoint = 0;
inline constexpr int32_t RoadHorizontal = 1;
inline constexpr int32_t RoadVertical = 2;
inline constexpr int32_t RoadPatchFirst = 3;
inline constexpr int32_t RoadPatchLast = 10;
inline constexpr int32_t RoadCornerFirst = 11;
inline constexpr int32_t RoadCornerLast = 14;
/// Every kind from RoadFirst to RoadLast is road under the cars.
inline constexpr int32_t RoadFirst = RoadHorizontal;
inline constexpr int32_t RoadLast = RoadCornerLast;
inline constexpr int32_t Obstacle = 20;
inline constexpr int32_t PaintFlowersHorizontal = 53;
inline constexpr int32_t PaintFlowersVertical = 54;
inline constexpr int32_t GridSlot = 88;
inline constexpr int32_t PaintStartLine = 99;
inline constexpr int32_t CheckLine = 101;
inline constexpr int32_t FinishLine = 105;
inline constexpr int32_t PaintDecal = 160;
}  // namespace TrackKind

/// One record as stored: y first, then x, the kind and its two parameters.
struct TTrackRecord {
  int32_t PosY = 0;
  int32_t PosX = 0;
  int32_t Kind = 0;
  int32_t ParamA = 0;
  int32_t ParamB = 0;

  bool operator==(const TTrackRecord&) const = default;
};

/// Decodes the whole records of a track file's bytes; a trailing piece shorter than a record
/// is not read.
std::vector<TTrackRecord> DecodeTrackRecords(std::span<const uint8_t> bytes);

/// Encodes records as the bytes of a track file (reserved bytes zero).
std::vector<uint8_t> EncodeTrackRecords(const std::vector<TTrackRecord>& records);

}  // namespace game
