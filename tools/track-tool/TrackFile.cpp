#include "TrackFile.h"

#include <fstream>

namespace tracktool {

namespace {

void PutInt32(std::vector<uint8_t>& out, std::size_t offset, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) {
    out[offset + i] = static_cast<uint8_t>((bits >> (8 * i)) & 0xFFu);
  }
}

int32_t GetInt32(std::span<const uint8_t> bytes, std::size_t offset) {
  uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    bits |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
  }
  return static_cast<int32_t>(bits);
}

}  // namespace

std::string KindName(int32_t kind) {
  switch (kind) {
    case Kind::PathPoint:
      return "path";
    case Kind::RoadHorizontal:
      return "road-h";
    case Kind::RoadVertical:
      return "road-v";
    case Kind::Obstacle:
      return "obstacle";
    case Kind::PaintFlowersHorizontal:
      return "flowers-h";
    case Kind::PaintFlowersVertical:
      return "flowers-v";
    case Kind::GridSlot:
      return "grid";
    case Kind::PaintStartLine:
      return "startline";
    case Kind::CheckLine:
      return "checkpoint";
    case Kind::FinishLine:
      return "finish";
    case Kind::PaintDecal:
      return "decal";
    default:
      break;
  }
  if (kind >= Kind::RoadPatchFirst && kind <= Kind::RoadPatchLast) return "patch";
  if (kind >= Kind::RoadCornerFirst && kind <= Kind::RoadCornerLast) {
    return "corner-" + std::to_string(kind);
  }
  return "unknown-" + std::to_string(kind);
}

std::vector<uint8_t> EncodeRecords(const std::vector<TrackRecord>& records) {
  std::vector<uint8_t> out(records.size() * RecordSize, 0);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const TrackRecord& r = records[i];
    const std::size_t base = i * RecordSize;
    PutInt32(out, base + 0, r.PosY);
    PutInt32(out, base + 4, r.PosX);
    PutInt32(out, base + 8, r.Kind);
    PutInt32(out, base + 12, r.ParamA);
    PutInt32(out, base + 16, r.ParamB);
  }
  return out;
}

TrackFileData DecodeRecords(std::span<const uint8_t> bytes) {
  TrackFileData data;
  data.ByteSize = bytes.size();
  const std::size_t count = bytes.size() / RecordSize;
  data.Records.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t base = i * RecordSize;
    data.Records.push_back({GetInt32(bytes, base + 0), GetInt32(bytes, base + 4),
                            GetInt32(bytes, base + 8), GetInt32(bytes, base + 12),
                            GetInt32(bytes, base + 16)});
  }
  return data;
}

TrackFileData ReadTrackFile(const std::filesystem::path& file) {
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  if (error) throw TrackFileError("cannot read " + file.string() + ": " + error.message());
  if (size > MaxTrackFileBytes) {
    throw TrackFileError("cannot read " + file.string() + ": " + std::to_string(size) +
                         " bytes is too large for a track file");
  }
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
  if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    throw TrackFileError("cannot read " + file.string());
  }
  return DecodeRecords(bytes);
}

void WriteTrackFile(const std::filesystem::path& file, const std::vector<TrackRecord>& records) {
  const std::vector<uint8_t> bytes = EncodeRecords(records);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw TrackFileError("cannot write " + file.string());
}

}  // namespace tracktool
