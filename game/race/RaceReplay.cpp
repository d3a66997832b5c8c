#include "RaceReplay.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "game/GameConstants.h"
#include "game/SafeFileWriter.h"
#include "game/race/ByteReader.h"
#include "game/race/ByteWriter.h"
#include "game/race/EnemyCar.h"
#include "game/race/FileEnvelope.h"
#include "platform/Shell.h"
#include "platform/VirtualKeys.h"

namespace game {
namespace {

constexpr char kMagic[] = "CLDRPLAY";
/// The replay file's name in its messages.
constexpr char kFileName[] = "replay file";
constexpr int kFlagBits = 14;
/// The keys the race reads from the player, in the order of their flag bits: throttle, brake,
/// steering, the two handbrake keys and R, which puts the car back on the track.
constexpr std::array<int32_t, 7> kControlKeys = {platform::VK_UP,
                                                 platform::VK_DOWN,
                                                 platform::VK_LEFT,
                                                 platform::VK_RIGHT,
                                                 platform::VK_SPACE,
                                                 platform::VK_CONTROL,
                                                 'R'};
/// Longest track file name a replay may carry.
constexpr uint32_t kMaxNameText = 1024;
constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;
/// The mode byte of version 2: a race, or a time trial.
constexpr int32_t kRaceMode = 0;
constexpr int32_t kTimeTrialMode = 1;

std::string HexText(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

/// Appends value as a varint: seven bits a byte, lowest first, the top bit set on all but the last.
void WriteVarint(TByteWriter& writer, uint64_t value) {
  while (value >= 0x80) {
    writer.Bytes.push_back(static_cast<char>((value & 0x7f) | 0x80));
    value >>= 7;
  }
  writer.Bytes.push_back(static_cast<char>(value));
}

/// Reads what WriteVarint wrote.
uint64_t ReadVarint(TByteReader& reader) {
  uint64_t value = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    const uint64_t byte = reader.Unsigned(1);
    value |= (byte & 0x7f) << shift;
    if ((byte & 0x80) == 0) return value;
  }
  throw TReplayError("the replay file is damaged (a run of frames is too long)");
}

/// The generator's state text ("N N N ...") as a count and 32-bit words: a third of its size.
void WriteRandomState(TByteWriter& writer, const std::string& text) {
  std::istringstream in(text);
  std::vector<uint32_t> words;
  for (uint32_t word = 0; in >> word;) words.push_back(word);
  writer.Unsigned(words.size(), 2);
  for (uint32_t word : words) writer.Unsigned(word, 4);
}

std::string ReadRandomState(TByteReader& reader) {
  const uint64_t count = reader.Unsigned(2);
  std::string text;
  for (uint64_t i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += std::to_string(reader.Unsigned(4));
  }
  return text;
}

int32_t SmallNumber(TByteReader& reader, int32_t high, const char* what) {
  const auto value = static_cast<int32_t>(reader.Unsigned(1));
  if (value > high) {
    throw TReplayError(std::string("the replay file is damaged (") + what + " " +
                       std::to_string(value) + " does not exist)");
  }
  return value;
}

}  // namespace

uint16_t TRaceReplay::CaptureFlags(const TKeyTable& keyDown, const TKeyTable& keyReleased) {
  uint16_t flags = 0;
  for (size_t i = 0; i < kControlKeys.size(); ++i) {
    const auto key = static_cast<size_t>(kControlKeys[i]);
    if (keyDown[key]) flags = static_cast<uint16_t>(flags | (1u << i));
    if (keyReleased[key]) flags = static_cast<uint16_t>(flags | (1u << (i + kControlKeys.size())));
  }
  return flags;
}

void TRaceReplay::ApplyFlags(uint16_t flags, TKeyTable& keyDown, TKeyTable& keyReleased) {
  for (size_t i = 0; i < kControlKeys.size(); ++i) {
    const auto key = static_cast<size_t>(kControlKeys[i]);
    keyDown[key] = (flags >> i) & 1u;
    keyReleased[key] = (flags >> (i + kControlKeys.size())) & 1u;
  }
}

void TRaceReplay::BeginRecording(const TRaceWorld& world, const std::mt19937& random) {
  const TGameCatalogue& catalogue = world.Catalogue;
  TrackSlot = catalogue.SelectedTrack;
  Car = catalogue.SelectedCar;
  TracksAvailable = catalogue.TracksAvailable;
  CarsAvailable = catalogue.CarsAvailable;
  TimeTrial = world.TimeTrial;
  TrackFile = catalogue.TrackInfo.at(static_cast<size_t>(TrackSlot)).DataFile;
  std::ostringstream state;
  state << random;
  RandomState = state.str();
  OpponentCars.clear();
  Runs_.clear();
  FrameCount_ = 0;
}

void TRaceReplay::RecordOpponents(const TRaceWorld& world) {
  // Hashed once the set-up has read the file, so that a missing or unreadable track file is
  // reported by the set-up in its own words.
  TrackHash = HashFile(world.DataFile(TrackFile));
  OpponentCars = OpponentsOf(world);
}

std::vector<int32_t> TRaceReplay::OpponentsOf(const TRaceWorld& world) {
  std::vector<int32_t> cars;
  for (int32_t i = 0; i < world.EnemyCount; ++i) cars.push_back(world.Enemy(i).CarType);
  return cars;
}

void TRaceReplay::RecordFrame(uint16_t flags) {
  flags &= kFlagsMask;
  if (Runs_.empty() || Runs_.back().Flags != flags) Runs_.push_back({flags, 0});
  ++Runs_.back().Frames;
  ++FrameCount_;
}

void TRaceReplay::CheckTrack(const TGameCatalogue& catalogue, const std::string& dataDir) const {
  const std::string nowFile = catalogue.TrackInfo.at(static_cast<size_t>(TrackSlot)).DataFile;
  if (nowFile != TrackFile) {
    throw TReplayError("the replay was recorded on " + TrackFile + ", but track " +
                       std::to_string(TrackSlot + 1) + " is now " + nowFile);
  }
  const uint64_t hash =
      HashFile((std::filesystem::path(dataDir) / platform::NativePath(TrackFile)).string());
  if (hash != TrackHash) {
    throw TReplayError("the track file " + TrackFile +
                       " is not the one the replay was recorded on (recorded hash " +
                       HexText(TrackHash) + ", now " + HexText(hash) + ")");
  }
}

void TRaceReplay::PrepareRace(TRaceWorld& world, std::mt19937& random) const {
  TGameCatalogue& catalogue = world.Catalogue;
  CheckTrack(catalogue, world.DataDir);
  std::istringstream state(RandomState);
  state >> random;
  if (!state) throw TReplayError("the replay file is damaged (its random state is unreadable)");
  catalogue.TracksAvailable = TracksAvailable;
  catalogue.CarsAvailable = CarsAvailable;
  catalogue.ApplyAvailability();
  catalogue.SelectedTrack = TrackSlot;
  catalogue.SelectedCar = Car;
  world.TimeTrial = TimeTrial;
  world.OpponentCarTypes.clear();
}

void TRaceReplay::CheckOpponents(const TRaceWorld& world) const {
  const std::vector<int32_t> now = OpponentsOf(world);
  if (now == OpponentCars) return;
  const auto list = [](const std::vector<int32_t>& cars) {
    std::string text;
    for (int32_t car : cars) text += (text.empty() ? "" : ",") + std::to_string(car);
    return text.empty() ? std::string("none") : text;
  };
  throw TReplayError("the race was set up with other opponents than recorded (recorded " +
                     list(OpponentCars) + ", now " + list(now) + ")");
}

std::string TRaceReplay::Serialize() const {
  TByteWriter body;
  body.Unsigned(static_cast<uint64_t>(TrackSlot), 1);
  body.Unsigned(static_cast<uint64_t>(Car), 1);
  body.Unsigned(static_cast<uint64_t>(TracksAvailable), 1);
  body.Unsigned(static_cast<uint64_t>(CarsAvailable), 1);
  body.Unsigned(static_cast<uint64_t>(TimeTrial ? kTimeTrialMode : kRaceMode), 1);
  body.Text(TrackFile, 2);
  body.Unsigned(TrackHash, 8);
  WriteRandomState(body, RandomState);
  body.Unsigned(OpponentCars.size(), 1);
  for (int32_t car : OpponentCars) body.Unsigned(static_cast<uint64_t>(car), 1);
  body.Unsigned(FrameCount_, 4);
  body.Unsigned(Runs_.size(), 4);
  for (const TReplayRun& run : Runs_) {
    WriteVarint(body, static_cast<uint64_t>(run.Frames) << kFlagBits | run.Flags);
  }
  return TFileEnvelope::Wrap(kMagic, kFormatVersion, body.Bytes);
}

TRaceReplay TRaceReplay::Parse(const std::string& bytes) {
  const auto checkVersion = [](uint64_t version) {
    if (version < kOldestVersion || version > kFormatVersion) {
      throw TReplayError("the replay is of format version " + std::to_string(version) +
                         "; this game plays versions " + std::to_string(kOldestVersion) + " to " +
                         std::to_string(kFormatVersion));
    }
  };
  const TFileEnvelope::TContent content =
      TFileEnvelope::Open(bytes, kMagic, kFileName, checkVersion);
  return ParseBody(content.Body, content.Version);
}

TRaceReplay TRaceReplay::ParseBody(const std::string& body, uint64_t version) {
  TByteReader reader(body, kFileName);
  TRaceReplay replay;
  replay.TrackSlot = SmallNumber(reader, TrackCount - 1, "track");
  replay.Car = SmallNumber(reader, CarCount - 1, "car");
  replay.TracksAvailable = SmallNumber(reader, TrackCount, "open track count");
  replay.CarsAvailable = SmallNumber(reader, CarCount, "open car count");
  // Version 1 knew races only.
  if (version >= 2)
    replay.TimeTrial = SmallNumber(reader, kTimeTrialMode, "mode") == kTimeTrialMode;
  replay.TrackFile = reader.Text(2, kMaxNameText);
  replay.TrackHash = reader.Unsigned(8);
  replay.RandomState = ReadRandomState(reader);
  const int32_t opponents = SmallNumber(reader, MaxOpponents, "opponent count");
  if (replay.TimeTrial && opponents > 0) {
    throw TReplayError("the replay file is damaged (a time trial with opponents)");
  }
  for (int32_t i = 0; i < opponents; ++i) {
    replay.OpponentCars.push_back(SmallNumber(reader, CarCount - 1, "car"));
  }
  const uint64_t frames = reader.Unsigned(4);
  const uint64_t runs = reader.Unsigned(4);
  uint64_t counted = 0;
  for (uint64_t i = 0; i < runs; ++i) {
    const uint64_t packed = ReadVarint(reader);
    const uint64_t runFrames = packed >> kFlagBits;
    if (runFrames == 0 || runFrames > UINT32_MAX) {
      throw TReplayError("the replay file is damaged (a run of frames is empty or too long)");
    }
    replay.Runs_.push_back(
        {static_cast<uint16_t>(packed & kFlagsMask), static_cast<uint32_t>(runFrames)});
    counted += runFrames;
  }
  if (counted != frames || !reader.AtEnd()) {
    throw TReplayError("the replay file is damaged (its frames do not add up)");
  }
  replay.FrameCount_ = static_cast<uint32_t>(frames);
  return replay;
}

void TRaceReplay::Save(const std::string& path) const {
  std::string error;
  if (!TSafeFileWriter::Replace(path, Serialize(), error)) {
    throw TReplayError("cannot write the replay " + path + ": " + error);
  }
}

TRaceReplay TRaceReplay::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TReplayError(path + ": cannot open the replay file");
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  try {
    return Parse(bytes);
  } catch (const TReplayError& error) {
    throw TReplayError(path + ": " + error.what());
  }
}

std::string TRaceReplay::ReadableName(const std::string& trackTitle, const TRaceTime& time,
                                      std::time_t when) {
  std::string name;
  for (const char c : trackTitle) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte)) name += static_cast<char>(std::tolower(byte));
    if (c == ' ' && !name.empty() && name.back() != '-') name += '-';
  }
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "_%d-%02d-%02d_%04d-%02d-%02d_%02d-%02d-%02d.rpl",
                time.Minutes, time.Seconds, time.Hundredths, local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return (name.empty() ? std::string("race") : name) + stamp;
}

uint64_t TRaceReplay::Hash(const std::string& bytes) {
  uint64_t hash = kFnvOffset;
  for (const char byte : bytes) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= kFnvPrime;
  }
  return hash;
}

uint64_t TRaceReplay::HashFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TReplayError("cannot read the track file " + path);
  return Hash({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
}

}  // namespace game
