// fuzz_ghost_run: the ghost file reader on any bytes, both as a whole file and as the body of a
// file whose header and check sum are right (so the fuzzer reaches the body's fields), and the
// promise that a run it accepts is written back to the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/race/FileEnvelope.h"
#include "game/race/GhostRun.h"
#include "game/race/ReplayError.h"

namespace {

void ReadAndRewrite(const std::string& bytes) {
  try {
    const game::TGhostRun run = game::TGhostRun::Parse(bytes);
    if (run.Serialize() != bytes) std::abort();
  } catch (const game::TReplayError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ReadAndRewrite(bytes);
  // The bytes as the body of a whole file: magic, this version, length, body and its hash.
  ReadAndRewrite(game::TFileEnvelope::Wrap("CLDGHOST", game::TGhostRun::kFormatVersion, bytes));
  return 0;
}
