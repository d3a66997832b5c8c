// fuzz_race_replay: the race replay reader on any bytes, both as a whole file and as the body of
// a file whose header and check sum are right (so the fuzzer reaches the body's fields), and the
// promise that a replay it accepts is written back to bytes that read the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/race/FileEnvelope.h"
#include "game/race/RaceReplay.h"
#include "game/race/ReplayError.h"

namespace {

void ReadAndRewrite(const std::string& bytes) {
  try {
    const game::TRaceReplay replay = game::TRaceReplay::Parse(bytes);
    const std::string again = replay.Serialize();
    if (game::TRaceReplay::Parse(again).Serialize() != again) std::abort();
  } catch (const game::TReplayError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ReadAndRewrite(bytes);
  // The bytes as the body of a whole file: magic, this version, length, body and its hash.
  ReadAndRewrite(game::TFileEnvelope::Wrap("CLDRPLAY", game::TRaceReplay::kFormatVersion, bytes));
  return 0;
}
