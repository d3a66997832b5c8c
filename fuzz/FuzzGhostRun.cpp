// fuzz_ghost_run: the ghost file reader on any bytes, both as a whole file and as the body of a
// file whose header and check sum are right (so the fuzzer reaches the body's fields), and the
// promise that a run it accepts is written back to the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/race/GhostRun.h"
#include "game/race/RaceReplay.h"

namespace {

/// A whole ghost file around a body: magic, this version, length, body and its hash.
std::string FileAround(const std::string& body) {
  std::string file = "CLDGHOST";
  const auto put = [&file](uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
  };
  put(game::TGhostRun::kFormatVersion, 4);
  put(body.size(), 4);
  file += body;
  put(game::TRaceReplay::Hash(body), 8);
  return file;
}

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
  ReadAndRewrite(FileAround(bytes));
  return 0;
}
