#include "TrackFile.h"

#include <fstream>

namespace tracktool {

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
  return game::EncodeTrackRecords(records);
}

TTrackFileData DecodeRecords(std::span<const uint8_t> bytes) {
  return TTrackFileData{game::DecodeTrackRecords(bytes), bytes.size()};
}

TTrackFileData ReadTrackFile(const std::filesystem::path& file) {
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  if (error) throw TTrackFileError("cannot read " + file.string() + ": " + error.message());
  if (size > MaxTrackFileBytes) {
    throw TTrackFileError("cannot read " + file.string() + ": " + std::to_string(size) +
                          " bytes is too large for a track file");
  }
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
  if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    throw TTrackFileError("cannot read " + file.string());
  }
  return DecodeRecords(bytes);
}

void WriteTrackFile(const std::filesystem::path& file, const std::vector<TrackRecord>& records) {
  const std::vector<uint8_t> bytes = EncodeRecords(records);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw TTrackFileError("cannot write " + file.string());
}

}  // namespace tracktool
