#include "FileEnvelope.h"

#include "game/race/ByteReader.h"
#include "game/race/ByteWriter.h"
#include "game/race/RaceReplay.h"
#include "game/race/ReplayError.h"

namespace game {
namespace {

/// Bytes of the version and of the body length.
constexpr size_t kVersionSize = 4;
constexpr size_t kLengthSize = 4;
constexpr size_t kHashSize = 8;

}  // namespace

std::string TFileEnvelope::Wrap(const std::string& magic, uint32_t version,
                                const std::string& body) {
  TByteWriter file;
  file.Bytes = magic;
  file.Unsigned(version, kVersionSize);
  file.Unsigned(body.size(), kLengthSize);
  file.Bytes += body;
  file.Unsigned(TRaceReplay::Hash(body), kHashSize);
  return file.Bytes;
}

TFileEnvelope::TContent TFileEnvelope::Open(
    const std::string& bytes, const std::string& magic, const std::string& fileName,
    const std::function<void(uint64_t version)>& checkVersion) {
  if (bytes.size() < magic.size() || bytes.compare(0, magic.size(), magic) != 0) {
    throw TReplayError("not a " + fileName);
  }
  TByteReader header(bytes, fileName);
  header.Unsigned(magic.size());
  TContent content;
  content.Version = header.Unsigned(kVersionSize);
  checkVersion(content.Version);
  const uint64_t length = header.Unsigned(kLengthSize);
  const size_t headerSize = magic.size() + kVersionSize + kLengthSize;
  if (bytes.size() < headerSize + length + kHashSize) {
    throw TReplayError("the " + fileName + " is cut short (" + std::to_string(bytes.size()) +
                       " of " + std::to_string(headerSize + length + kHashSize) + " bytes)");
  }
  if (bytes.size() > headerSize + length + kHashSize) {
    throw TReplayError("the " + fileName + " is damaged (it has bytes after its end)");
  }
  content.Body = bytes.substr(headerSize, length);
  const std::string hash = bytes.substr(headerSize + length);
  if (TByteReader(hash, fileName).Unsigned(kHashSize) != TRaceReplay::Hash(content.Body)) {
    throw TReplayError("the " + fileName + " is damaged (its check sum does not match)");
  }
  return content;
}

}  // namespace game
