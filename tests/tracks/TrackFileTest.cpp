// Track file records: byte layout, reading, writing and damaged files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "TrackFile.h"
#include "TrackTestSupport.h"

namespace {

using tracktool::DecodeRecords;
using tracktool::EncodeRecords;
using tracktool::TrackRecord;

TEST(TrackFile, RecordLayoutIsYThenXKindAndParametersLittleEndian) {
  const std::vector<uint8_t> bytes = EncodeRecords({{-400, 1200, 0, 2, 15}});
  ASSERT_EQ(bytes.size(), 128u);
  const std::vector<uint8_t> head{0x70, 0xFE, 0xFF, 0xFF, 0xB0, 0x04, 0x00, 0x00, 0x00, 0x00,
                                  0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 20), head);
  for (std::size_t i = 20; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0) << "reserved byte " << i;
}

TEST(TrackFile, DecodeReadsWholeRecordsAndIgnoresATrailingPiece) {
  const std::vector<TrackRecord> records{{1, 2, 3, 4, 5}, {-6, -7, 101, 0, 2}};
  std::vector<uint8_t> bytes = EncodeRecords(records);
  bytes.resize(300, 0xAB);
  const tracktool::TTrackFileData data = DecodeRecords(bytes);
  EXPECT_EQ(data.Records, records);
  EXPECT_EQ(data.ByteSize, 300u);
}

TEST(TrackFile, EmptyBytesGiveNoRecords) {
  const tracktool::TTrackFileData data = DecodeRecords({});
  EXPECT_TRUE(data.Records.empty());
  EXPECT_EQ(data.ByteSize, 0u);
}

TEST(TrackFile, WriteThenReadGivesTheSameRecords) {
  const std::string file = tracktest::TempFolder("roundtrip") + "/track.prd";
  const std::vector<TrackRecord> records = tracktest::SmallTrack();
  tracktool::WriteTrackFile(file, records);
  EXPECT_EQ(std::filesystem::file_size(file), records.size() * tracktool::RecordSize);
  const tracktool::TTrackFileData data = tracktool::ReadTrackFile(file);
  EXPECT_EQ(data.Records, records);
  EXPECT_EQ(data.ByteSize, records.size() * tracktool::RecordSize);
}

TEST(TrackFile, MissingFileRaisesAnErrorNamingIt) {
  try {
    tracktool::ReadTrackFile("/nonexistent/folder/data1.prd");
    FAIL() << "no error";
  } catch (const tracktool::TTrackFileError& e) {
    EXPECT_NE(std::string(e.what()).find("data1.prd"), std::string::npos);
  }
}

TEST(TrackFile, AbsurdlyLargeFileIsRefusedBeforeReading) {
  const std::string file = tracktest::TempFolder("large") + "/huge.prd";
  { std::ofstream create(file); }
  std::filesystem::resize_file(file, tracktool::MaxTrackFileBytes + 1);
  EXPECT_THROW(tracktool::ReadTrackFile(file), tracktool::TTrackFileError);
}

TEST(TrackFile, KindNames) {
  const std::vector<std::pair<int32_t, std::string>> cases{
      {0, "path"},         {1, "road-h"},     {2, "road-v"},     {3, "patch"},
      {10, "patch"},       {11, "corner-11"}, {14, "corner-14"}, {20, "obstacle"},
      {53, "flowers-h"},   {54, "flowers-v"}, {88, "grid"},      {99, "startline"},
      {101, "checkpoint"}, {105, "finish"},   {160, "decal"},    {77, "unknown-77"}};
  for (const auto& [kind, name] : cases) EXPECT_EQ(tracktool::KindName(kind), name) << kind;
}

}  // namespace
