#include "TrackFormat.h"

namespace game {
namespace {

int32_t GetInt32(std::span<const uint8_t> bytes, std::size_t offset) {
  uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    bits |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
  }
  return static_cast<int32_t>(bits);
}

void PutInt32(std::vector<uint8_t>& out, std::size_t offset, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

}  // namespace

std::vector<TTrackRecord> DecodeTrackRecords(std::span<const uint8_t> bytes) {
  std::vector<TTrackRecord> records;
  records.reserve(bytes.size() / TrackRecordSize);
  for (std::size_t base = 0; base + TrackRecordSize <= bytes.size(); base += TrackRecordSize) {
    records.push_back({GetInt32(bytes, base), GetInt32(bytes, base + 4), GetInt32(bytes, base + 8),
                       GetInt32(bytes, base + 12), GetInt32(bytes, base + 16)});
  }
  return records;
}

std::vector<uint8_t> EncodeTrackRecords(const std::vector<TTrackRecord>& records) {
  std::vector<uint8_t> out(records.size() * TrackRecordSize, 0);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const TTrackRecord& r = records[i];
    const std::size_t base = i * TrackRecordSize;
    PutInt32(out, base, r.PosY);
    PutInt32(out, base + 4, r.PosX);
    PutInt32(out, base + 8, r.Kind);
    PutInt32(out, base + 12, r.ParamA);
    PutInt32(out, base + 16, r.ParamB);
  }
  return out;
}

}  // namespace game
