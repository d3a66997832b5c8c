// fuzz_module: tracker modules as the music player takes them: the file's bytes handed to the
// module decoder and the first seconds rendered as the streaming buffer asks for them. Data the
// decoder refuses gives a reason; a module that loads renders at most what was asked.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "platform/ModuleDecoder.h"

namespace {

// Frames asked for at a time, and how many are rendered at most (two seconds).
constexpr std::size_t kChunkFrames = 1024;
constexpr std::size_t kMostFrames = 2 * platform::TModuleDecoder::kRate;

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::TModuleDecoder decoder;
  std::string error;
  if (!decoder.Load(std::span<const std::uint8_t>(data, size), error)) {
    Require(!decoder.Loaded() && !error.empty());
    return 0;
  }
  decoder.SetLoop(false);
  std::array<std::int16_t, 2 * kChunkFrames> samples{};
  for (std::size_t done = 0; done < kMostFrames;) {
    const std::size_t rendered = decoder.Render(samples.data(), kChunkFrames);
    Require(rendered <= kChunkFrames);
    if (rendered == 0) break;
    done += rendered;
  }
  Require(std::isfinite(decoder.PositionSeconds()));
  return 0;
}
