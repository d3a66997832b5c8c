#include "GhostRun.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <system_error>

#include "game/GameConstants.h"
#include "game/SafeFileWriter.h"
#include "game/race/ByteReader.h"
#include "game/race/ByteWriter.h"
#include "game/race/FileEnvelope.h"
#include "game/race/ReplayError.h"

namespace game {
namespace {

namespace fs = std::filesystem;

constexpr char kMagic[] = "CLDGHOST";
/// The ghost file's name in its messages.
constexpr char kFileName[] = "ghost file";
/// Bytes of one frame: X, Y and Angle as 32-bit floats.
constexpr size_t kFrameSize = 12;
/// Longest track file name a ghost file may carry.
constexpr uint64_t kMaxNameText = 1024;

[[noreturn]] void Damaged(const std::string& what) {
  throw TReplayError("the ghost file is damaged (" + what + ")");
}

/// The name of a profile slot's folder under "ghosts" (slots from 0).
std::string ProfileFolderName(int32_t profileSlot) {
  return "profile-" + std::to_string(profileSlot + 1);
}

}  // namespace

int32_t TGhostRun::Hundredths(int32_t frames) {
  const int64_t hundredths = static_cast<int64_t>(frames) * 100 / 90;
  return static_cast<int32_t>(std::clamp<int64_t>(hundredths, INT32_MIN, INT32_MAX));
}

void TGhostRun::Check() const {
  if (TrackSlot < 0 || TrackSlot >= TrackCount) {
    Damaged("track " + std::to_string(TrackSlot) + " does not exist");
  }
  if (Car < 0 || Car >= CarCount) Damaged("car " + std::to_string(Car) + " does not exist");
  if (TimeFrames < 0 || BestLapFrames < 0) Damaged("a negative time");
  if (TimeFrames > kMaxFrames) Damaged("a time longer than half an hour");
  if (BestLapFrames > TimeFrames) Damaged("its best lap is longer than its time");
  if (Frames.size() > static_cast<size_t>(kMaxFrames)) {
    Damaged(std::to_string(Frames.size()) + " frames, at most " + std::to_string(kMaxFrames));
  }
  for (const TGhostFrame& frame : Frames) {
    if (!std::isfinite(frame.X) || !std::isfinite(frame.Y) || !std::isfinite(frame.Angle)) {
      Damaged("a position that is not a number");
    }
  }
}

std::string TGhostRun::Serialize() const {
  TByteWriter body;
  body.Unsigned(static_cast<uint64_t>(TrackSlot), 1);
  body.Text(TrackFile, 2);
  body.Unsigned(TrackHash, 8);
  body.Unsigned(static_cast<uint64_t>(Car), 1);
  body.Unsigned(static_cast<uint32_t>(TimeFrames), 4);
  body.Unsigned(static_cast<uint32_t>(BestLapFrames), 4);
  body.Unsigned(static_cast<uint64_t>(static_cast<int64_t>(Date)), 8);
  body.Unsigned(Frames.size(), 4);
  for (const TGhostFrame& frame : Frames) {
    body.Float(frame.X);
    body.Float(frame.Y);
    body.Float(frame.Angle);
  }
  return TFileEnvelope::Wrap(kMagic, kFormatVersion, body.Bytes);
}

TGhostRun TGhostRun::Parse(const std::string& bytes) {
  const auto checkVersion = [](uint64_t version) {
    if (version != kFormatVersion) {
      throw TReplayError("the ghost file is of format version " + std::to_string(version) +
                         "; this game reads version " + std::to_string(kFormatVersion));
    }
  };
  return ParseBody(TFileEnvelope::Open(bytes, kMagic, kFileName, checkVersion).Body);
}

TGhostRun TGhostRun::ParseBody(const std::string& body) {
  TByteReader reader(body, kFileName);
  TGhostRun run;
  run.TrackSlot = static_cast<int32_t>(reader.Unsigned(1));
  run.TrackFile = reader.Text(2, kMaxNameText);
  run.TrackHash = reader.Unsigned(8);
  run.Car = static_cast<int32_t>(reader.Unsigned(1));
  run.TimeFrames = static_cast<int32_t>(reader.Signed(4));
  run.BestLapFrames = static_cast<int32_t>(reader.Signed(4));
  run.Date = static_cast<std::time_t>(reader.Signed(8));
  const uint64_t count = reader.Unsigned(4);
  if (count > static_cast<uint64_t>(kMaxFrames)) {
    Damaged(std::to_string(count) + " frames, at most " + std::to_string(kMaxFrames));
  }
  if (reader.Left() != count * kFrameSize) Damaged("its frames do not fill its body");
  run.Frames.resize(count);
  for (TGhostFrame& frame : run.Frames) {
    frame.X = reader.Float();
    frame.Y = reader.Float();
    frame.Angle = reader.Float();
  }
  run.Check();
  return run;
}

void TGhostRun::Save(const std::string& path) const {
  Check();
  const fs::path folder = fs::path(path).parent_path();
  std::error_code failure;
  if (!folder.empty()) fs::create_directories(folder, failure);
  if (failure) {
    throw TReplayError("cannot make the folder " + folder.string() + ": " + failure.message());
  }
  std::string error;
  if (!TSafeFileWriter::Replace(path, Serialize(), error)) {
    throw TReplayError("cannot write the ghost " + path + ": " + error);
  }
}

TGhostRun TGhostRun::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TReplayError(path + ": cannot open the ghost file");
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  try {
    return Parse(bytes);
  } catch (const TReplayError& error) {
    throw TReplayError(path + ": " + error.what());
  }
}

std::string TGhostRun::PathFor(const std::string& configDir, int32_t profileSlot, int32_t trackSlot,
                               int32_t car) {
  const fs::path file =
      fs::path(configDir) / "ghosts" / ProfileFolderName(profileSlot) /
      ("track-" + std::to_string(trackSlot + 1) + "-car-" + std::to_string(car + 1) + ".ghost");
  return file.string();
}

void TGhostRun::DeleteProfileGhosts(const std::string& configDir, int32_t profileSlot,
                                    int32_t profileCount) {
  const fs::path ghosts = fs::path(configDir) / "ghosts";
  std::error_code failure;
  const fs::path deleted = ghosts / ProfileFolderName(profileSlot);
  fs::remove_all(deleted, failure);
  if (failure) {
    std::cerr << "cannot remove the ghosts " << deleted.string() << ": " << failure.message()
              << "\n";
    return;
  }
  for (int32_t slot = profileSlot + 1; slot < profileCount; ++slot) {
    const fs::path from = ghosts / ProfileFolderName(slot);
    const fs::path to = ghosts / ProfileFolderName(slot - 1);
    if (!fs::exists(from, failure)) continue;
    fs::rename(from, to, failure);
    if (failure) {
      std::cerr << "cannot move the ghosts " << from.string() << " to " << to.string() << ": "
                << failure.message() << "\n";
      return;
    }
  }
}

}  // namespace game
